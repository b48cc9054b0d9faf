#pragma once
// Test double: answers each dialog with the next scripted path (nullopt = cancel) and records the
// filters it was shown with. A chosen path changes the current directory like the real dialogs.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/FileDialogs.h"

namespace platform {

class ScriptedFileDialogs : public FileDialogs {
  public:
    std::optional<std::string> open(const std::string& filter) override { return next(filter); }
    std::optional<std::string> save(const std::string& filter) override { return next(filter); }

    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> filters;

  private:
    std::optional<std::string> next(const std::string& filter) {
        filters.push_back(filter);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        if (answer) enterFolderOf(*answer);
        return answer;
    }
};

}  // namespace platform
