// vigil in one language per run, with the build tree's catalogues: chosen by --lang anywhere on
// the line, then VIGIL_LANG, then the locale; what it writes for programs and files (JSON, the
// batch log) the same in both languages.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>

#include "CliFixture.h"
#include "WholeTemplate.h"
#include "cli/Texts.h"
#include "protocol/ParameterTable.h"
#include "tools/BootloaderMode.h"
#include "tools/EncFile.h"

using ::testing::HasSubstr;
using ::testing::Not;
using testsupport::runVigil;
using testsupport::SettingsTerminal;
using testsupport::SimulatedLine;
using testsupport::VigilProcess;

namespace {

constexpr int kCom = 6;

bool hasCyrillic(const std::string& utf8) {
    // Every Cyrillic letter's UTF-8 form starts with 0xD0 or 0xD1.
    return utf8.find_first_of("\xD0\xD1") != std::string::npos;
}

class Language : public testsupport::CliTest {
  protected:
    Language() {
        // The catalogues the build made, and no language from the machine's environment.
        ::unsetenv("VIGIL_TRANSLATIONS");
        for (const char* name : {"VIGIL_LANG", "LC_ALL", "LC_MESSAGES", "LANG"}) {
            if (const char* value = std::getenv(name)) saved_[name] = value;
            ::unsetenv(name);
        }
    }
    ~Language() override {
        for (const char* name : {"VIGIL_LANG", "LC_ALL", "LC_MESSAGES", "LANG"}) ::unsetenv(name);
        for (const auto& [name, value] : saved_) ::setenv(name.c_str(), value.c_str(), 1);
    }

    static bool haveCatalogue(const char* file) {
        return std::filesystem::exists(std::filesystem::path(VIGIL_CLI_BINARY).parent_path() /
                                       "../share/vigil/translations" / file);
    }

  private:
    std::map<std::string, std::string> saved_;
};

TEST(TextArgs, PlacesTakeTheirArgumentsInTheTranslationsOrder) {
    EXPECT_EQ(cli::withArgs("записей %2 из %1, %1", {"7", "3"}), "записей 3 из 7, 7");
    // A unit label or a path that holds a place marker is shown as it is.
    EXPECT_EQ(cli::withArgs("Unit %1: %2", {"U%2", "100%"}), "Unit U%2: 100%");
    EXPECT_EQ(cli::withArgs("%1 and %3", {"a"}), "a and %3");
}

TEST_F(Language, OwnMessagesSpeakTheChosenLanguage) {
    const std::string russian =
        "vigil read: --format принимает abt или json, указано \"x\"\n"
        "См. 'vigil read --help'.\n";
    const std::string english =
        "vigil read: --format takes abt or json, got \"x\"\n"
        "Try 'vigil read --help'.\n";
    // Before or after the command, as one word or two.
    for (const auto& args : {std::vector<std::string>{"--lang", "ru", "read", "--format", "x"},
                             std::vector<std::string>{"read", "--format", "x", "--lang=RU"}}) {
        const auto result = runVigil(args);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, russian);
    }
    const auto help = runVigil({"--lang", "ru", "write", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_THAT(help.out, HasSubstr("коды выхода: 0 записано и проверено"));

    // The option before VIGIL_LANG, VIGIL_LANG before the locale, LC_ALL before LANG.
    ::setenv("LANG", "ru_RU.UTF-8", 1);
    EXPECT_EQ(runVigil({"read", "--format", "x"}).err, russian);
    ::setenv("VIGIL_LANG", "en", 1);
    EXPECT_EQ(runVigil({"read", "--format", "x"}).err, english);
    EXPECT_EQ(runVigil({"--lang", "ru", "read", "--format", "x"}).err, russian);
    ::unsetenv("VIGIL_LANG");
    ::setenv("LC_ALL", "C", 1);
    EXPECT_EQ(runVigil({"read", "--format", "x"}).err, english);

    // A language vigil does not speak is refused before anything else is done.
    const auto unknown = runVigil({"ports", "--lang", "de"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err, "vigil: --lang takes ru or en, got \"de\"\n");
    EXPECT_EQ(runVigil({"ports", "--lang"}).exitCode, 2);
    // ... in the language the environment chooses (LC_ALL=C above: English).
    ::setenv("LC_ALL", "ru_RU.UTF-8", 1);
    EXPECT_EQ(runVigil({"ports", "--lang", "de"}).err,
              "vigil: --lang принимает ru или en, указано \"de\"\n");
    EXPECT_EQ(runVigil({"--lang", "en", "--lang", "ru", "ports"}).exitCode, 2);
}

TEST_F(Language, RefusalsWordedBelowTheCommandsSpeakTheRunsLanguageToo) {
    writeFile("t.abt", "TL1=:");
    const auto domain =
        runVigil({"--lang", "ru", "write", "--port", "COM6", path("t.abt"), "--set", "Coord=9"});
    EXPECT_EQ(domain.exitCode, 2);
    EXPECT_EQ(domain.err,
              "vigil write: неверное значение \"9\" для GpsSleepMode (Coord): ожидается от 0 до 4\n"
              "См. 'vigil write --help'.\n");
    const auto nothingKept = runVigil({"--lang", "ru", "restore", "--port", "COM6", "--unit", "7"});
    EXPECT_EQ(nothingKept.exitCode, 2);
    EXPECT_EQ(nothingKept.err, "vigil: блок 7: значения блока не сохранены\n");
    const auto noServer = runVigil({"--lang", "ru", "records", "sync"});
    EXPECT_EQ(noServer.exitCode, 1);
    EXPECT_THAT(noServer.err, HasSubstr("сервер команды не задан (VIGIL_RECORDS)"));
    std::filesystem::create_directories(path("vigil"));
    writeFile("vigil/records.sqlite", std::string(4096, 'x'));
    EXPECT_THAT(runVigil({"--lang", "ru", "records", "status"}).err,
                HasSubstr(path("vigil/records.sqlite") + " повреждён (не база записей)"));
}

TEST_F(Language, ACatalogueThatCannotBeLoadedIsToldAndNothingElseChanges) {
    // One damaged, one missing: the texts stay as written, and the user learns why.
    std::filesystem::create_directories(path("catalogues"));
    writeFile("catalogues/vigil_ru.qm", "not a catalogue");
    ::setenv("VIGIL_TRANSLATIONS", path("catalogues").c_str(), 1);
    for (const auto& [language, file] :
         {std::pair{"ru", "vigil_ru.qm"}, std::pair{"en", "Config_Vigil_en.qm"}}) {
        const auto result = runVigil({"--lang", language, "read", "--format", "x"});
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_EQ(result.err, "vigil: " + path("catalogues") + "/" + file +
                                  " cannot be loaded (missing or damaged): messages are shown as "
                                  "written\nvigil read: --format takes abt or json, got \"x\"\n"
                                  "Try 'vigil read --help'.\n");
    }
}

TEST_F(Language, JsonAndBatchLogAreTheSameInBothLanguages) {
    const std::string id = "004600 Версия 2.07 Eeprom OK";
    sim::ParameterStore store;
    store.set(*protocol::byControl("EIdCod"), cp1251(id));
    SettingsTerminal terminal(map, kCom, {}, store);
    const std::string port = "COM" + std::to_string(kCom);

    const auto en = runVigil({"--lang", "en", "read", "--port", port, "--format", "json"});
    const auto ru = runVigil({"--lang", "ru", "read", "--port", port, "--format", "json"});
    ASSERT_EQ(en.exitCode, 0) << en.err;
    EXPECT_EQ(ru.out, en.out);
    EXPECT_THAT(en.out, HasSubstr("\"IdCode\": \"" + id + "\""));

    writeFile("template.abt", testsupport::wholeTemplate("TL1=+79161234501:Apn=apn.ru:"));
    writeFile("units.csv", "unit,ModulePhone\nU1,+79990000001\n");
    VigilProcess batch({"batch", "--lang", "ru", "--port", port, path("template.abt"),
                        path("units.csv"), "--log", path("log.csv")});
    ASSERT_TRUE(batch.waitForOutput("Блок U1: подключите его к " + port));
    const auto result = batch.finish();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr("Блок U1: готово\n"));
    EXPECT_THAT(result.out, HasSubstr("Пакет: готово 1, с ошибкой 0, выполнено ранее 0.\n"));
    const std::string log = readFile("log.csv");
    EXPECT_EQ(log.substr(0, log.find('\n')), "time,unit,idcode,result,differences");
    EXPECT_THAT(log, HasSubstr(",U1," + id + ",ok,"));
    EXPECT_FALSE(hasCyrillic(log.substr(0, log.find(id))));
}

TEST_F(Language, EnglishRunSaysTheCoreTextsInEnglishToo) {
    // The core's Russian texts come in English from the windows' catalogue.
    if (!haveCatalogue("Config_Vigil_en.qm"))
        GTEST_SKIP() << "the windows' English catalogue is not built";
    writeFile("template.abt", testsupport::wholeTemplate("TL1=+79161234501:"));
    writeFile("units.csv", "unit,ModulePhone\nU1,+79990000001\n");
    // COM7 has no device: the batch tells why once and keeps trying.
    VigilProcess batch({"batch", "--port", "COM7", path("template.abt"), path("units.csv"), "--log",
                        path("log.csv"), "--lang", "en"});
    ASSERT_TRUE(batch.waitForErrorOutput("(trying again)"));
    batch.interrupt();
    const auto result = batch.finish();
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_FALSE(hasCyrillic(result.out + result.err)) << result.out << result.err;
}

TEST_F(Language, AnUploadIsRecordedAlikeInBothLanguages) {
    if (!haveCatalogue("Config_Vigil_en.qm"))
        GTEST_SKIP() << "the windows' English catalogue is not built";
    writeFile("fw.enc", sim::hexText(sim::makeImage(std::vector<std::uint8_t>(300, 7), 100)));
    for (const char* language : {"en", "ru"}) {
        sim::BootloaderMode boot;
        SimulatedLine line(map, kCom, boot);
        const auto done = runVigil({"--lang", language, "upload", "--port",
                                    "COM" + std::to_string(kCom), path("fw.enc"), "--no-wait"});
        EXPECT_EQ(done.exitCode, 0) << done.err;
    }
    // Shown in the run's language, kept as written.
    const auto history = runVigil({"--lang", "en", "history", "--format", "json"});
    const std::string kept = "\"outcome\": \"Обновление прошло успешно. BL ver 01\"";
    const auto first = history.out.find(kept);
    ASSERT_NE(first, std::string::npos) << history.out;
    EXPECT_NE(history.out.find(kept, first + 1), std::string::npos) << history.out;
}

}  // namespace
