// Files that are not what they should be, opened and saved through the window: empty, too long,
// garbage, a folder, unreadable; saving where nothing can be written, or onto what is no file.
// Each case tells the operator at most once, leaves every file as it was, and the next good file
// still works.
#include <fcntl.h>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <set>

#include "FaultMatrix.h"

namespace {

namespace fs = std::filesystem;
using faults::garbage;
using faults::slurp;
using faults::writeFile;

std::string hexImage(std::size_t payloadBytes) {
    return sim::hexText(sim::makeImage(apptest::pattern(payloadBytes)));
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// File checks run as an ordinary user on this thread (root reads and writes anything): the
// file-system user id is per thread, and leaving 0 drops the override capabilities with it.
struct AsNobody {
    AsNobody() { ::setfsuid(65534); }
    ~AsNobody() { ::setfsuid(0); }
};

class FileFaults : public apptest::WindowFixture {
  protected:
    FileFaults() {
        // An ordinary user may pass through the folder, as through a home directory.
        fs::permissions(folder.path(),
                        fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
        form1->ETl[0]->setText("kept");
        form1->EApn1->setText("internet");
    }
    ~FileFaults() override {
        if (mounted_) ::umount2(tiny().c_str(), MNT_DETACH);
    }

    void expectControlsKept() {
        EXPECT_EQ(form1->ETl[0]->text(), "kept");
        EXPECT_EQ(form1->EApn1->text(), "internet");
    }
    void expectUpgrade(std::size_t length, bool enabled) {
        EXPECT_EQ(form1->Image.ImageLength, length);
        EXPECT_EQ(form1->BUpgrade->isEnabled(), enabled);
    }
    // A good update file still loads and enables the upgrade, silently.
    void expectUpdateStillLoads() {
        const std::size_t before = messages.shown().size();
        open("good.enc", hexImage(300));
        expectUpgrade(304, true);
        EXPECT_EQ(messages.shown().size(), before);
    }

    fs::path tiny() const { return folder.path() / "tiny"; }
    // A 64 KB file system of this thread's own at tiny(); false where mounting is not allowed.
    bool mountTinyFileSystem() {
        fs::create_directory(tiny());
        mounted_ = ::unshare(CLONE_NEWNS) == 0 &&
                   ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
                   ::mount("tmpfs", tiny().c_str(), "tmpfs", 0, "size=64k") == 0;
        return mounted_;
    }
    // A save into `where` as x.abt over an old x.abt, x.BAK (and export): both refused, each
    // naming its file and `why`, and the old files and nothing else are there afterwards.
    void expectSaveRefusedKeepingOldFiles(const fs::path& where, const std::string& why,
                                          std::set<std::string> names) {
        const auto texts = messages.texts();
        ASSERT_EQ(texts.size(), 2u);
        EXPECT_NE(texts[0].find("x.abt\": " + why), std::string::npos) << texts[0];
        EXPECT_NE(texts[1].find("SettingsAbt.xml"), std::string::npos) << texts[1];
        EXPECT_EQ(slurp(where / "x.abt"), "old");
        EXPECT_EQ(slurp(where / "x.BAK"), "older");
        EXPECT_EQ(namesIn(where), names);
    }

  private:
    bool mounted_ = false;
};

TEST_F(FileFaults, ConfigurationFilesThatAreEmptyTooLongOrGarbage) {
    open("empty.abt", "");
    EXPECT_TRUE(messages.shown().empty());
    expectControlsKept();
    for (std::size_t size : {5u * 1024, 300u * 1024}) {
        messages.clear();
        const auto p = open("long.abt", std::string(size, 'x'));
        ASSERT_EQ(messages.shown().size(), 1u) << size;
        EXPECT_NE(messages.texts()[0].find("длиннее 4096 байт"), std::string::npos)
            << messages.texts()[0];
        expectControlsKept();
        EXPECT_EQ(fs::file_size(p), size);
    }
    // Whatever garbage sets, the window can still save it, or refuses once and writes nothing.
    messages.clear();
    const std::string bytes = garbage(4000, 3) + ":TL1=x\x01y:APN=<&>:";
    EXPECT_EQ(slurp(open("garbage.abt", bytes)), bytes);
    EXPECT_TRUE(messages.shown().empty());
    expectSaveKeepsXmlSound();
    expectUpdateStillLoads();
}

TEST_F(FileFaults, UpdateFilesThatAreEmptyLargeOrGarbage) {
    open("empty.enc", "");  // nothing to send: no upload
    expectUpgrade(0, false);
    for (std::size_t payload : {2000u, 150000u}) {  // 5 KB and 300 KB of good text load whole
        open("fw.enc", hexImage(payload));
        expectUpgrade((payload + 1039) / 1040 * 4 + payload, true);
    }
    EXPECT_TRUE(messages.shown().empty());
    open("huge.enc", hexImage(300000));  // past the image buffer: one message, nothing to upgrade
    EXPECT_EQ(messages.shown().size(), 1u);
    expectUpgrade(0, false);
    expectUpdateStillLoads();

    messages.clear();
    const std::string bytes = garbage(5000, 4);
    EXPECT_EQ(slurp(open("garbage.enc", bytes)), bytes);
    // Either a record error, or no hex at all: an empty image, nothing to send.
    EXPECT_EQ(messages.shown().size(), form1->Image.ImageLength == 0 ? 0u : 1u);
    EXPECT_FALSE(form1->BUpgrade->isEnabled());
    open("text.enc", "version 2\n");  // no hex from its first character: an empty image
    expectUpgrade(0, false);
    expectUpdateStillLoads();
    expectControlsKept();
}

TEST_F(FileFaults, AFolderInsteadOfAFileIsAFileError) {
    const std::vector<std::string> fileError{
        "Can't perform one of the following file operations: Open, Seek, Read, Close."};
    for (const char* name : {"dir.abt", "dir.enc"}) {
        messages.clear();
        fs::create_directory(folder.path() / name);
        openPath(folder.path() / name);
        ASSERT_EQ(messages.texts(), fileError) << name;
        EXPECT_EQ(messages.shown()[0].caption, "File Error");
    }
    EXPECT_FALSE(form1->BUpgrade->isEnabled());
    expectControlsKept();
    expectUpdateStillLoads();
}

// A FIFO would hold the window until something wrote to it, a device such as /dev/zero would feed
// it without end, and an endless-looking update text is refused by its size: each is named in one
// message, and what was loaded before stays.
TEST_F(FileFaults, AFifoADeviceOrAHugeFileIsRefusedWithoutReadingIt) {
    open("good.enc", hexImage(300));
    const fs::path fifo = folder.path() / "pipe.abt", fifoEnc = folder.path() / "pipe.enc";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(fifoEnc.c_str(), 0644), 0);
    std::vector<fs::path> refused{fifo, fifoEnc};
    if (::geteuid() == 0) {
        const fs::path zero = folder.path() / "zero.enc";
        ASSERT_EQ(::mknod(zero.c_str(), S_IFCHR | 0666, ::makedev(1, 5)), 0);
        refused.push_back(zero);
    }
    const fs::path huge = folder.path() / "huge-text.enc";
    writeFile(huge, "");
    fs::resize_file(huge, 1u << 30);  // sparse: no room taken
    refused.push_back(huge);
    for (const fs::path& path : refused) {
        messages.clear();
        openPath(path);
        ASSERT_EQ(messages.texts().size(), 1u) << path;
        EXPECT_EQ(messages.texts()[0].rfind("Файл \"" + path.string() + "\" не открыт: ", 0), 0u)
            << messages.texts()[0];
    }
    expectControlsKept();
    expectUpgrade(304, true);
}

// A file that cannot be opened stops the command without a word, as designed; nothing changes.
TEST_F(FileFaults, AnUnreadableFileChangesNothing) {
    const auto abt = folder.path() / "secret.abt", enc = folder.path() / "secret.enc";
    writeFile(abt, "TL1=other:");
    writeFile(enc, hexImage(100));
    fs::permissions(abt, fs::perms::none);
    fs::permissions(enc, fs::perms::none);
    {
        AsNobody nobody;
        const int probe = ::open(abt.c_str(), O_RDONLY | O_CLOEXEC);
        if (probe >= 0) ::close(probe);
        ASSERT_LT(probe, 0) << "the file-system user did not change";
        openPath(abt);
        openPath(enc);
    }
    EXPECT_TRUE(messages.shown().empty());
    expectControlsKept();
    expectUpgrade(0, false);
    expectUpdateStillLoads();
}

TEST_F(FileFaults, SavingIntoAReadOnlyFolderKeepsTheOldFiles) {
    const fs::path locked = folder.path() / "locked";
    fs::create_directory(locked);
    writeFile(locked / "x.abt", "old");
    writeFile(locked / "x.BAK", "older");
    writeFile(locked / "SettingsAbt.xml", "old export");
    fs::permissions(locked, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
    {
        AsNobody nobody;
        dialogs->answers.push_back((locked / "x").string());
        form1->Save1Click();
    }
    expectSaveRefusedKeepingOldFiles(locked, "Permission denied",
                                     {"x.abt", "x.BAK", "SettingsAbt.xml"});
    EXPECT_NE(messages.texts().back().find("SettingsAbt.xml\": Permission denied"),
              std::string::npos);
    EXPECT_EQ(slurp(locked / "SettingsAbt.xml"), "old export");
    messages.clear();
    expectSaveKeepsXmlSound();
}

// File -> Save through a link onto a device node says so and leaves both be (files/ tests the
// other kinds).
TEST_F(FileFaults, SavingThroughALinkOntoADeviceReplacesNothing) {
    if (::geteuid() != 0) GTEST_SKIP() << "a device node needs root";
    const fs::path device = folder.path() / "null", link = folder.path() / "dev.abt";
    ASSERT_EQ(::mknod(device.c_str(), S_IFCHR | 0666, ::makedev(1, 3)), 0);
    fs::create_symlink(device, link);
    dialogs->answers.push_back(link.string());
    form1->Save1Click();
    ASSERT_FALSE(messages.texts().empty());
    EXPECT_EQ(messages.texts()[0], "Не удалось записать файл \"" + link.string() +
                                       "\": ссылка ведёт на \"" + device.string() +
                                       "\", а это устройство, а не обычный файл");
    EXPECT_TRUE(fs::is_character_file(device));
    EXPECT_TRUE(fs::is_symlink(link));
}

TEST_F(FileFaults, SavingOntoAFullFileSystemKeepsTheOldFiles) {
    if (!mountTinyFileSystem()) GTEST_SKIP() << "needs the right to mount a file system";
    writeFile(tiny() / "x.abt", "old");
    writeFile(tiny() / "x.BAK", "older");
    {
        std::ofstream filler(tiny() / "filler", std::ios::binary);
        const std::string block(4096, 'f');
        while (filler.write(block.data(), block.size())) {
        }
    }
    dialogs->answers.push_back((tiny() / "x.abt").string());
    form1->Save1Click();
    expectSaveRefusedKeepingOldFiles(tiny(), "No space left on device",
                                     {"x.abt", "x.BAK", "filler"});

    messages.clear();
    expectSaveKeepsXmlSound();
}

}  // namespace
