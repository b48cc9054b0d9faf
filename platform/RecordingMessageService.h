#pragma once
// Test double: records every message instead of showing it, and answers with a scripted result.
#include <mutex>
#include <string>
#include <vector>

#include "platform/MessageService.h"

namespace platform {

struct RecordedMessage {
    std::string text;
    std::string caption;
    MessageIcon icon;
    MessageButtons buttons;
};

class RecordingMessageService : public MessageService {
  public:
    RecordingMessageService() { setMessageService(this); }
    ~RecordingMessageService() override { setMessageService(nullptr); }

    MessageResult show(const std::string& text, const std::string& caption, MessageIcon icon,
                       MessageButtons buttons) override {
        std::lock_guard<std::mutex> lock(mutex_);
        shown_.push_back({text, caption, icon, buttons});
        return answer;
    }

    std::vector<RecordedMessage> shown() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return shown_;
    }
    std::vector<std::string> texts() const {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<std::string> t;
        for (const auto& m : shown_) t.push_back(m.text);
        return t;
    }
    void clear() {
        std::lock_guard<std::mutex> lock(mutex_);
        shown_.clear();
    }

    MessageResult answer = MessageResult::Ok;

  private:
    mutable std::mutex mutex_;
    std::vector<RecordedMessage> shown_;
};

}  // namespace platform
