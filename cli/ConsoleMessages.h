#pragma once
// The message boxes of the shared core (the port component's open failure and line-setting
// warnings) as lines on standard error. While a command polls for a terminal that may not be
// plugged in yet, it holds them back (quiet), so the same failure is not printed every second.
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

    void setQuiet(bool quiet) { quiet_ = quiet; }
    // The text of the latest message, shown or held back.
    const std::string& last() const { return last_; }

private:
    bool quiet_ = false;
    std::string last_;
};

// "vigil: " before every line of `text`, on standard error.
void printError(const std::string& text);

}  // namespace cli
