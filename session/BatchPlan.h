#pragma once
// Which unit of a batch comes next and which unit a connected terminal is, by the batch log's
// binding (session/BatchLog.h). A terminal the log has a row of is that row's unit: tried again if
// it failed, left alone if it is done. Only a terminal the log has never seen takes a new unit,
// and one that does not say who it is takes none, since it could not be told from another later.
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "session/BatchLog.h"
#include "session/UnitsFile.h"

namespace session {

// What a connected terminal is to the batch.
struct TerminalVerdict {
    enum class Kind {
        Unidentified,  // it gives no identification code
        Fresh,         // unseen: it takes `unit`, the next new one
        Retry,         // the log's unit `known`, which failed before: `unit` again
        Done,          // the log's unit `known`, done
        StrayAttempt,  // took part of `known`'s values in a failed attempt; `known` is done since
                       // on another terminal, so this one may hold its values
        NotListed,     // the log's unit `known`, which the units file does not list
        NoUnitLeft,    // unseen, and every unit not done has a terminal of its own
    };
    Kind kind = Kind::Unidentified;
    const Unit* unit = nullptr;  // the unit to write (Fresh, Retry)
    std::string known;           // the log's unit of the terminal
};

class BatchPlan {
  public:
    BatchPlan(const BatchLog& log, const std::vector<Unit>& units) : log_(log), units_(units) {}

    // The unit to ask for: a new one, else a failed one not yet tried again in this run; nullptr
    // when none is left.
    const Unit* asked() const;
    TerminalVerdict judge(const std::string& idCodText) const;
    // An attempt at the unit was made in this run: it is not asked for again.
    void tried(const std::string& label) { tried_.insert(label); }
    // Units of the file the log counts as done.
    int doneCount() const;

  private:
    // The unit a new terminal takes: the first not done that no terminal is bound to.
    const Unit* nextFresh() const;
    const Unit* byLabel(const std::string& label) const;

    const BatchLog& log_;
    const std::vector<Unit>& units_;
    std::set<std::string> tried_;
};

// Which terminal a unit's write went to, by the read that identifies the terminal again after
// the write. One swapped in meanwhile may have taken the unit's values (or the first one did):
// the row names the new one, which counts as the unit from now on, unless the log binds it to
// another unit; that one then stays its unit, no longer done (`displaced`, with a row of its
// own), and the unit's row names the first terminal.
struct WrittenTerminal {
    std::string idCodText;           // the terminal the unit's row names
    std::string connected;           // the terminal now on the line
    std::string displaced;           // the log's other unit of a terminal swapped in, if any
    std::vector<std::string> notes;  // for the row's differences, in the log's language
    // The displaced unit's row, its differences.
    std::string displacedNote(const std::string& unit) const;
};
// `idCodText`: the terminal identified before the write; `nowIdCodText`: what the read after it
// gave (nullopt: it named no terminal); `writeAnswered`: the write itself had an answer (a silent
// one is reported as such, so the unconfirmed terminal needs no note); `keptTerminalValues`: the
// values the template lacks were read from the first terminal.
WrittenTerminal writtenTerminal(const BatchLog& log, const std::string& unit,
                                const std::string& idCodText,
                                const std::optional<std::string>& nowIdCodText, bool writeAnswered,
                                bool keptTerminalValues);

// Whether a terminal answering `nowIdCodText` is still the one of `idCodText`: the same unit, or
// for one that gave no code, the same text.
bool stillConnected(std::string_view idCodText, std::string_view nowIdCodText);

}  // namespace session
