#pragma once
// Test double: records every help request instead of showing a window.
#include <string>
#include <vector>

#include "platform/HelpService.h"

namespace platform {

struct HelpRequest {
    enum class Kind { Topic, Contents, CloseAll };
    Kind kind;
    std::string file;  // the help file path, or the contents file name as given
    int context = 0;

    bool operator==(const HelpRequest&) const = default;
};

class RecordingHelpService : public HelpService {
  public:
    void showTopic(const std::string& helpFilePath, int context) override {
        requests.push_back({HelpRequest::Kind::Topic, helpFilePath, context});
    }
    void showContents(const std::string& fileName) override {
        requests.push_back({HelpRequest::Kind::Contents, fileName, 0});
    }
    void closeAll() override { requests.push_back({HelpRequest::Kind::CloseAll, "", 0}); }

    std::vector<HelpRequest> requests;
};

}  // namespace platform
