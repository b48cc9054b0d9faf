#pragma once
// Every message box of the program goes through this service: the program shows Qt message boxes,
// tests record what would have been shown. Texts are UTF-8.
#include <string>

namespace platform {

enum class MessageIcon { None, Error, Warning, Information };
// WriteDiscardCancel: "Записать" / "Не записывать" / "Отмена"; DiscardCancel: the last two.
enum class MessageButtons { Ok, OkCancel, WriteDiscardCancel, DiscardCancel };
enum class MessageResult { Ok, Cancel, Write, Discard };

class MessageService {
  public:
    virtual ~MessageService() = default;
    // An empty caption means a plain message box: it carries the application's title.
    virtual MessageResult show(const std::string& text, const std::string& caption,
                               MessageIcon icon, MessageButtons buttons) = 0;
};

// The service in use; the program installs the Qt one at start-up. Until then (and in tests that
// install nothing) messages go to a service that writes them to standard error. A box asked for
// inside a port delivery is shown after the delivery has returned and answers Ok at once
// (platform/Delivery.h).
MessageService& messages();
void setMessageService(MessageService* service);

// The application's title: the program file's name without its folder, cut at its first ".".
std::string applicationTitle();
void setProgramPath(const std::string& argv0);

}  // namespace platform
