// Files that are not what they should be, opened and saved through the window: empty, too long,
// garbage, a folder, unreadable; saving where nothing can be written. Each case tells the
// operator at most once, leaves every file as it was, and the next good file still works.
#include <fcntl.h>
#include <sched.h>
#include <sys/fsuid.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <QLineEdit>
#include <QPushButton>
#include <random>
#include <set>

#include "FaultMatrix.h"
#include "tools/EncFile.h"

namespace {

namespace fs = std::filesystem;
using faults::slurp;
using faults::writeFile;

const char* const kFileError = "Can't perform one of the following file operations: Open, Seek, Read, Close.";
constexpr uid_t kNobody = 65534;

std::string garbage(std::size_t n, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(random());
    return bytes;
}

std::set<std::string> namesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename());
    return names;
}

// File checks run as an ordinary user on this thread (root reads and writes anything): the
// file-system user id is per thread, and leaving 0 drops the override capabilities with it.
class AsNobody {
public:
    AsNobody() { ::setfsuid(kNobody); }
    ~AsNobody() { ::setfsuid(0); }
};

class FileFaults : public faults::SaveCheck<apptest::WindowFixture> {
protected:
    FileFaults() {
        // An ordinary user may pass through the folder, as through a home directory.
        fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::others_exec | fs::perms::group_exec);
        form1->ETl[0]->setText("kept");
        form1->EApn1->setText("internet");
    }
    ~FileFaults() override {
        if (mounted_) ::umount2(tiny().c_str(), MNT_DETACH);
    }

    fs::path put(const std::string& name, const std::string& bytes) {
        const fs::path p = folder.path() / name;
        writeFile(p, bytes);
        return p;
    }
    void open(const fs::path& p) {
        dialogs->answers.push_back(p.string());
        form1->Open1Click();
    }
    void expectControlsKept() {
        EXPECT_EQ(form1->ETl[0]->text(), "kept");
        EXPECT_EQ(form1->EApn1->text(), "internet");
    }
    // A good update file still loads and enables the upgrade.
    void expectUpdateStillLoads() {
        const std::size_t before = messages.shown().size();
        open(put("good.enc", sim::hexText(sim::makeImage(std::vector<std::uint8_t>(300, 0x5A)))));
        EXPECT_EQ(form1->Image.ImageLength, 304u);
        EXPECT_TRUE(form1->BUpgrade->isEnabled());
        EXPECT_EQ(messages.shown().size(), before);
    }
    std::string hexImage(std::size_t payloadBytes) {
        std::vector<std::uint8_t> payload(payloadBytes);
        for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 7 + 3);
        return sim::hexText(sim::makeImage(payload));
    }

    fs::path tiny() const { return folder.path() / "tiny"; }
    // A few-kilobyte file system of this thread's own at tiny(); false where mounting is not allowed.
    bool mountTinyFileSystem() {
        fs::create_directory(tiny());
        if (::unshare(CLONE_NEWNS) != 0) return false;
        if (::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
        if (::mount("tmpfs", tiny().c_str(), "tmpfs", 0, "size=64k") != 0) return false;
        mounted_ = true;
        return true;
    }

private:
    bool mounted_ = false;
};

TEST_F(FileFaults, ConfigurationFilesThatAreEmptyTooLongOrGarbage) {
    const auto empty = put("empty.abt", "");
    open(empty);
    EXPECT_TRUE(messages.shown().empty());
    expectControlsKept();

    for (std::size_t size : {5u * 1024, 300u * 1024}) {
        messages.clear();
        const auto p = put("long.abt", std::string(size, 'x'));
        open(p);
        ASSERT_EQ(messages.shown().size(), 1u) << size;
        EXPECT_NE(messages.texts()[0].find("длиннее 4096 байт"), std::string::npos) << messages.texts()[0];
        expectControlsKept();
        EXPECT_EQ(fs::file_size(p), size);
    }

    // Whatever garbage sets, the window can still save it, or refuses once and writes nothing.
    messages.clear();
    const std::string bytes = garbage(4000, 3) + ":TL1=x\x01y:APN=<&>:";
    const auto p = put("garbage.abt", bytes);
    open(p);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(slurp(p), bytes);
    expectSaveKeepsXmlSound();
    expectUpdateStillLoads();
}

TEST_F(FileFaults, UpdateFilesThatAreEmptyLargeOrGarbage) {
    // No records at all pass the check: the upload then ends at once without sending.
    open(put("empty.enc", ""));
    EXPECT_EQ(form1->Image.ImageLength, 0u);
    EXPECT_TRUE(form1->BUpgrade->isEnabled());
    EXPECT_TRUE(messages.shown().empty());

    // 5 KB and 300 KB of good text load whole.
    for (std::size_t payload : {2000u, 150000u}) {
        const std::string text = hexImage(payload);
        open(put("fw.enc", text));
        EXPECT_EQ(form1->Image.ImageLength, (payload + 1039) / 1040 * 4 + payload) << text.size();
        EXPECT_TRUE(form1->BUpgrade->isEnabled());
    }
    EXPECT_TRUE(messages.shown().empty());

    // Past the image buffer: one message, nothing to upgrade.
    open(put("huge.enc", hexImage(300000)));
    EXPECT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(form1->Image.ImageLength, 0u);
    EXPECT_FALSE(form1->BUpgrade->isEnabled());
    expectUpdateStillLoads();

    messages.clear();
    const std::string bytes = garbage(5000, 4);
    const auto p = put("garbage.enc", bytes);
    open(p);
    // Either a record error, or no hex at all: an empty image, which passes.
    EXPECT_EQ(messages.shown().size(), form1->Image.ImageLength == 0 ? 0u : 1u);
    EXPECT_EQ(form1->BUpgrade->isEnabled(), form1->Image.ImageLength == 0);
    EXPECT_EQ(slurp(p), bytes);

    // Text that is no hex from its first character is an empty image.
    open(put("text.enc", "version 2\n"));
    EXPECT_EQ(form1->Image.ImageLength, 0u);
    EXPECT_TRUE(form1->BUpgrade->isEnabled());
    expectUpdateStillLoads();
    expectControlsKept();
}

TEST_F(FileFaults, AFolderInsteadOfAFileIsAFileError) {
    fs::create_directory(folder.path() / "dir.abt");
    fs::create_directory(folder.path() / "dir.enc");
    open(folder.path() / "dir.abt");
    ASSERT_EQ(messages.texts(), std::vector<std::string>{kFileError});
    EXPECT_EQ(messages.shown()[0].caption, "File Error");
    expectControlsKept();
    messages.clear();
    open(folder.path() / "dir.enc");
    EXPECT_EQ(messages.texts(), std::vector<std::string>{kFileError});
    EXPECT_FALSE(form1->BUpgrade->isEnabled());
    expectUpdateStillLoads();
}

// A file that cannot be opened stops the command without a word, as designed; nothing changes.
TEST_F(FileFaults, AnUnreadableFileChangesNothing) {
    const auto abt = put("secret.abt", "TL1=other:");
    const auto enc = put("secret.enc", hexImage(100));
    fs::permissions(abt, fs::perms::none);
    fs::permissions(enc, fs::perms::none);
    {
        AsNobody nobody;
        const int probe = ::open(abt.c_str(), O_RDONLY | O_CLOEXEC);
        if (probe >= 0) ::close(probe);
        ASSERT_LT(probe, 0) << "the file-system user did not change";
        open(abt);
        open(enc);
    }
    EXPECT_TRUE(messages.shown().empty());
    expectControlsKept();
    EXPECT_EQ(form1->Image.ImageLength, 0u);
    EXPECT_FALSE(form1->BUpgrade->isEnabled());
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
    const auto texts = messages.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("x.abt\": Permission denied"), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find("SettingsAbt.xml\": Permission denied"), std::string::npos) << texts[1];
    EXPECT_EQ(slurp(locked / "x.abt"), "old");
    EXPECT_EQ(slurp(locked / "x.BAK"), "older");
    EXPECT_EQ(slurp(locked / "SettingsAbt.xml"), "old export");
    EXPECT_EQ(namesIn(locked), (std::set<std::string>{"x.abt", "x.BAK", "SettingsAbt.xml"}));
    messages.clear();
    expectSaveKeepsXmlSound();
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
    const auto texts = messages.texts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_NE(texts[0].find("x.abt\": No space left on device"), std::string::npos) << texts[0];
    EXPECT_NE(texts[1].find("SettingsAbt.xml"), std::string::npos) << texts[1];
    EXPECT_EQ(slurp(tiny() / "x.abt"), "old");
    EXPECT_EQ(slurp(tiny() / "x.BAK"), "older");
    EXPECT_EQ(namesIn(tiny()), (std::set<std::string>{"x.abt", "x.BAK", "filler"}));

    // Room again: the same save goes through and keeps the old file as its backup.
    fs::remove(tiny() / "filler");
    messages.clear();
    dialogs->answers.push_back((tiny() / "x.abt").string());
    form1->Save1Click();
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(slurp(tiny() / "x.BAK"), "old");
    EXPECT_TRUE(faults::xmlParses(tiny() / "SettingsAbt.xml"));
}

}  // namespace
