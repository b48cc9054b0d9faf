#include "translations/CatalogueCheck.h"

#include <QRegularExpression>
#include <QXmlStreamReader>
#include <algorithm>

namespace translations {
namespace {

struct Message {
    QString context;
    QString source;
    QStringList translations;  // one, or a numerus entry's forms
    bool unfinished = false;
    bool retired = false;  // vanished or obsolete: no longer in the sources, never shown
};

// %1 … %99 (with an optional L), each as often as it occurs.
QStringList placeholders(const QString& text) {
    static const QRegularExpression marker(QStringLiteral("%L?\\d{1,2}"));
    QStringList found;
    for (auto it = marker.globalMatch(text); it.hasNext();) found << it.next().captured();
    std::sort(found.begin(), found.end());
    return found;
}

QString describe(const Message& m, const QString& what) {
    return QStringLiteral("%1: \"%2\": %3").arg(m.context, m.source, what);
}

void check(const Message& m, QStringList& problems) {
    if (m.retired) return;
    if (m.unfinished) {
        problems << describe(m, QStringLiteral("unfinished"));
        return;
    }
    for (const QString& text : m.translations) {
        if (text.isEmpty()) {
            problems << describe(m, QStringLiteral("no translation"));
        } else if (placeholders(text) != placeholders(m.source)) {
            problems << describe(m, QStringLiteral("placeholders differ in \"%1\"").arg(text));
        } else if (text.count(u'\n') != m.source.count(u'\n')) {
            problems << describe(m, QStringLiteral("line breaks differ in \"%1\"").arg(text));
        }
    }
}

void readTranslation(QXmlStreamReader& xml, Message& m) {
    const QStringView type = xml.attributes().value(QLatin1String("type"));
    m.unfinished = type == QLatin1String("unfinished");
    m.retired = type == QLatin1String("vanished") || type == QLatin1String("obsolete");
    if (xml.attributes().value(QLatin1String("numerus")) != QLatin1String("yes")) {
        m.translations << xml.readElementText(QXmlStreamReader::IncludeChildElements);
        return;
    }
    while (xml.readNextStartElement())
        if (xml.name() == QLatin1String("numerusform"))
            m.translations << xml.readElementText();
        else
            xml.skipCurrentElement();
}

}  // namespace

QStringList catalogueProblems(const QString& tsText) {
    QStringList problems;
    QXmlStreamReader xml(tsText);
    if (!xml.readNextStartElement() || xml.name() != QLatin1String("TS"))
        return {QStringLiteral("not a catalogue")};
    QString context;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            Message m{context, {}, {}, false, false};
            bool translated = false;
            while (xml.readNextStartElement()) {
                if (xml.name() == QLatin1String("source")) {
                    m.source = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                } else if (xml.name() == QLatin1String("translation")) {
                    translated = true;
                    readTranslation(xml, m);
                } else {
                    xml.skipCurrentElement();
                }
            }
            if (!translated) m.unfinished = true;
            check(m, problems);
        }
    }
    if (xml.hasError()) problems << QStringLiteral("unreadable: %1").arg(xml.errorString());
    return problems;
}

}  // namespace translations
