// Saving and opening on real files: names, backups, and failures that must keep the old files.
#include "files/SaveFiles.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>
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
using Names = std::set<std::string>;

TEST(SaveFileNames, NameRuleBackupAndDispatch) {
    for (auto [typed, saved] : {std::pair{"config", "config.abt"},
                                {"config.txt", "config.txt"},
                                {"config.ab", "config.ab.abt"},
                                {"a.b", "a.b.abt"},
                                {".abt", ".abt"},
                                {"/d/a.b/x", "/d/a.b/x.abt"}})
        EXPECT_EQ(files::configurationFileName(typed), saved);
    for (auto [file, backup] : {std::pair{"/d/x.abt", "/d/x.BAK"},
                                {"config.ab.abt", "config.ab.BAK"},
                                {"/d.v/x", "/d.v/x.BAK"}})
        EXPECT_EQ(files::backupFileName(file), backup);
    // Case-sensitive, on the file name only.
    for (auto [file, kind] : {std::pair{"/a/b/fw.enc", FileKind::Update},
                              {"conf.abt", FileKind::Configuration},
                              {"x.ABT", FileKind::Other},
                              {"x.abt.txt", FileKind::Other},
                              {"/dir.abt/x", FileKind::Other},
                              {"noextension", FileKind::Other}})
        EXPECT_EQ(files::fileKindOf(file), kind) << file;
}

// Each test works in a fresh folder that is also the current directory, as after a dialog.
class SaveFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/vigil-save-XXXXXX";
        ASSERT_TRUE(mkdtemp(name));
        folder = name;
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
    std::string content(const fs::path& name) const {
        std::stringstream s;
        s << std::ifstream(folder / name, std::ios::binary).rdbuf();
        return s.str();
    }
    void write(const fs::path& name, std::string_view text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
    }
    Names names() const {
        Names all;
        for (const auto& entry : fs::directory_iterator(folder))
            all.insert(entry.path().filename());
        return all;
    }
    // The old x.abt and x.BAK are still there.
    void expectOldFiles(const std::string& abt = "old") const {
        EXPECT_EQ(content("x.abt"), abt);
        EXPECT_EQ(content("x.BAK"), "older");
    }

    // A small file system of our own over the folder, private to this process.
    bool mountTinyFileSystem() {
        if (unshare(CLONE_NEWNS) != 0 ||
            mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            return false;
        fs::current_path(previous);
        mounted = mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
        fs::current_path(folder);
        return mounted;
    }
    // Grows a filler file until at most `bytes` are left free.
    void fillUntilFree(unsigned long bytes) const {
        int fd = open((folder / "filler").c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
        std::string block(4096, 'f');
        struct statvfs st {};
        while (statvfs(folder.c_str(), &st) == 0 && st.f_bavail * st.f_bsize > bytes)
            if (::write(fd, block.data(), block.size()) <= 0) break;
        while (bytes == 0 && ::write(fd, block.data(), 1) > 0) {
        }
        close(fd);
    }

    fs::path folder, previous = fs::current_path();
    bool mounted = false;
    test::MapControls controls;
};

TEST_F(SaveFiles, SavingWritesTheFileAndTheExportAndBacksUpWhatItReplaces) {
    controls.setText("ETl1", "first");
    EXPECT_TRUE(save("x").empty());
    EXPECT_EQ(names(), (Names{"x.abt", "SettingsAbt.xml"}));
    const std::string first = content("x.abt");
    EXPECT_EQ(first.substr(0, 11), "TL1=first:T");
    EXPECT_EQ(content("SettingsAbt.xml").size(), 2060u + 5u);

    controls.setText("ETl1", "second");
    EXPECT_TRUE(save(folder / "x.abt").empty());
    EXPECT_EQ(content("x.BAK"), first);
    const std::string second = content("x.abt");
    // Typed without extension while x.abt exists: that file is the one replaced and backed up.
    controls.setText("ETl1", "third");
    EXPECT_TRUE(save("x").empty());
    EXPECT_EQ(content("x.BAK"), second);
    EXPECT_EQ(content("x.abt").substr(0, 10), "TL1=third:");
    EXPECT_EQ(names(), (Names{"x.abt", "x.BAK", "SettingsAbt.xml"}));
    EXPECT_NE(content("SettingsAbt.xml").find("<tel1>third</tel1>"), std::string::npos);
}

TEST_F(SaveFiles, ContentThatCannotBeSavedTouchesNoFile) {
    write("x.abt", "old");
    write("x.BAK", "older");
    controls.setText("EApn1", "a:b");
    auto errors = save("x.abt");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].find("\"APN\""), std::string::npos) << errors[0];
    expectOldFiles();
    EXPECT_FALSE(fs::exists(folder / "SettingsAbt.xml"));
}

TEST_F(SaveFiles, ASymbolicLinkIsFollowed) {
    fs::create_directory(folder / "real");
    write("real/y.abt", "old");
    fs::create_symlink(folder / "real" / "y.abt", folder / "x.abt");
    EXPECT_TRUE(save("x.abt").empty());
    EXPECT_TRUE(fs::is_symlink(folder / "x.abt"));
    EXPECT_EQ(content("real/y.abt").substr(0, 4), "TL1=");
    EXPECT_EQ(content("x.BAK"), "old");
}

// File -> Save, its backup and the export never replace what is not a regular file, and a link
// that points nowhere yet creates its file where it points.
TEST_F(SaveFiles, OnlyRegularFilesAreReplaced) {
    write("real.abt", "old");
    fs::create_symlink("real.abt", folder / "chain.abt");
    fs::create_symlink("chain.abt", folder / "x.abt");  // a link to a link
    EXPECT_TRUE(save("x.abt").empty());
    EXPECT_TRUE(fs::is_symlink(folder / "x.abt"));
    EXPECT_EQ(content("real.abt").substr(0, 4), "TL1=");
    fs::create_symlink("made/new.abt", folder / "dangling.abt");
    fs::create_directory(folder / "made");
    EXPECT_TRUE(save("dangling.abt").empty());
    EXPECT_EQ(content("made/new.abt").substr(0, 4), "TL1=");

    ASSERT_EQ(mkfifo((folder / "fifo.abt").c_str(), 0644), 0);
    fs::create_directory(folder / "dir.abt");
    fs::create_symlink("loop.abt", folder / "loop.abt");
    ASSERT_EQ(mkfifo((folder / "y.BAK").c_str(), 0644), 0);
    write("y.abt", "old y");
    const struct {
        const char* name;
        std::string says;
    } cases[] = {
        {"fifo.abt", "\": это именованный канал (FIFO), а не обычный файл"},
        {"dir.abt", "\": это папка, а не обычный файл"},
        {"loop.abt", "\": Too many levels of symbolic links"},
        {"y.abt", "y.BAK\": это именованный канал (FIFO), а не обычный файл"},  // the backup
    };
    for (const auto& c : cases) {
        const auto errors = save(c.name);
        ASSERT_EQ(errors.size(), 1u) << c.name;
        EXPECT_EQ(errors[0].rfind("Не удалось записать файл \"", 0), 0u) << errors[0];
        EXPECT_TRUE(errors[0].ends_with(c.says)) << errors[0];
    }
    EXPECT_TRUE(fs::is_fifo(folder / "fifo.abt"));
    EXPECT_EQ(content("y.abt"), "old y");
    fs::remove(folder / "SettingsAbt.xml");
    ASSERT_EQ(mkfifo((folder / "SettingsAbt.xml").c_str(), 0644), 0);
    EXPECT_EQ(save("z.abt").back(),
              "Не удалось записать файл \"SettingsAbt.xml\": это именованный "
              "канал (FIFO), а не обычный файл");
    if (geteuid() != 0) GTEST_SKIP() << "a device node needs root";
    ASSERT_EQ(mknod((folder / "null.abt").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    EXPECT_EQ(save("null.abt").front(),
              "Не удалось записать файл \"null.abt\": это устройство, а не "
              "обычный файл");
    EXPECT_TRUE(fs::is_character_file(folder / "null.abt"));
}

// The window's tests cover a read-only folder and a disk too full for the configuration.
TEST_F(SaveFiles, NoRoomForTheBackupReplacesNothing) {
    if (!mountTinyFileSystem()) GTEST_SKIP() << "needs the right to mount a file system";
    const std::string big(20000, 'o');
    write("x.abt", big);
    write("x.BAK", "older");
    fillUntilFree(8192);  // room for the new configuration, not for the backup
    auto errors = save("x.abt");
    ASSERT_FALSE(errors.empty());
    EXPECT_NE(errors[0].find("x.BAK\": No space left on device"), std::string::npos) << errors[0];
    expectOldFiles(big);
}

TEST_F(SaveFiles, OpeningReadsAtMostTheBuffer) {
    TransmitBuffer buffer;
    buffer.append("previous");
    EXPECT_EQ(files::loadIntoBuffer("missing.abt", buffer).status, LoadStatus::CannotOpen);
    write("long.abt", std::string(4097, 'x'));
    files::LoadResult r = files::loadIntoBuffer("long.abt", buffer);
    EXPECT_EQ(r.status, LoadStatus::TooLong);
    EXPECT_NE(r.message.find("long.abt"), std::string::npos);
    EXPECT_EQ(buffer.view(), "previous");
    fs::create_directory(folder / "dir.abt");
    EXPECT_EQ(files::loadIntoBuffer("dir.abt", buffer).status, LoadStatus::ReadFailed);
    write("full.abt", std::string(4096, 'y'));
    EXPECT_EQ(files::loadIntoBuffer("full.abt", buffer).status, LoadStatus::Loaded);
    EXPECT_EQ(buffer.length(), 4096);
}

}  // namespace
