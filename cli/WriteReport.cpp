#include "cli/WriteReport.h"

#include <cstdio>

#include "cli/ExitCodes.h"
#include "cli/Recording.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"

namespace cli {

int reportWriteOutcome(Session& session, const WriteOutcome& outcome) {
    switch (outcome.status) {
        case WriteOutcome::Status::Agreed:
            printText(platform::translated("vigil", "%1: written and verified\n"),
                      {session.link.describe()});
            return kExitOk;
        case WriteOutcome::Status::Refused:
            printError(outcome.refusal);
            return kExitBadInput;
        case WriteOutcome::Status::Differs:
            printText(platform::translated("vigil", "%1: values differ:\n"),
                      {session.link.describe()});
            for (const std::string& difference : mismatchLines(outcome.mismatches))
                std::printf("  %s\n", difference.c_str());
            return kExitDiffers;
        case WriteOutcome::Status::Unanswered:
            return session.reportEnd(outcome.end);
    }
    return kExitFailure;
}

int writeRecordAndReport(Session& session, records::Kind kind, const std::string& idCodText,
                         protocol::ValueStore& values) {
    const protocol::ValueStore sent = values;
    const WriteOutcome outcome = writeAndVerify(session.terminal, values);
    session.link.close();
    recording::recordWrite(kind, session.link, idCodText, sent, values, outcome);
    return reportWriteOutcome(session, outcome);
}

}  // namespace cli
