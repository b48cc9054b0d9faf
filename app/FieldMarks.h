#pragma once
// Marks on the main window's parameter controls, so the operator sees what the terminal does not
// hold yet:
// - edited: the operator changed the value since the last read, write or file load (amber frame);
//   goes when an answer or a file sets the control;
// - not taken: a write whose answer came back different, or not at all (red frame, and a tooltip
//   with the value sent and the value reported); goes when the next read, write or file load
//   changes the control. It shows over an edited mark; the operator's next edit of the field
//   turns it into an edited mark.
// Each marked widget carries the property "vigilMark" ("edited" or "mismatch").
#include <QString>
#include <functional>
#include <map>
#include <span>
#include <vector>

#include "session/AnswerWatch.h"

class QWidget;

namespace app {

class FieldMarks {
  public:
    static constexpr const char* kProperty = "vigilMark";

    // Watches the operator's edits of every writable parameter control under `window`;
    // `onEdited` runs after each such edit is marked.
    FieldMarks(QWidget& window, std::function<void(const protocol::Parameter*)> onEdited);

    void edited(const protocol::Parameter* p);
    // An answer or a file set these controls.
    void settled(const session::ParameterSet& assigned);
    // A write emptied these controls.
    void sent(const std::vector<const protocol::Parameter*>& emptied);
    void notTaken(const protocol::ValueMismatch& m);
    // Those of `params` that carry an edited mark: typed, and not yet in the terminal.
    std::vector<const protocol::Parameter*> editedOf(
        std::span<const protocol::Parameter* const> params) const;

  private:
    struct Mark {
        bool edited = false;
        QString mismatch;  // the tooltip of a value not taken, empty when none
        QString ownToolTip;
    };
    QWidget* widgetOf(const protocol::Parameter* p) const;
    void watch(const protocol::Parameter* p, QWidget* w);
    void show(const protocol::Parameter* p);

    QWidget& window_;
    std::function<void(const protocol::Parameter*)> onEdited_;
    std::map<const protocol::Parameter*, Mark> marks_;
};

}  // namespace app
