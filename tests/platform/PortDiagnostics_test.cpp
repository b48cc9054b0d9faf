// The cause line of a failed open, from what the system really shows: a pty held by another
// process, a path that is not there, a device the user may not open; and from fake /proc trees
// for the programs that commonly get in the way.
#include "platform/PortDiagnostics.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/PosixSerialDevice.h"
#include "support/PtyPair.h"

namespace fs = std::filesystem;
using platform::describeOpenFailure;
using platform::DiagnosticSources;

namespace {

// The errno of a real open of `path` and the cause line for it.
std::string diagnose(const std::string& path, const DiagnosticSources& sources = {}) {
    platform::PosixSerialDevice device;
    const int err = device.open(path);
    return err == 0 ? "opened" : describeOpenFailure(path, err, sources);
}

// Runs `job` in a child process and returns what it wrote to its pipe.
std::string inChild(const std::function<std::string()>& job) {
    int out[2];
    if (::pipe(out) != 0) return "pipe failed";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(out[0]);
        const std::string text = job();
        (void)!::write(out[1], text.data(), text.size());
        ::_exit(0);
    }
    ::close(out[1]);
    std::string text;
    char buf[512];
    for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;)
        text.append(buf, static_cast<std::size_t>(n));
    ::close(out[0]);
    ::waitpid(pid, nullptr, 0);
    return text;
}

// A fake /proc with the named processes (pid -> name); a process may hold `heldPath` open.
struct FakeSystem {
    FakeSystem() {
        char name[] = "/tmp/vigil-diag-XXXXXX";
        root = ::mkdtemp(name);
        fs::create_directories(root / "proc");
        fs::create_directories(root / "lock");
        sources.proc = (root / "proc").string();
        sources.lockDirs = {(root / "lock").string()};
    }
    ~FakeSystem() { fs::remove_all(root); }
    void process(int pid, const std::string& name, const std::string& heldPath = "") const {
        const fs::path dir = root / "proc" / std::to_string(pid);
        fs::create_directories(dir / "fd");
        std::ofstream(dir / "comm") << name << "\n";
        if (!heldPath.empty()) fs::create_symlink(heldPath, dir / "fd" / "3");
    }
    fs::path root;
    DiagnosticSources sources;
};

TEST(PortDiagnostics, APortHeldByAnotherProcessNamesItsProgramAndPid) {
    testsupport::PtyPair pty;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        const int fd = ::open(pty.slavePath().c_str(), O_RDWR | O_NOCTTY);
        ::flock(fd, LOCK_EX | LOCK_NB);
        ::prctl(PR_SET_NAME, "vigil-holder");
        (void)!::write(ready[1], "x", 1);
        ::pause();
        ::_exit(0);
    }
    char c;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    const std::string text = diagnose(pty.slavePath());
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(text, "Порт " + pty.slavePath() + " занят: его держит vigil-holder (pid " +
                        std::to_string(holder) +
                        "): закройте эту программу или выберите другой порт");
}

TEST(PortDiagnostics, WhatOtherProgramsDoIsNamedWhereItApplies) {
    EXPECT_EQ(diagnose("/dev/ttyUSB-vigil-absent"),
              "Устройство /dev/ttyUSB-vigil-absent отсутствует: подключите адаптер или выберите "
              "другой порт");
    testsupport::PtyPair pty;
    const std::string dev = pty.slavePath();
    const std::string lock = "LCK.." + fs::path(dev).filename().string();
    const struct {
        const char* what;
        std::function<void(FakeSystem&)> setUp;
        int error;
        std::string path;
        std::string expected;
    } cases[] = {
        {"ModemManager holds it", [&](FakeSystem& s) { s.process(812, "ModemManager", dev); },
         EBUSY, dev,
         "Порт " + dev +
             " занят: его опрашивает ModemManager (pid 812): подождите полминуты и повторите или "
             "запретите ModemManager трогать адаптер (правила udev пакета)"},
        {"brltty holds it", [&](FakeSystem& s) { s.process(90, "brltty", dev); }, EBUSY, dev,
         "Порт " + dev +
             " занят: его захватил brltty (pid 90): удалите пакет brltty (sudo apt remove brltty), "
             "если нет брайлевского дисплея"},
        {"a lock file of a running program",
         [&](FakeSystem& s) {
             s.process(4242, "minicom");
             std::ofstream(s.root / "lock" / lock) << "      4242\n";
         },
         EBUSY, dev,
         "Порт " + dev + " занят: его держит minicom (pid 4242) (файл блокировки " + "LOCKDIR/" +
             lock + "): закройте эту программу или выберите другой порт"},
        {"a stale lock file, ModemManager running",
         [&](FakeSystem& s) {
             s.process(7, "ModemManager");
             std::ofstream(s.root / "lock" / lock) << "      4243\n";
         },
         EBUSY, dev,
         "Порт " + dev +
             " занят: запущен ModemManager (pid 7), он может опрашивать адаптер: подождите "
             "полминуты и повторите"},
        {"an unmapped port", [](FakeSystem&) {}, ENOENT, "",
         "Этому порту не назначено устройство: подключите адаптер или выберите другой порт"},
        {"nobody visible", [](FakeSystem&) {}, EBUSY, dev,
         "Порт " + dev +
             " занят: его держит другая программа: закройте её или выберите другой порт"},
        {"brltty took the adapter away", [](FakeSystem& s) { s.process(90, "brltty"); }, ENOENT,
         "/dev/ttyUSB0",
         "Устройство /dev/ttyUSB0 отсутствует: подключите адаптер или выберите другой порт; "
         "запущен brltty "
         "(pid 90), он мог забрать адаптер себе: удалите пакет brltty, если нет брайлевского "
         "дисплея"},
    };
    for (const auto& c : cases) {
        FakeSystem system;
        c.setUp(system);
        std::string expected = c.expected;
        if (const auto at = expected.find("LOCKDIR"); at != std::string::npos)
            expected.replace(at, 7, system.sources.lockDirs[0]);
        EXPECT_EQ(describeOpenFailure(c.path, c.error, system.sources), expected) << c.what;
    }
}

TEST(PortDiagnostics, PermissionDeniedNamesTheGroupAndWhetherOnlyANewLoginIsMissing) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to open the device as another user";
    testsupport::PtyPair pty;
    // A group of the device's own that only the fake group file below knows.
    const gid_t deviceGroup = 4242;
    ASSERT_EQ(::chown(pty.slavePath().c_str(), 0, deviceGroup), 0);
    ASSERT_EQ(::chmod(pty.slavePath().c_str(), 0660), 0);
    const passwd* nobody = ::getpwnam("nobody");
    ASSERT_NE(nobody, nullptr);
    const uid_t uid = nobody->pw_uid;
    const gid_t gid = nobody->pw_gid;
    FakeSystem system;
    fs::permissions(system.root,
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const std::string groupFile = (system.root / "group").string();
    const auto asNobody = [&](const std::string& members) {
        std::ofstream(groupFile) << "root:x:0:\nvigildev:x:" << deviceGroup << ":" << members
                                 << "\n";
        DiagnosticSources sources;
        sources.groupFile = groupFile;
        return inChild([&] {
            // As a fresh login of an ordinary user would be: no supplementary groups.
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)
                return std::string("setuid failed");
            return diagnose(pty.slavePath(), sources);
        });
    };
    const std::string head = "Нет доступа к " + pty.slavePath() + ": ";
    EXPECT_EQ(asNobody("root"),
              head +
                  "добавьте пользователя nobody в группу vigildev (sudo usermod -aG vigildev "
                  "nobody) и войдите в систему снова");
    EXPECT_EQ(asNobody("root,nobody"),
              head +
                  "пользователь nobody уже в группе vigildev, но вошёл в систему до "
                  "этого: выйдите из системы и войдите снова");
    // A device only its owner may open: no group to join.
    ASSERT_EQ(::chmod(pty.slavePath().c_str(), 0600), 0);
    EXPECT_EQ(asNobody("root,nobody"),
              head +
                  "устройство доступно только администратору: установите правила udev "
                  "пакета vigil или попросите администратора дать доступ");
}

}  // namespace
