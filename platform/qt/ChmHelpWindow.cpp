#include "platform/qt/ChmHelpWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QSplitter>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QUrl>
#include <vector>

#include "platform/qt/AccessibleNames.h"
#include "platform/qt/HhcContents.h"

namespace platform {
namespace {

const QString kScheme = QStringLiteral("chm");

QUrl pageUrl(const std::string& page, const QString& anchor = {}) {
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(QString::fromStdString(page));
    if (!anchor.isEmpty()) url.setFragment(anchor);
    return url;
}

// The path inside the help file a link names: a page beside the one shown ("gps.htm"), or a
// page of this file in the forms help compilers write ("ms-its:Vigil.chm::/gps.htm",
// "mk:@MSITStore:Vigil.chm::/gps.htm"); "" for a link that leaves the file.
QString pathInFile(const QUrl& link, const QUrl& shown) {
    const QString text = link.toString();
    if (const qsizetype at = text.indexOf(QStringLiteral("::")); at >= 0)
        return QUrl(text.mid(at + 2)).path();
    const QUrl target = shown.resolved(link);
    return target.scheme() == kScheme ? target.path() : QString();
}

// Serves every resource of a page (the page, its style sheet, its pictures) from the help file.
class ChmBrowser : public QTextBrowser {
  public:
    ChmBrowser(const ChmFile& file, QWidget* parent) : QTextBrowser(parent), file_(file) {}

    QVariant loadResource(int type, const QUrl& url) override {
        if (url.scheme() != kScheme) return QTextBrowser::loadResource(type, url);
        const auto data = file_.read(url.path().toStdString());
        if (!data) return {};
        return QByteArray(reinterpret_cast<const char*>(data->data()),
                          static_cast<qsizetype>(data->size()));
    }

  private:
    const ChmFile& file_;
};

}  // namespace

ChmHelpWindow::ChmHelpWindow(std::unique_ptr<ChmFile> file)
    : file_(std::move(file)),
      contents_(new QTreeWidget),
      browser_(new ChmBrowser(*file_, nullptr)) {
    setObjectName(QStringLiteral("ChmHelpWindow"));
    setWindowTitle(QString::fromStdString(file_->title()));
    contents_->setObjectName(QStringLiteral("HelpContents"));
    contents_->setHeaderHidden(true);
    browser_->setObjectName(QStringLiteral("HelpBrowser"));
    // Links are followed here: a page of the file in this window, the web in the browser.
    browser_->setOpenLinks(false);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 3);
    splitter->setSizes({200, 620});
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(820, 560);

    fillContents();
    connect(contents_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const QString page = item->data(0, Qt::UserRole).toString();
        if (!page.isEmpty()) showPage(page.toStdString());
    });
    connect(contents_, &QTreeWidget::itemClicked, contents_, &QTreeWidget::itemActivated);
    connect(browser_, &QTextBrowser::anchorClicked, this, &ChmHelpWindow::followLink);
    // A screen reader announces the page by its title.
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this] { browser_->setAccessibleName(shownTitle()); });
    platform::nameControls(*this);
}

ChmHelpWindow::~ChmHelpWindow() = default;

void ChmHelpWindow::fillContents() {
    if (file_->contentsFile().empty()) return;
    const auto sitemap = file_->read(file_->contentsFile());
    if (!sitemap) return;
    const auto entries = parseContents(QString::fromUtf8(
        reinterpret_cast<const char*>(sitemap->data()), static_cast<qsizetype>(sitemap->size())));
    std::vector<QTreeWidgetItem*> parents;  // the last item at each depth
    for (const auto& entry : entries) {
        const auto depth = static_cast<std::size_t>(entry.depth);
        auto* item = depth == 0 || parents.empty()
                         ? new QTreeWidgetItem(contents_)
                         : new QTreeWidgetItem(parents[std::min(depth, parents.size()) - 1]);
        item->setText(0, entry.name);
        item->setData(0, Qt::UserRole,
                      QString::fromStdString(file_->locate(entry.local.toStdString())));
        parents.resize(std::min(depth, parents.size()));
        parents.push_back(item);
    }
    contents_->expandAll();
}

void ChmHelpWindow::showPage(const std::string& page, const QString& anchor) {
    browser_->setSource(pageUrl(page, anchor));
    selectInContents(page);
}

void ChmHelpWindow::selectInContents(const std::string& page) {
    const QString wanted = QString::fromStdString(page);
    for (QTreeWidgetItemIterator it(contents_); *it; ++it) {
        if ((*it)->data(0, Qt::UserRole).toString() != wanted) continue;
        contents_->setCurrentItem(*it);
        contents_->scrollToItem(*it);
        return;
    }
    contents_->clearSelection();
}

void ChmHelpWindow::followLink(const QUrl& link) {
    if (link.scheme() == QLatin1String("http") || link.scheme() == QLatin1String("https") ||
        link.scheme() == QLatin1String("mailto")) {
        QDesktopServices::openUrl(link);
        return;
    }
    const QString path = pathInFile(link, browser_->source());
    if (path.isEmpty()) return;
    // A link to a page the file lacks leaves the page shown as it is.
    const std::string page = file_->locate(path.toStdString());
    if (page.empty()) return;
    if (page == shownPage() && link.hasFragment()) {
        browser_->scrollToAnchor(link.fragment());
        return;
    }
    showPage(page, link.fragment());
}

std::string ChmHelpWindow::shownPage() const {
    return browser_->source().path().toStdString();
}

QString ChmHelpWindow::shownTitle() const {
    return browser_->documentTitle();
}

}  // namespace platform
