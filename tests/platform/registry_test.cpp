#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/RecordingMessageService.h"
#include "platform/RegistryStore.h"

namespace fs = std::filesystem;
using namespace platform;

namespace {

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

class RegistryFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/vigil-registry-XXXXXX";
        dir = ::mkdtemp(name);
        path = dir / "registry.reg";
    }
    void TearDown() override { fs::remove_all(dir); }

    fs::path dir;
    fs::path path;
    RecordingMessageService messages;
};

}  // namespace

TEST(RegistryFormat, WritesTheExportFormat) {
    RegistryDocument doc;
    RegistryKey& key = doc.ensure("Quorveth\\ComPort");
    key.set("ComBaud", {RegistryValue::Type::Dword, 6, ""});
    key.set("ComNum", {RegistryValue::Type::Dword, 0xFFFFFFFF, ""});
    key.set("Name", {RegistryValue::Type::String, 0, "a \"b\" c:\\d"});
    doc.ensure("Quorveth\\Gprs").set("ItemIndex", {RegistryValue::Type::Dword, 0, ""});
    EXPECT_EQ(formatRegistry(doc),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[Quorveth\\ComPort]\n"
              "\"ComBaud\"=dword:00000006\n"
              "\"ComNum\"=dword:ffffffff\n"
              "\"Name\"=\"a \\\"b\\\" c:\\\\d\"\n"
              "\n"
              "[Quorveth\\Gprs]\n"
              "\"ItemIndex\"=dword:00000000\n");
}

TEST(RegistryFormat, ReadsHandEditedFilesAndKeepsForeignTypes) {
    const std::string text =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "; a comment\r\n"
        "\r\n"
        "[Quorveth\\ComPort]\r\n"
        "  \"ComBaud\" = DWORD:0000000C\r\n"
        "\"Blob\"=hex:01,02,\\\r\n"
        "  03,04\r\n"
        "\"Name\"=\"x\\\"y\"\r\n"
        "[quorveth\\comport]\r\n"
        "\"comnum\"=dword:3\r\n"
        "\"Tail\"=hex:05,\\";
    std::string error;
    auto doc = parseRegistry(text, error);
    ASSERT_TRUE(doc) << error;
    ASSERT_EQ(doc->keys.size(), 1u);  // the second section is the same key in other letters
    const RegistryKey* key = doc->find("QUORVETH\\ComPort");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->find("combaud")->dword, 12u);
    EXPECT_EQ(key->find("ComNum")->dword, 3u);
    EXPECT_EQ(key->find("Name")->text, "x\"y");
    EXPECT_EQ(key->find("Blob")->type, RegistryValue::Type::Other);
    EXPECT_EQ(key->find("Blob")->text, "hex:01,02,03,04");
    EXPECT_EQ(key->find("Tail")->text, "hex:05,");  // saved again, it must not swallow what follows

    auto again = parseRegistry(formatRegistry(*doc), error);
    ASSERT_TRUE(again) << error;
    EXPECT_EQ(formatRegistry(*again), formatRegistry(*doc));
}

TEST(RegistryFormat, AnyUnreadableLineRejectsTheWholeFile) {
    const std::pair<const char*, const char*> cases[] = {
        {"[K]\n\"A\"=dword:1\ngarbage\n", "line 3"},
        {"\"A\"=dword:1\n", "line 1"},
        {"[K]\n\"A\"=dword:123456789\n", "line 2"},
        {"[K]\n\"A\"=dword:12x4\n", "line 2"},
        {"[K]\n\"A\"=dword:\n", "line 2"},
        {"[K]\n\"A\"=\"open\n", "line 2"},
        {"[K]\n\"A\"=\"v\" tail\n", "line 2"},
        {"[K]\n\"A\"dword:1\n", "line 2"},
        {"[K]\n\"A\"=-\n", "line 2"},
        {"[K\n", "line 1"},
        {"[]\n", "line 1"},
    };
    for (const auto& [text, where] : cases) {
        std::string error;
        EXPECT_FALSE(parseRegistry(text, error)) << text;
        EXPECT_NE(error.find(where), std::string::npos) << text << " -> " << error;
    }
    std::string error;
    EXPECT_TRUE(parseRegistry("", error));
}

TEST_F(RegistryFileTest, MissingOrWronglyTypedValuesGiveTheFrameworkMessages) {
    writeFile(path, "[Quorveth\\ComPort]\n\"ComBaud\"=\"6\"\n\"StopBits\"=dword:00000000\n");
    Registry reg(path);
    ASSERT_TRUE(reg.openKey("Quorveth\\ComPort", false));
    EXPECT_EQ(reg.readInteger("StopBits"), 0);
    try {
        reg.readInteger("ComNum");
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Failed to get data for 'ComNum'");
    }
    try {
        reg.readInteger("ComBaud");
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'ComBaud'");
    }
    EXPECT_EQ(reg.readString("ComBaud"), "6");
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(RegistryFileTest, KeysAreCreatedOnlyWhenAskedAndWritesAreStoredAtOnce) {
    Registry reg(path);
    EXPECT_FALSE(reg.openKey("Quorveth\\ComPort", false));
    EXPECT_FALSE(fs::exists(path));

    ASSERT_TRUE(reg.openKey("Quorveth\\ComPort", true));
    EXPECT_TRUE(Registry(path).keyExists("Quorveth\\ComPort"));
    reg.writeInteger("ComBaud", 6);
    reg.writeInteger("ComNum", -1);
    EXPECT_EQ(reg.readInteger("ComNum"), -1);

    // A second handle writing meanwhile loses nothing of the first one's values.
    Registry other(path);
    ASSERT_TRUE(other.openKey("Quorveth\\Gprs", true));
    other.writeInteger("ItemIndex", 0);
    reg.writeInteger("Parity", 2);
    EXPECT_EQ(readFile(path),
              "Windows Registry Editor Version 5.00\n\n"
              "[Quorveth\\ComPort]\n\"ComBaud\"=dword:00000006\n\"ComNum\"=dword:ffffffff\n"
              "\"Parity\"=dword:00000002\n\n"
              "[Quorveth\\Gprs]\n\"ItemIndex\"=dword:00000000\n");
    EXPECT_FALSE(fs::exists(path.string() + ".tmp." + std::to_string(::getpid())));
    EXPECT_THROW(reg.writeString("Name", "two\nlines"), ERegistryException);
}

TEST_F(RegistryFileTest, ADamagedStoreIsReportedOnceAndKeptAsideWhenReplaced) {
    const std::string damaged = "this is not a registry file\n\x01\x02";
    writeFile(path, damaged);
    Registry reg(path);
    EXPECT_FALSE(reg.openKey("Quorveth\\ComPort", false));
    EXPECT_FALSE(reg.openKey("Quorveth\\ComPort", false));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_NE(messages.shown()[0].text.find(path.string()), std::string::npos);
    EXPECT_EQ(messages.shown()[0].caption, "");
    EXPECT_EQ(readFile(path), damaged);  // nothing replaced it yet

    ASSERT_TRUE(reg.openKey("Quorveth\\ComPort", true));
    reg.writeInteger("ComNum", 3);
    EXPECT_EQ(readFile(path.string() + ".damaged"), damaged);
    EXPECT_EQ(Registry(path).openKey("Quorveth\\ComPort", false), true);
    EXPECT_EQ(messages.shown().size(), 1u);

    // A later damaged file does not replace the copy of the earlier one.
    writeFile(path, "[still broken\n");
    reg.writeInteger("ComNum", 4);
    EXPECT_EQ(readFile(path.string() + ".damaged"), damaged);
    EXPECT_EQ(readFile(path.string() + ".damaged.1"), "[still broken\n");
}

TEST_F(RegistryFileTest, AFailedSaveLeavesTheOldStore) {
    Registry reg(path);
    ASSERT_TRUE(reg.openKey("K", true));
    reg.writeInteger("A", 1);
    const std::string before = readFile(path);
    // A folder where the temporary file should go makes the write fail, even for root.
    const fs::path blocker = path.string() + ".tmp." + std::to_string(::getpid());
    fs::create_directory(blocker);
    try {
        reg.writeInteger("A", 2);
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Failed to set data for 'A'", 0), 0u) << e.what();
    }
    fs::remove(blocker);
    EXPECT_EQ(readFile(path), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator{}), 1);
}

TEST_F(RegistryFileTest, SavingThroughALinkUpdatesItsTargetAndCreatesFolders) {
    const fs::path target = dir / "deep" / "er" / "real.reg";
    fs::create_directories(target.parent_path());
    writeFile(target, "[K]\n");
    fs::create_symlink(target, path);
    Registry reg(path);
    ASSERT_TRUE(reg.openKey("K", false));
    reg.writeInteger("A", 7);
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_NE(readFile(target).find("\"A\"=dword:00000007"), std::string::npos);

    Registry fresh(dir / "new" / "folder" / "r.reg");
    ASSERT_TRUE(fresh.openKey("K", true));
    EXPECT_TRUE(fs::exists(dir / "new" / "folder" / "r.reg"));
}

TEST(RegistryPath, EnvironmentChoosesTheStore) {
    const char* saved[] = {std::getenv("VIGIL_REGISTRY"), std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")};
    const std::string keep[] = {saved[0] ? saved[0] : "", saved[1] ? saved[1] : "", saved[2] ? saved[2] : ""};
    ::setenv("VIGIL_REGISTRY", "/x/y.reg", 1);
    EXPECT_EQ(registryPath(), "/x/y.reg");
    ::unsetenv("VIGIL_REGISTRY");
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(registryPath(), "/cfg/vigil/registry.reg");
    ::setenv("XDG_CONFIG_HOME", "relative", 1);  // ignored, as the base directory rules say
    ::setenv("HOME", "/home/op", 1);
    EXPECT_EQ(registryPath(), "/home/op/.config/vigil/registry.reg");
    const char* names[] = {"VIGIL_REGISTRY", "XDG_CONFIG_HOME", "HOME"};
    for (int i = 0; i < 3; ++i) {
        if (saved[i]) ::setenv(names[i], keep[i].c_str(), 1);
        else ::unsetenv(names[i]);
    }
}
