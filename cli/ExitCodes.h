#pragma once
// The command-line program's exit codes; the README lists them for scripts.

namespace cli {

enum ExitCode : int {
    kExitOk = 0,
    kExitFailure = 1,   // the port cannot be opened or is lost, an output file cannot be written
    kExitBadInput = 2,  // a bad command line, or an input file that is missing or not valid
    kExitSilent = 3,    // the terminal does not answer, or its answer lacks a key
    kExitDiffers = 4,   // values written did not come back equal
    kExitUploadFailed = 5,   // the bootloader upload ended with a failure text
    kExitInterrupted = 130,  // Ctrl+C before the work was done (128 + SIGINT)
};

}  // namespace cli
