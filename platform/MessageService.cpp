#include "platform/MessageService.h"

#include <atomic>
#include <cstdio>

#include "platform/Delivery.h"

namespace platform {
namespace {

class StderrMessageService : public MessageService {
  public:
    MessageResult show(const std::string& text, const std::string& caption, MessageIcon,
                       MessageButtons) override {
        std::fprintf(stderr, "[%s] %s\n",
                     caption.empty() ? applicationTitle().c_str() : caption.c_str(), text.c_str());
        return MessageResult::Ok;
    }
};

StderrMessageService fallback;
std::atomic<MessageService*> current{nullptr};

MessageService& serviceInUse() {
    MessageService* s = current.load();
    return s ? *s : fallback;
}

// A box asked for inside a delivery is shown once the delivery has returned (its modal loop must
// not run on top of it); the caller carries on as if the operator had pressed OK.
class AfterDeliveryMessages : public MessageService {
  public:
    MessageResult show(const std::string& text, const std::string& caption, MessageIcon icon,
                       MessageButtons buttons) override {
        if (!DeliveryScope::active()) return serviceInUse().show(text, caption, icon, buttons);
        afterDelivery(
            [text, caption, icon, buttons] { serviceInUse().show(text, caption, icon, buttons); });
        return MessageResult::Ok;
    }
};

AfterDeliveryMessages afterDeliveryMessages;
std::string programPath = "Config_Vigil";

}  // namespace

MessageService& messages() {
    return afterDeliveryMessages;
}

void setMessageService(MessageService* service) {
    current.store(service);
}

void setProgramPath(const std::string& argv0) {
    programPath = argv0;
}

std::string applicationTitle() {
    std::string name = programPath;
    if (auto slash = name.find_last_of('/'); slash != std::string::npos) name.erase(0, slash + 1);
    if (auto dot = name.find('.'); dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace platform
