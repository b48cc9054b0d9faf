#pragma once
// The message boxes of the shared core (the port component's line-setting warnings) as lines on
// standard error. A box the caller reports in its own words (the open failure, which the link
// words with the port's name) is held back.
#include <string>

#include "platform/MessageService.h"

namespace cli {

class ConsoleMessages : public platform::MessageService {
  public:
    ConsoleMessages();
    ~ConsoleMessages() override;

    platform::MessageResult show(const std::string& text, const std::string& caption,
                                 platform::MessageIcon icon,
                                 platform::MessageButtons buttons) override;

    // The next message is not printed.
    void holdNext() { holdNext_ = true; }

  private:
    bool holdNext_ = false;
};

// "vigil: " before every line of `text`, on standard error.
void printError(const std::string& text);

}  // namespace cli
