#pragma once
// One connection's records, filed the same way by the windows and by vigil: which event an answer,
// a comparison, a snapshot, a destructive step or an upload makes, which unit it names, and the
// port and adapter it went through. The front ends word what it reports; this decides what is kept.
#include <optional>
#include <string>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/WriteCheck.h"
#include "records/Recorder.h"
#include "session/AnswerWatch.h"

namespace records {

// What a front end does after each event: offer the outbox to the team's server when it was
// committed, tell the operator when it could not be.
class Filing {
  public:
    virtual ~Filing() = default;
    virtual void kept(Recorder& recorder) = 0;
    virtual void notKept(const std::string& problem) = 0;
};

// What an answer the screen took made of the records.
struct AnswerFiled {
    bool read = false;     // a whole read's answer (else a write's verification, or nothing)
    bool filed = false;    // an event was made of it
    bool kept = false;     // and committed
    std::string newUnit;   // the unit a read named, when not the one the previous read named
    std::string lastSeen;  // that unit's latest event before this one; empty when none
};

class LinkRecords {
  public:
    LinkRecords(Recorder recorder, std::string program);

    Recorder& recorder() { return recorder_; }
    const Recorder& recorder() const { return recorder_; }
    void setFiling(Filing* filing) { filing_ = filing; }

    // The link opened on COM<comNumber>: the port and its adapter go with every event from here,
    // and nothing this connection heard is known yet.
    void linkOpened(int comNumber);

    // An answer the screen took. A read's answer (the requests emptied IDCOD=) is kept with every
    // value on the screen once it has come whole (`settled`: an answer arrives in several
    // receptions); a write's verification with what was sent and its differences.
    AnswerFiled answered(const protocol::ControlAccess& screen,
                         const session::ParameterSet& assigned, const session::WatchReport& report,
                         bool settled);

    // The answer awaited is overdue (`report` as the watch gave it on expiry): a write answered
    // in part is filed with what did not come back.
    void expired(const protocol::ControlAccess& screen, const session::WatchReport& report);

    // A comparison of the screen with the terminal: the terminal's values (when it answered) and
    // each difference, the screen's value before the terminal's.
    void compared(const protocol::ControlAccess& terminal, bool answered,
                  const std::vector<protocol::ValueMismatch>& differences);

    // A read of `kind` (a read, or the snapshot before a destructive step) that ended with
    // `ended`; `terminal` holds its values when it answered (nullptr: none came), `whole` says
    // whether every answer key came. Returns the unit's IDCOD= text (empty: it did not say).
    std::string read(Kind kind, const std::string& command, const protocol::ControlAccess* terminal,
                     Result ended = Result::Ok, bool whole = true);
    // The terminal's values read before a destructive step, kept as a read.
    void snapshot(const protocol::ControlAccess& terminal, const std::string& command) {
        read(Kind::Read, command, &terminal);
    }

    // A write (or a restore) of `sent` to the unit `idCodText` named, and the values it
    // `answered` (nullptr: the terminal did not answer).
    void written(Kind kind, const std::string& command, const std::string& idCodText,
                 const protocol::ControlAccess& sent, const protocol::ControlAccess* answered,
                 Result result, const std::vector<protocol::ValueMismatch>& mismatches);

    // An erase, or an upload with its file's facts, of the unit `idCodText` names.
    void destructive(Kind kind, const std::string& idCodText, const std::string& command,
                     Result result, std::optional<UploadFacts> upload = std::nullopt);
    // An upload that ended with `facts.outcome` (empty: nothing was sent, so nothing changed).
    void uploaded(const std::string& idCodText, const std::string& command, UploadFacts facts,
                  bool succeeded);

    // True once the terminal's values are in the records for this connection (a read, a write's
    // answer, a comparison or a snapshot since linkOpened), so a write needs no read of its own.
    bool heardSinceLinkOpened() const { return heard_ || !recorder_.keeping(); }

    // The IDCOD= text this connection's terminal last gave (empty: none yet).
    const std::string& heardIdCod() const { return linkIdCod_; }

  private:
    void nameHeardUnit(Event& event) const;
    static bool isWrite(const session::WatchReport& report);
    bool fileWrite(const protocol::ControlAccess& screen, const session::WatchReport& report);
    Event newEvent(Kind kind, const std::string& command) const;
    bool keep(const Event& event);
    std::string lastSeenOf(const std::string& unitId);

    Recorder recorder_;
    std::string program_;
    Filing* filing_ = nullptr;
    std::string port_, adapter_;
    std::string lastUnit_;       // the unit the previous read named
    bool readUnderWay_ = false;  // IDCOD= came, the rest of the answer may still be coming
    bool heard_ = false;         // see heardSinceLinkOpened
    // IDCOD= of this connection's terminal, for a write's answer when the screen holds none.
    std::string linkIdCod_;
};

}  // namespace records
