// vigil upload: an update file checked and sent to the terminal's bootloader.
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "cli/Command.h"
#include "cli/ExitCodes.h"
#include "cli/PortUpload.h"
#include "cli/Recording.h"
#include "cli/Session.h"
#include "cli/Texts.h"
#include "platform/Catalogue.h"
#include "protocol/ValueStore.h"
#include "session/UnitIdentity.h"
#include "update/UpdateFile.h"
#include "update/UpdateFileRead.h"

namespace cli {
namespace {

constexpr std::string_view kHelp = VIGIL_TRANSLATABLE(
    "vigil",
    "usage: vigil upload --port COM<n> FILE.enc [--no-wait] [--baud N]\n\n"
    "Loads and checks the update file, reads the terminal's settings into the records, closes\n"
    "the link, waits 5000 ms for the terminal's bootloader (reset the terminal now), opens the\n"
    "link and sends the image record by record, repeating rejected or unanswered records up to\n"
    "the tenth failed answer. Shows a progress bar on a terminal, progress lines otherwise.\n"
    "A terminal that does not answer the read is updated all the same; its settings are not\n"
    "in the records then.\n\n"
    "options:\n"
    "  --no-wait      the terminal already waits in its bootloader: send at once, and send\n"
    "                 it nothing but the records (no read for the records)\n"
    "  --port COM<n>  the port, as 'vigil ports' lists it\n"
    "  --baud N       line rate instead of the one the windows keep\n\n"
    "exit codes: 0 the bootloader took the image; 1 port cannot be opened, or lost during the\n"
    "            read; 2 bad command line, or the update file is missing or fails its check;\n"
    "            5 the upload failed\n");

constexpr OptionSpec kOptions[] = {kPortOption, kBaudOption, {"no-wait", false}};

// kExitOk with the image loaded and checked, or the reason shown and kExitBadInput.
int loadUpdateFile(const std::string& path, update::FirmwareImage& image) {
    const update::UpdateFileRead read = update::readUpdateFile(path, image);
    if (read.status == update::UpdateFileStatus::CannotOpen ||
        read.status == update::UpdateFileStatus::ReadFailed) {
        printError(withArgs(platform::translated("vigil", "%1: cannot be read: %2"),
                            {path, read.message}));
        return kExitBadInput;
    }
    if (read.status != update::UpdateFileStatus::Loaded) {
        printError(read.message);
        return kExitBadInput;
    }
    if (read.cutAt) {
        printError(
            withArgs(platform::translated("vigil",
                                          "%1: byte %2 is not a hexadecimal digit and hexadecimal "
                                          "text follows it: the image would end there and "
                                          "lose the rest; nothing was sent"),
                     {path, std::to_string(*read.cutAt)}));
        return kExitBadInput;
    }
    if (const auto check = update::checkRecords(image); !check.ok()) {
        printError(update::recordErrorText(check));
        return kExitBadInput;
    }
    if (image.ImageLength == 0) {
        printError(withArgs(platform::translated("vigil", "%1: the update file holds no records"),
                            {path}));
        return kExitBadInput;
    }
    return kExitOk;
}

// The terminal's settings read into the records before the link is closed for the bootloader.
// A silent terminal is updated all the same (the records never stop an update); a link lost or
// Ctrl+C during the read stops the command before anything is sent. kExitOk to go on, with
// `idCod` the unit's IDCOD= text when it answered.
int readForRecords(Session& session, std::string& idCod) {
    if (!recording::recorder().keeping()) return kExitOk;  // already told why
    protocol::ValueStore held;
    const auto [reading, answeredIdCod] = recording::readAndRecord(session.terminal, held);
    idCod = answeredIdCod;
    if (reading.end == Answer::End::LinkLost || reading.end == Answer::End::Interrupted)
        return session.reportEnd(reading.end);
    // Silence, or bytes that hold no setting (a bootloader's refusal of the request).
    if (reading.end == Answer::End::Silent || reading.answered.empty())
        printError(withArgs(platform::translated(
                                "vigil",
                                "%1: the terminal gave no settings to the read, so they are not in "
                                "the records before this update (one already in its bootloader "
                                "wants --no-wait)"),
                            {session.link.describe()}));
    else if (!reading.missing.empty())
        printError(withArgs(platform::translated("vigil",
                                                 "%1: the terminal's answer lacks %2; its "
                                                 "settings are in the records without them"),
                            {session.link.describe(), keyList(reading.missing)}));
    return kExitOk;
}

int runUpload(const CommandLine& line) {
    if (line.positional.size() != 1)
        return usageError("upload", platform::translated("vigil", "needs exactly one FILE.enc"));
    std::string error;
    const auto options = linkOptions(line, error);
    if (!options) return usageError("upload", error);
    auto image = std::make_unique<update::FirmwareImage>();
    if (int code = loadUpdateFile(line.positional[0], *image); code != kExitOk) return code;

    Session session(*options);
    // The link is opened first, as the windows' upload starts from a connected port: a port
    // that cannot be opened is reported before the wait.
    if (int code = session.open(); code != kExitOk) return code;
    const bool wait = !line.has("no-wait");
    std::string idCod;
    if (!wait) {
        printError(
            platform::translated("vigil",
                                 "--no-wait: the bootloader listens, so the terminal's "
                                 "settings are not read into the records before this update"));
    } else if (int code = readForRecords(session, idCod); code != kExitOk) {
        return code;
    }
    if (wait) {
        // The unit named, so that the one reset is the one just read.
        std::string whose = session.link.describe();
        if (const std::string unit = session::unitIdentity(idCod); !unit.empty())
            whose += withArgs(platform::translated("vigil", ", unit %1"), {unit});
        printText(platform::translated("vigil", "Waiting 5 s for the bootloader of %1...\n"),
                  {whose});
    }
    UploadProgress progress(stdout, ::isatty(STDOUT_FILENO) == 1,
                            std::span(image->ImageBuffer.data(), image->ImageLength));
    PortUpload upload(session.link, session.loop, *image, progress);
    const auto result = upload.run(wait);
    progress.finish();
    session.link.close();
    const bool succeeded = result && result->succeeded();
    recording::recordUpload(session.link, idCod, line.positional[0],
                            std::span(image->ImageBuffer.data(), image->ImageLength),
                            result ? update::statusSource(*result) : "", succeeded);
    if (succeeded) {
        std::printf("%s\n", update::statusText(*result).c_str());
        return kExitOk;
    }
    if (result && result->outcome != update::UploadOutcome::NothingSent)
        printError(update::statusText(*result));
    // Stopped with records still to send: the terminal waits in its bootloader for them.
    if (const std::string unfinished = upload.unfinishedLine(); !unfinished.empty())
        printError(unfinished);
    return result ? kExitUploadFailed : session.reportEnd(Answer::End::Interrupted);
}

}  // namespace

const Command kUploadCommand{
    "upload", VIGIL_TRANSLATABLE("vigil", "upload an .enc firmware file to the bootloader"), kHelp,
    kOptions, runUpload};

}  // namespace cli
