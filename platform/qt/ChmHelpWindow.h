#pragma once
// A help window over one compiled help file: its table of contents beside the page shown.
// Pages, style sheets and pictures are read from the file; links between pages stay inside it.
#include <QWidget>
#include <memory>
#include <string>

#include "platform/qt/ChmFile.h"

class QTextBrowser;
class QTreeWidget;

namespace platform {

class ChmHelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit ChmHelpWindow(std::unique_ptr<ChmFile> file);
    ~ChmHelpWindow() override;

    const ChmFile& file() const { return *file_; }
    // Shows a page given by its path inside the file ("/monitor.htm").
    void showPage(const std::string& page);
    // The path inside the file of the page shown, "" before the first.
    std::string shownPage() const;
    QString shownTitle() const;

private:
    void fillContents();

    std::unique_ptr<ChmFile> file_;
    QTreeWidget* contents_;
    QTextBrowser* browser_;
};

}  // namespace platform
