#pragma once
// A help window over one compiled help file: its table of contents beside the page shown.
// Pages, style sheets and pictures are read from the file; links between pages stay inside it.
#include <QWidget>
#include <memory>
#include <string>

#include "platform/qt/ChmFile.h"

class QTextBrowser;
class QUrl;
class QTreeWidget;

namespace platform {

class ChmHelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit ChmHelpWindow(std::unique_ptr<ChmFile> file);
    ~ChmHelpWindow() override;

    const ChmFile& file() const { return *file_; }
    // Shows a page given by its path inside the file ("/monitor.htm"), at an anchor when one is
    // given, and selects its entry in the contents.
    void showPage(const std::string& page, const QString& anchor = {});
    // Follows a link of the page shown: another page of the file opens here, a web address in
    // the desktop's browser; anything else (a page the file lacks) does nothing.
    void followLink(const QUrl& link);
    // The path inside the file of the page shown, "" before the first.
    std::string shownPage() const;
    QString shownTitle() const;

  private:
    void fillContents();
    void selectInContents(const std::string& page);

    std::unique_ptr<ChmFile> file_;
    QTreeWidget* contents_;
    QTextBrowser* browser_;
};

}  // namespace platform
