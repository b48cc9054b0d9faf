// The completeness check catches what would show a user the wrong language or a broken message.
#include "translations/CatalogueCheck.h"

#include <gtest/gtest.h>

namespace {

QString catalogue(const QString& messages) {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<!DOCTYPE TS>\n"
               "<TS version=\"2.1\" language=\"en\"><context><name>TForm1</name>") +
           messages + QStringLiteral("</context></TS>");
}

QString message(const QString& source, const QString& translation) {
    return QStringLiteral("<message><source>%1</source>%2</message>").arg(source, translation);
}

TEST(CatalogueCheck, AFinishedCatalogueWithTheSourcesMarksPasses) {
    const QString ts = catalogue(
        message(QStringLiteral("Сервер %1"),
                QStringLiteral("<translation>Server %1</translation>")) +
        message(QStringLiteral("Время по \nГринвичу"),
                QStringLiteral("<translation>Time \nUTC</translation>")) +
        message(QStringLiteral("File"), QStringLiteral("<translation>File</translation>")) +
        message(QStringLiteral("Старое"),
                QStringLiteral("<translation type=\"vanished\">Old</translation>")));
    EXPECT_TRUE(translations::catalogueProblems(ts).isEmpty())
        << translations::catalogueProblems(ts).join(u'\n').toStdString();
}

TEST(CatalogueCheck, UnfinishedEmptyOrMissingTranslationsAreFaults) {
    const QStringList problems = translations::catalogueProblems(catalogue(
        message(QStringLiteral("Порт"),
                QStringLiteral("<translation type=\"unfinished\">Port</translation>")) +
        message(QStringLiteral("Скорость"), QStringLiteral("<translation></translation>")) +
        message(QStringLiteral("Четность"), QString())));
    ASSERT_EQ(problems.size(), 3) << problems.join(u'\n').toStdString();
    EXPECT_TRUE(problems[0].contains(QStringLiteral("\"Порт\": unfinished")));
    EXPECT_TRUE(problems[1].contains(QStringLiteral("\"Скорость\": no translation")));
    EXPECT_TRUE(problems[2].contains(QStringLiteral("TForm1: \"Четность\"")));
}

TEST(CatalogueCheck, PlaceholdersAndLineBreaksMustMatchTheSource) {
    const QStringList problems = translations::catalogueProblems(catalogue(
        message(QStringLiteral("Сервер %1"), QStringLiteral("<translation>Server</translation>")) +
        message(QStringLiteral("%1 из %2"), QStringLiteral("<translation>%1 of %1</translation>")) +
        message(QStringLiteral("Время по \nГринвичу"),
                QStringLiteral("<translation>UTC time</translation>")) +
        message(QStringLiteral("%2 и %1"),
                QStringLiteral("<translation>%1 and %2</translation>"))));
    ASSERT_EQ(problems.size(), 3) << problems.join(u'\n').toStdString();
    EXPECT_TRUE(problems[0].contains(QStringLiteral("placeholders differ")));
    EXPECT_TRUE(problems[1].contains(QStringLiteral("placeholders differ")));
    EXPECT_TRUE(problems[2].contains(QStringLiteral("line breaks differ")));
}

TEST(CatalogueCheck, ATextThatIsNoCatalogueIsAFault) {
    EXPECT_EQ(translations::catalogueProblems(QStringLiteral("<html/>")).size(), 1);
    EXPECT_FALSE(
        translations::catalogueProblems(catalogue(QStringLiteral("<message><source>a"))).isEmpty());
}

}  // namespace
