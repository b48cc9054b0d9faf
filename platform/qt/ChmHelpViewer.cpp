#include "platform/qt/ChmHelpViewer.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include "platform/qt/ChmHelpWindow.h"

namespace platform {
namespace {

QString fullPathOf(const std::string& path) {
    return QFileInfo(QDir::current(), QString::fromStdString(path)).absoluteFilePath();
}

}  // namespace

ChmHelpViewer::ChmHelpViewer() = default;

ChmHelpViewer::~ChmHelpViewer() {
    closeAll();
}

ChmHelpWindow* ChmHelpViewer::window(const std::string& helpFilePath) const {
    const auto it = windows_.find(fullPathOf(helpFilePath));
    return it == windows_.end() ? nullptr : it->second.get();
}

ChmHelpWindow* ChmHelpViewer::windowFor(const QString& fullPath) {
    if (auto it = windows_.find(fullPath); it != windows_.end()) return it->second.get();
    auto file = ChmFile::open(fullPath.toStdString());
    if (!file) return nullptr;
    auto& slot = windows_[fullPath];
    slot = std::make_unique<ChmHelpWindow>(std::move(file));
    return slot.get();
}

void ChmHelpViewer::present(ChmHelpWindow* window, const std::string& page) {
    if (page.empty()) return;
    window->showPage(page);
    window->showNormal();
    window->raise();
    window->activateWindow();
}

void ChmHelpViewer::showTopic(const std::string& helpFilePath, int context) {
    const QString full = fullPathOf(helpFilePath);
#ifdef VIGIL_HAVE_CHMLIB
    if (ChmHelpWindow* w = windowFor(full))
        present(w, w->file().topicForContext(static_cast<std::uint32_t>(context)));
#else
    (void)context;
    startExternalViewer(full);
#endif
}

void ChmHelpViewer::showContents(const std::string& fileName) {
    const QString full = fullPathOf(fileName);
#ifdef VIGIL_HAVE_CHMLIB
    if (ChmHelpWindow* w = windowFor(full)) present(w, w->file().defaultTopic());
#else
    startExternalViewer(full);
#endif
}

void ChmHelpViewer::closeAll() {
    windows_.clear();
    viewers_.clear();  // a QProcess ends its program when it goes
}

void ChmHelpViewer::startExternalViewer(const QString& fullPath) {
    if (!QFileInfo::exists(fullPath)) return;
    for (const char* name : {"xchm", "kchmviewer"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (program.isEmpty()) continue;
        auto process = std::make_unique<QProcess>();
        process->start(program, {fullPath});
        viewers_.push_back(std::move(process));
        return;
    }
}

}  // namespace platform
