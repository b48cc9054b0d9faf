#include "platform/qt/HhcContents.h"

#include <QRegularExpression>

namespace platform {

std::vector<ContentsEntry> parseContents(const QString& sitemap) {
    // List openings and closings set the depth; each sitemap object is one entry.
    static const QRegularExpression token(
        QStringLiteral(
            R"re((?<list><\s*(?<close>/?)\s*ul\b[^>]*>)|<\s*object\b[^>]*>(?<body>.*?)<\s*/\s*object\s*>)re"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression param(
        QStringLiteral(R"re(<\s*param\s+name\s*=\s*"([^"]*)"\s+value\s*=\s*"([^"]*)")re"),
        QRegularExpression::CaseInsensitiveOption);
    std::vector<ContentsEntry> entries;
    int depth = -1;
    for (auto it = token.globalMatch(sitemap); it.hasNext();) {
        const auto match = it.next();
        if (match.hasCaptured(QStringLiteral("list"))) {
            depth += match.captured(QStringLiteral("close")).isEmpty() ? 1 : -1;
            continue;
        }
        ContentsEntry entry;
        entry.depth = std::max(depth, 0);
        for (auto p = param.globalMatch(match.captured(QStringLiteral("body"))); p.hasNext();) {
            const auto pm = p.next();
            if (pm.captured(1).compare(QStringLiteral("Name"), Qt::CaseInsensitive) == 0 &&
                entry.name.isEmpty())
                entry.name = pm.captured(2);
            else if (pm.captured(1).compare(QStringLiteral("Local"), Qt::CaseInsensitive) == 0)
                entry.local = pm.captured(2);
        }
        if (!entry.name.isEmpty()) entries.push_back(entry);
    }
    return entries;
}

}  // namespace platform
