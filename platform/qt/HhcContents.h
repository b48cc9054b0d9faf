#pragma once
// The table of contents of a help file: its sitemap (.hhc) read into entries with their depth.
#include <QString>
#include <vector>

namespace platform {

struct ContentsEntry {
    int depth = 0;  // 0 for the outermost list
    QString name;
    QString local;  // the page inside the help file, as written ("" for a heading)
};

std::vector<ContentsEntry> parseContents(const QString& sitemap);

}  // namespace platform
