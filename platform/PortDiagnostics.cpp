#include "platform/PortDiagnostics.h"

#include <sys/stat.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/Catalogue.h"
#include "platform/ProcessTable.h"
#include "platform/UserGroups.h"

namespace platform {

const char* const kOpenFailedText = VIGIL_TRANSLATABLE("Commport", "Не могу открыть COM порт");

namespace {

const char* const kPickAnother =
    VIGIL_TRANSLATABLE("PortDiagnostics", "подключите адаптер или выберите другой порт");

std::string holderText(const ProcessInfo& p) {
    return p.name + " (pid " + std::to_string(p.pid) + ")";
}

std::string baseName(const std::string& path) {
    return path.substr(path.find_last_of('/') + 1);
}

// A UUCP lock file holds the owner's pid, as ten ASCII digits or as a binary int.
int lockFilePid(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (text.empty()) return 0;
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        const long pid = std::strtol(text.c_str() + i, nullptr, 10);
        return pid > 0 && pid <= INT_MAX ? static_cast<int>(pid) : 0;
    }
    if (text.size() == sizeof(int)) {
        int pid = 0;
        std::memcpy(&pid, text.data(), sizeof pid);
        return pid;
    }
    return 0;
}

// The name the device was given and the node it resolves to both may carry a lock file.
std::string lockFileHint(const std::string& path, const DiagnosticSources& src,
                         const ProcessTable& procs) {
    char resolved[4096];
    std::vector<std::string> names = {baseName(path)};
    if (::realpath(path.c_str(), resolved)) names.push_back(baseName(resolved));
    for (const auto& dir : src.lockDirs)
        for (const auto& name : names) {
            const std::string file = dir + "/LCK.." + name;
            struct stat st {};
            if (::stat(file.c_str(), &st) != 0) continue;
            const int pid = lockFilePid(file);
            const std::string owner = procs.nameOf(pid);
            if (owner.empty()) continue;  // a stale lock does not keep us out
            return platform::translated("PortDiagnostics", "его держит ") +
                   holderText({pid, owner}) +
                   platform::translated("PortDiagnostics", " (файл блокировки ") + file +
                   platform::translated("PortDiagnostics",
                                        "): закройте эту программу или выберите другой порт");
        }
    return {};
}

std::string busy(const std::string& path, const DiagnosticSources& src) {
    const ProcessTable procs(src.proc);
    const std::string head = platform::translated("PortDiagnostics", "Порт ") + path +
                             platform::translated("PortDiagnostics", " занят: ");
    const auto holders = procs.holdersOf(path);
    if (!holders.empty()) {
        std::string names;
        for (const auto& h : holders) names += (names.empty() ? "" : ", ") + holderText(h);
        const std::string& first = holders.front().name;
        if (first == "ModemManager")
            return head + platform::translated("PortDiagnostics", "его опрашивает ") + names +
                   platform::translated("PortDiagnostics",
                                        ": подождите полминуты и повторите или запретите "
                                        "ModemManager трогать адаптер "
                                        "(правила udev пакета)");
        if (first == "brltty")
            return head + platform::translated("PortDiagnostics", "его захватил ") + names +
                   platform::translated("PortDiagnostics",
                                        ": удалите пакет brltty (sudo apt remove brltty), если нет "
                                        "брайлевского дисплея");
        return head + platform::translated("PortDiagnostics", "его держит ") + names +
               platform::translated("PortDiagnostics",
                                    ": закройте эту программу или выберите другой порт");
    }
    if (std::string hint = lockFileHint(path, src, procs); !hint.empty()) return head + hint;
    if (const ProcessInfo mm = procs.find("ModemManager"); mm.pid != 0)
        return head + platform::translated("PortDiagnostics", "запущен ") + holderText(mm) +
               platform::translated(
                   "PortDiagnostics",
                   ", он может опрашивать адаптер: подождите полминуты и повторите");
    return head + platform::translated(
                      "PortDiagnostics",
                      "его держит другая программа: закройте её или выберите другой порт");
}

std::string absent(const std::string& path, const DiagnosticSources& src) {
    std::string text = path.empty()
                           ? std::string(platform::translated(
                                 "PortDiagnostics", "Этому порту не назначено устройство: "))
                           : platform::translated("PortDiagnostics", "Устройство ") + path +
                                 platform::translated("PortDiagnostics", " отсутствует: ");
    text += translated("PortDiagnostics", kPickAnother);
    // brltty takes some USB serial adapters (CH340/CH341) away, and their tty vanishes.
    if (const ProcessInfo b = ProcessTable(src.proc).find("brltty"); b.pid != 0)
        text += platform::translated("PortDiagnostics", "; запущен ") + holderText(b) +
                platform::translated("PortDiagnostics",
                                     ", он мог забрать адаптер себе: удалите пакет brltty, если "
                                     "нет брайлевского дисплея");
    return text;
}

std::string denied(const std::string& path, const DiagnosticSources& src) {
    struct stat st {};
    const std::string head =
        platform::translated("PortDiagnostics", "Нет доступа к ") + path + ": ";
    if (::stat(path.c_str(), &st) != 0)
        return head + platform::translated("PortDiagnostics", "проверьте права на устройство");
    // Joining the device's group helps only when the group may read and write it.
    const bool groupMayUse = (st.st_mode & S_IRGRP) && (st.st_mode & S_IWGRP) && st.st_gid != 0;
    if (!groupMayUse)
        return head +
               platform::translated(
                   "PortDiagnostics",
                   "устройство доступно только администратору: установите правила udev пакета "
                   "vigil или попросите администратора дать доступ");
    const GroupStanding g = groupStanding(st.st_gid, src.groupFile);
    if (g.inProcess)
        return head + platform::translated("PortDiagnostics", "права устройства не дают группе ") +
               g.group +
               platform::translated("PortDiagnostics", " читать и писать (sudo chmod g+rw ") +
               path + ")";
    if (g.inGroupFile)
        return head + platform::translated("PortDiagnostics", "пользователь ") + g.user +
               platform::translated("PortDiagnostics", " уже в группе ") + g.group +
               platform::translated(
                   "PortDiagnostics",
                   ", но вошёл в систему до этого: выйдите из системы и войдите снова");
    return head + platform::translated("PortDiagnostics", "добавьте пользователя ") + g.user +
           platform::translated("PortDiagnostics", " в группу ") + g.group + " (sudo usermod -aG " +
           g.group + " " + g.user +
           platform::translated("PortDiagnostics", ") и войдите в систему снова");
}

}  // namespace

std::string describeOpenFailure(const std::string& devicePath, int error,
                                const DiagnosticSources& sources) {
    if (devicePath.empty()) return absent(devicePath, sources);
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return absent(devicePath, sources);
        case EBUSY:
        case EWOULDBLOCK:
            return busy(devicePath, sources);
        case EACCES:
        case EPERM:
            return denied(devicePath, sources);
        case ENOTTY:
            return devicePath +
                   platform::translated("PortDiagnostics",
                                        " не последовательный порт: выберите другой порт");
        case EIO:
            return platform::translated("PortDiagnostics", "Устройство ") + devicePath +
                   platform::translated("PortDiagnostics",
                                        " не отвечает: за ним нет порта, выберите другой");
        default:
            return platform::translated("PortDiagnostics", "Ошибка ") + std::to_string(error) +
                   platform::translated("PortDiagnostics", " при открытии ") + devicePath + " (" +
                   std::strerror(error) + ")";
    }
}

std::string openFailureMessage(const std::string& devicePath, int error) {
    return translated("Commport", kOpenFailedText) + "\n" + describeOpenFailure(devicePath, error);
}

std::string noAnswerText(int comNumber, const std::string& devicePath) {
    std::string port = "COM" + std::to_string(comNumber);
    if (!devicePath.empty())
        port += " (" + (devicePath.starts_with("/dev/") ? devicePath.substr(5) : devicePath) + ")";
    return platform::translated("PortDiagnostics", "Терминал не ответил на ") + port +
           platform::translated("PortDiagnostics",
                                ". Проверьте, что адаптер подключён к терминалу, что выбран порт "
                                "этого адаптера и что "
                                "порт не "
                                "читает другая программа.");
}

}  // namespace platform
