#include "platform/MessageService.h"

#include <atomic>
#include <cstdio>

namespace platform {
namespace {

class StderrMessageService : public MessageService {
public:
    MessageResult show(const std::string& text, const std::string& caption, MessageIcon,
                       MessageButtons) override {
        std::fprintf(stderr, "[%s] %s\n", caption.empty() ? applicationTitle().c_str() : caption.c_str(),
                     text.c_str());
        return MessageResult::Ok;
    }
};

StderrMessageService fallback;
std::atomic<MessageService*> current{nullptr};
std::string programPath = "Config_Vigil";

}  // namespace

MessageService& messages() {
    MessageService* s = current.load();
    return s ? *s : fallback;
}

void setMessageService(MessageService* service) { current.store(service); }

void setProgramPath(const std::string& argv0) { programPath = argv0; }

std::string applicationTitle() {
    std::string name = programPath;
    if (auto slash = name.find_last_of('/'); slash != std::string::npos) name.erase(0, slash + 1);
    if (auto dot = name.find('.'); dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace platform
