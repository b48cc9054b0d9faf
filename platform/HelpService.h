#pragma once
// The help viewer behind F1 and Help -> Contents. The program uses a window that reads the
// compiled help file itself; tests record the requests. Paths are UTF-8. Failures are silent:
// help that cannot be shown simply does not appear.
#include <string>

namespace platform {

class HelpService {
  public:
    virtual ~HelpService() = default;
    // Shows the topic that the help file maps to the context number.
    virtual void showTopic(const std::string& helpFilePath, int context) = 0;
    // Shows the file's contents and default topic. A name without a folder is looked for in the
    // process's current directory, which the file dialogs move.
    virtual void showContents(const std::string& fileName) = 0;
    // Closes every help window opened so far.
    virtual void closeAll() = 0;
};

}  // namespace platform
