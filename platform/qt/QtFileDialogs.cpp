#include "platform/qt/QtFileDialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QString>

namespace platform {

std::string QtFileDialogs::toQtFilter(const std::string& filter) {
    std::string out;
    std::size_t start = 0;
    while (start < filter.size()) {
        const auto bar = filter.find('|', start);
        if (bar == std::string::npos) break;
        auto end = filter.find('|', bar + 1);
        if (end == std::string::npos) end = filter.size();
        if (!out.empty()) out += ";;";
        out +=
            filter.substr(start, bar - start) + " (" + filter.substr(bar + 1, end - bar - 1) + ")";
        start = end + 1;
    }
    return out;
}

namespace {

std::optional<std::string> chosen(const QString& path) {
    if (path.isEmpty()) return std::nullopt;
    std::string p = path.toStdString();
    enterFolderOf(p);
    return p;
}

}  // namespace

// Both open in the current directory, which is the folder of the last file chosen: the operator
// continues where he was, not where the toolkit or the desktop last showed a folder.
std::optional<std::string> QtFileDialogs::open(const std::string& filter) {
    return chosen(QFileDialog::getOpenFileName(parent_, {}, QDir::currentPath(),
                                               QString::fromStdString(toQtFilter(filter))));
}

std::optional<std::string> QtFileDialogs::save(const std::string& filter) {
    return chosen(QFileDialog::getSaveFileName(parent_, {}, QDir::currentPath(),
                                               QString::fromStdString(toQtFilter(filter))));
}

}  // namespace platform
