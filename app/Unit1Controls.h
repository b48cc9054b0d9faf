#pragma once
// The main window's controls seen through the protocol's access interface: widgets are found by
// their objectName, texts cross as Windows-1251 bytes.
#include <string>
#include <string_view>
#include <unordered_map>

#include "protocol/ControlAccess.h"

class QWidget;
class TForm1;

class Unit1Controls : public protocol::ControlAccess {
  public:
    explicit Unit1Controls(TForm1& form) : form_(form) {}

    // Indexes every named widget of the window; call once the controls exist.
    void index(QWidget* root);

    std::optional<std::string> text(std::string_view control) const override;
    void setText(std::string_view control, std::string_view cp1251) override;
    bool checked(std::string_view control) const override;
    void setChecked(std::string_view control, bool on) override;
    int itemIndex(std::string_view control) const override;
    void setItemIndex(std::string_view control, int index) override;
    int position(std::string_view control) const override;
    void setPosition(std::string_view control, int position) override;
    void enableWriteControls() override;

  private:
    template <class W>
    W* find(std::string_view control) const;
    QWidget* widget(std::string_view control) const;

    TForm1& form_;
    std::unordered_map<std::string, QWidget*> widgets_;
};
