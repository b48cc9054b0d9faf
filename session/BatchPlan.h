#pragma once
// Which unit of a batch comes next and which unit a connected terminal is, by the batch log's
// binding (session/BatchLog.h). A terminal the log has a row of is that row's unit: tried again if
// it failed, left alone if it is done. Only a terminal the log has never seen takes a new unit,
// and one that does not say who it is takes none, since it could not be told from another later.
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

// Whether a terminal answering `nowIdCodText` is still the one of `idCodText`: the same unit, or
// for one that gave no code, the same text.
bool stillConnected(std::string_view idCodText, std::string_view nowIdCodText);

}  // namespace session
