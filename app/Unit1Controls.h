#pragma once
// The main window's controls seen through the protocol's access interface: each parameter maps to
// the widget whose objectName the table gives it; texts cross as Windows-1251 bytes.
#include <array>
#include <string>
#include <string_view>

#include "protocol/ControlAccess.h"

class QWidget;
class TForm1;

class Unit1Controls : public protocol::ControlAccess {
  public:
    explicit Unit1Controls(TForm1& form) : form_(form) {}

    // Finds each parameter's widget by its objectName; call once the controls exist.
    void index(QWidget* root);

    std::optional<std::string> text(const protocol::Parameter& p) const override;
    void setText(const protocol::Parameter& p, std::string_view cp1251) override;
    bool checked(const protocol::Parameter& p) const override;
    void setChecked(const protocol::Parameter& p, bool on) override;
    int itemIndex(const protocol::Parameter& p) const override;
    void setItemIndex(const protocol::Parameter& p, int index) override;
    int position(const protocol::Parameter& p) const override;
    void setPosition(const protocol::Parameter& p, int position) override;
    void enableWriteControls() override;

  private:
    template <class W>
    W* find(const protocol::Parameter& p) const;

    TForm1& form_;
    std::array<QWidget*, protocol::kParameters.size()> widgets_{};  // by table place
};
