#pragma once
// The file dialogs over QFileDialog, parented to the main window.
#include "platform/FileDialogs.h"

class QWidget;

namespace platform {

class QtFileDialogs : public FileDialogs {
  public:
    explicit QtFileDialogs(QWidget* parent) : parent_(parent) {}
    std::optional<std::string> open(const std::string& filter) override;
    std::optional<std::string> save(const std::string& filter) override;

    // "Файл(*.abt)|*.abt|..." -> "Файл(*.abt) (*.abt);;..." as QFileDialog wants it.
    static std::string toQtFilter(const std::string& filter);

  private:
    QWidget* parent_;
};

}  // namespace platform
