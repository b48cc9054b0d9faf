#include "cli/WriteReport.h"

#include <cstdio>
#include <optional>

#include "cli/ExitCodes.h"
#include "cli/Recording.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"
#include "session/BatchPlan.h"

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
    // The write's answer names no terminal, and the read before it may have been another's (or
    // have gone unanswered): the terminal that answers after an answered write.
    const bool answered = outcome.status == WriteOutcome::Status::Agreed ||
                          outcome.status == WriteOutcome::Status::Differs;
    const std::optional<std::string> now =
        answered ? answeringAfter(session.terminal, outcome).idCod : std::nullopt;
    session.link.close();
    const bool swapped = now && !idCodText.empty() && !session::stillConnected(idCodText, *now);
    // Filed under the terminal that answers now when it is another (as the batch files a write
    // swapped in), or when the read before the write named none.
    const std::string& unit = now && (swapped || idCodText.empty()) ? *now : idCodText;
    recording::recordWrite(kind, session.link, unit, sent, values, outcome);
    if (swapped) {
        printError(
            withArgs(platform::translated("vigil",
                                          "%1: another terminal answers since the write (IDCOD=%2, "
                                          "before it IDCOD=%3): which one took the values is not "
                                          "confirmed"),
                     {session.link.describe(), *now, idCodText}));
        return kExitFailure;
    }
    return reportWriteOutcome(session, outcome);
}

}  // namespace cli
