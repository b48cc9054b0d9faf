// Saving and opening on real files: names, backups, and failures that must keep the old files.
#include "files/SaveFiles.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/AbtFile.h"
#include "support/MapControls.h"

namespace {

namespace fs = std::filesystem;
using files::FileKind;
using files::LoadStatus;
using protocol::TransmitBuffer;
using test::MapControls;

std::string contentOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const fs::path& path, std::string_view content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// Each test works in a fresh folder that is also the current directory, as after a dialog.
class SaveFiles : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/vigil-save-XXXXXX";
        ASSERT_TRUE(mkdtemp(name));
        folder = name;
        previous = fs::current_path();
        fs::current_path(folder);
    }
    void TearDown() override {
        fs::current_path(previous);
        if (mounted) umount2(folder.c_str(), MNT_DETACH);
        fs::remove_all(folder);
    }

    std::vector<std::string> save(const std::string& name) {
        TransmitBuffer buffer;
        auto errors = files::saveConfiguration(name, controls, buffer);
        EXPECT_EQ(buffer.length(), 0);
        return errors;
    }

    // A few-kilobyte file system of our own over the folder, private to this process.
    bool mountTinyFileSystem() {
        if (unshare(CLONE_NEWNS) != 0) return false;
        if (mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
        fs::current_path(previous);
        if (mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") != 0) return false;
        mounted = true;
        fs::current_path(folder);
        return true;
    }

    // Grows a filler file until at most `bytes` are left free.
    void fillUntilFree(unsigned long bytes) {
        int fd = open((folder / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        ASSERT_GE(fd, 0);
        std::string block(4096, 'f');
        struct statvfs st {};
        while (statvfs(folder.c_str(), &st) == 0 && st.f_bavail * st.f_bsize > bytes)
            if (write(fd, block.data(), block.size()) <= 0) break;
        while (bytes == 0 && write(fd, block.data(), 1) > 0) {
        }
        close(fd);
    }

    fs::path folder, previous;
    bool mounted = false;
    MapControls controls;
};

TEST_F(SaveFiles, NameRule) {
    EXPECT_EQ(files::configurationFileName("config"), "config.abt");
    EXPECT_EQ(files::configurationFileName("config.txt"), "config.txt");
    EXPECT_EQ(files::configurationFileName("config.ab"), "config.ab.abt");
    EXPECT_EQ(files::configurationFileName("a.b"), "a.b.abt");
    EXPECT_EQ(files::configurationFileName(".abt"), ".abt");
    EXPECT_EQ(files::configurationFileName("/d/a.b/x"), "/d/a.b/x.abt");
    EXPECT_EQ(files::backupFileName("/d/x.abt"), "/d/x.BAK");
    EXPECT_EQ(files::backupFileName("config.ab.abt"), "config.ab.BAK");
    EXPECT_EQ(files::backupFileName("/d.v/x"), "/d.v/x.BAK");
}

TEST_F(SaveFiles, SavingWritesTheFileAndTheExportAndBacksUpWhatItReplaces) {
    controls.setText("ETl1", "first");
    EXPECT_TRUE(save("x").empty());
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{"x.abt", "SettingsAbt.xml"}));
    std::string first = contentOf(folder / "x.abt");
    EXPECT_EQ(first.substr(0, 11), "TL1=first:T");
    EXPECT_EQ(contentOf(folder / "SettingsAbt.xml").size(), 2060u + 5u);

    controls.setText("ETl1", "second");
    EXPECT_TRUE(save(folder / "x.abt").empty());
    EXPECT_EQ(contentOf(folder / "x.BAK"), first);
    std::string second = contentOf(folder / "x.abt");

    // Typed without extension while x.abt exists: that file is the one replaced and backed up.
    controls.setText("ETl1", "third");
    EXPECT_TRUE(save("x").empty());
    EXPECT_EQ(contentOf(folder / "x.BAK"), second);
    EXPECT_EQ(contentOf(folder / "x.abt").substr(0, 10), "TL1=third:");
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{"x.abt", "x.BAK", "SettingsAbt.xml"}));
    // The export holds the last save's values.
    EXPECT_NE(contentOf(folder / "SettingsAbt.xml").find("<tel1>third</tel1>"),
              std::string::npos);
}

TEST_F(SaveFiles, AnyThreeLetterExtensionIsKept) {
    EXPECT_TRUE(save("config.txt").empty());
    EXPECT_TRUE(fs::exists(folder / "config.txt"));
    EXPECT_FALSE(fs::exists(folder / "config.txt.abt"));
}

TEST_F(SaveFiles, ContentThatCannotBeSavedTouchesNoFile) {
    writeFile(folder / "x.abt", "old");
    writeFile(folder / "x.BAK", "older");
    controls.setText("EApn1", "a:b");
    auto errors = save("x.abt");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("\"APN\""), std::string::npos) << errors[0];
    EXPECT_EQ(contentOf(folder / "x.abt"), "old");
    EXPECT_EQ(contentOf(folder / "x.BAK"), "older");
    EXPECT_FALSE(fs::exists(folder / "SettingsAbt.xml"));
}

TEST_F(SaveFiles, ASymbolicLinkIsFollowed) {
    fs::create_directory(folder / "real");
    writeFile(folder / "real" / "y.abt", "old");
    fs::create_symlink(folder / "real" / "y.abt", folder / "x.abt");
    EXPECT_TRUE(save("x.abt").empty());
    EXPECT_TRUE(fs::is_symlink(folder / "x.abt"));
    EXPECT_EQ(contentOf(folder / "real" / "y.abt").substr(0, 4), "TL1=");
    EXPECT_EQ(contentOf(folder / "x.BAK"), "old");
}

TEST_F(SaveFiles, AReadOnlyFolderIsReportedAndKeepsTheOldFiles) {
    if (!mountTinyFileSystem()) GTEST_SKIP() << "needs the right to mount a file system";
    writeFile(folder / "x.abt", "old");
    writeFile(folder / "x.BAK", "older");
    writeFile(folder / "SettingsAbt.xml", "old export");
    fs::current_path(previous);
    ASSERT_EQ(mount("tmpfs", folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr), 0);
    fs::current_path(folder);

    auto errors = save("x");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("x.abt\": Read-only file system"), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find("SettingsAbt.xml\": Read-only file system"), std::string::npos)
        << errors[1];
    EXPECT_EQ(contentOf(folder / "x.abt"), "old");
    EXPECT_EQ(contentOf(folder / "x.BAK"), "older");
    EXPECT_EQ(contentOf(folder / "SettingsAbt.xml"), "old export");
}

TEST_F(SaveFiles, AFullDiskIsReportedAndKeepsTheOldFiles) {
    if (!mountTinyFileSystem()) GTEST_SKIP() << "needs the right to mount a file system";
    writeFile(folder / "x.abt", "old");
    writeFile(folder / "x.BAK", "older");
    fillUntilFree(0);
    auto errors = save("x.abt");
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("x.abt\": No space left on device"), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find("SettingsAbt.xml"), std::string::npos) << errors[1];
    EXPECT_EQ(contentOf(folder / "x.abt"), "old");
    EXPECT_EQ(contentOf(folder / "x.BAK"), "older");
    EXPECT_EQ(namesIn(folder), (std::set<std::string>{"x.abt", "x.BAK", "filler"}));

    // Room for the configuration but not for its backup: still nothing replaced.
    std::string big(20000, 'o');
    fs::remove(folder / "filler");
    writeFile(folder / "x.abt", big);
    fillUntilFree(8192);  // room for the new configuration, not for the backup
    errors = save("x.abt");
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors[0].find("x.BAK\": No space left on device"), std::string::npos) << errors[0];
    EXPECT_EQ(contentOf(folder / "x.abt"), big);
    EXPECT_EQ(contentOf(folder / "x.BAK"), "older");
}

TEST_F(SaveFiles, ExtensionDispatchIsCaseSensitiveOnTheFileName) {
    EXPECT_EQ(files::fileKindOf("/a/b/fw.enc"), FileKind::Update);
    EXPECT_EQ(files::fileKindOf("conf.abt"), FileKind::Configuration);
    EXPECT_EQ(files::fileKindOf("x.ABT"), FileKind::Other);
    EXPECT_EQ(files::fileKindOf("x.abt.txt"), FileKind::Other);
    EXPECT_EQ(files::fileKindOf("/dir.abt/x"), FileKind::Other);
    EXPECT_EQ(files::fileKindOf("noextension"), FileKind::Other);
}

TEST_F(SaveFiles, OpeningReadsAtMostTheBuffer) {
    TransmitBuffer buffer;
    buffer.append("previous");
    EXPECT_EQ(files::loadIntoBuffer("missing.abt", buffer).status, LoadStatus::CannotOpen);

    writeFile(folder / "long.abt", std::string(4097, 'x'));
    files::LoadResult r = files::loadIntoBuffer("long.abt", buffer);
    EXPECT_EQ(r.status, LoadStatus::TooLong);
    EXPECT_NE(r.message.find("long.abt"), std::string::npos);
    EXPECT_EQ(buffer.view(), "previous");

    fs::create_directory(folder / "dir.abt");
    EXPECT_EQ(files::loadIntoBuffer("dir.abt", buffer).status, LoadStatus::ReadFailed);

    writeFile(folder / "full.abt", std::string(4096, 'y'));
    EXPECT_EQ(files::loadIntoBuffer("full.abt", buffer).status, LoadStatus::Loaded);
    EXPECT_EQ(buffer.length(), 4096);
}

TEST_F(SaveFiles, ASavedFileOpensToTheSameControls) {
    controls.setUtf8("ETl3", "Пост №2");
    controls.setItemIndex("CBNmbPress", 1);
    controls.setChecked("ChSim1ForVoice5", true);
    controls.setPosition("TrackBar1", 15);
    ASSERT_TRUE(save("round").empty());

    TransmitBuffer buffer;
    ASSERT_EQ(files::loadIntoBuffer("round.abt", buffer).status, LoadStatus::Loaded);
    MapControls opened;
    files::readAbt(buffer.data(), buffer.length(), opened);
    EXPECT_EQ(opened.utf8("ETl3"), "Пост №2");
    EXPECT_EQ(opened.itemIndex("CBNmbPress"), 1);
    EXPECT_TRUE(opened.checked("ChSim1ForVoice5"));
    EXPECT_EQ(opened.position("TrackBar1"), 15);
}

}  // namespace
