#pragma once
// The program's message boxes: a modal QMessageBox over the active window. A plain box (empty
// caption) carries the application's title. Calls from other threads are handed to the main
// thread and wait there, so a box is always owned by the GUI thread.
#include "platform/MessageService.h"

namespace platform {

class QtMessageService : public MessageService {
  public:
    QtMessageService();  // installs itself as the service in use
    ~QtMessageService() override;
    QtMessageService(const QtMessageService&) = delete;
    QtMessageService& operator=(const QtMessageService&) = delete;

    MessageResult show(const std::string& text, const std::string& caption, MessageIcon icon,
                       MessageButtons buttons) override;
};

}  // namespace platform
