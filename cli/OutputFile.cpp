#include "cli/OutputFile.h"

#include <cstdio>

#include "cli/ConsoleMessages.h"
#include "cli/ExitCodes.h"
#include "cli/Texts.h"
#include "platform/AtomicFile.h"
#include "platform/Catalogue.h"
#include "platform/FileTarget.h"

namespace cli {

int writeOutput(const std::optional<std::string>& path, std::string_view bytes) {
    if (!path) {
        std::fwrite(bytes.data(), 1, bytes.size(), stdout);
        if (std::fflush(stdout) != 0) {
            printError(platform::translated("vigil", "cannot write to standard output"));
            return kExitFailure;
        }
        return kExitOk;
    }
    const std::string error = platform::writeFileAtomically(*path, bytes);
    if (error.empty()) return kExitOk;
    printError(error);
    return kExitFailure;
}

std::string outputFileProblem(const std::string& path) {
    return platform::writableTarget(path).error;
}

}  // namespace cli
