#pragma once
// What `vigil` keeps in the records: every read, write, restore and upload, with the snapshot a
// write is preceded by. Records never change an exit code or stop a command: when they cannot be
// kept the operator is told once, on standard error, and the work goes on.
#include <span>
#include <string>
#include <vector>

#include "cli/Link.h"
#include "cli/Terminal.h"
#include "cli/WriteVerify.h"
#include "protocol/ValueStore.h"
#include "records/Recorder.h"

namespace cli::recording {

// The command line as typed, for the events' "command" field (main sets it once).
void setCommandText(std::span<const std::string> args);

// The records of this run, opened at first use; tells once when they are not being kept.
records::Recorder& recorder();

// The unit's events (every unit's when `unitId` is empty) as the team knows them: the team
// server's united with this PC's. When the server cannot be read, this PC's alone and one line
// on standard error saying so. Throws records::StoreError when this PC's cannot be read.
std::vector<records::Event> teamEvents(const std::string& unitId);

// A read's answer (or its silence) as an event of `kind` (a read, or the snapshot before a write).
// Returns the event's unit (empty when the terminal did not say).
std::string recordReading(records::Kind kind, const Link& link,
                          const protocol::ControlAccess& values, const Terminal::Reading& reading);

// Reads the terminal through `terminal` into `values` and keeps that read as the snapshot of what
// it held; `idCod` is the answer's IDCOD= text (empty when it did not say).
struct RecordedReading {
    Terminal::Reading reading;
    std::string idCod;
};
RecordedReading readAndRecord(Terminal& terminal, protocol::ControlAccess& values);

// A write (or a restore) after its snapshot: `sent` the values before the write, `answered` after.
void recordWrite(records::Kind kind, const Link& link, const std::string& idCodText,
                 const protocol::ControlAccess& sent, const protocol::ControlAccess& answered,
                 const WriteOutcome& outcome);

// A firmware upload of the unit `idCodText` named (empty: not known): the file, its digest and
// size, the records sent, and the text it ended with.
void recordUpload(const Link& link, const std::string& idCodText, const std::string& path,
                  std::span<const std::uint8_t> image, const std::string& outcome, bool succeeded);

}  // namespace cli::recording
