#pragma once
// When the terminal of a unit just commissioned counts as disconnected, judged by the reads that
// poll it. One missed answer is not an unplugged unit: writing the next unit's values into this
// one would lose both. Two silent reads in a row are, and so is an answer of another terminal
// (swapped in without a pause long enough to notice). One that gave no code (and was not
// written) is still there while it answers the same.
#include <optional>
#include <string>

namespace session {

class DisconnectWatch {
  public:
    static constexpr int kSilentReadsForDisconnect = 2;

    explicit DisconnectWatch(std::string idCodText) : idCodText_(std::move(idCodText)) {}

    // A read went unanswered; true once the terminal counts as gone.
    bool silent() { return ++silentReads_ >= kSilentReadsForDisconnect; }
    // A read was answered, naming `idCodText` when the answer carried IDCOD=; true when the one
    // answering is another terminal.
    bool answered(const std::optional<std::string>& idCodText);

  private:
    std::string idCodText_;
    int silentReads_ = 0;
};

}  // namespace session
