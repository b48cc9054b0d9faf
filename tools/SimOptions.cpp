#include "tools/SimOptions.h"

#include <cstdlib>
#include <sstream>

namespace sim {

const char* const kSimUsage =
    "vigil-sim [--mode settings|boot|terminal] [--device PATH] [--map COM<n>] [--baud BITS_PER_S]\n"
    " settings: [--settings FILE] [--log FILE] [--order table|reverse|shuffle] [--chunks N]\n"
    "           [--gap MS] [--cut-items] [--delay MS] [--monitor-ms MS] [--password TEXT]\n"
    "           [--mute] [--text-limit N]\n"
    " boot:     [--version 1|2] [--reject N,M..] [--silent N,..] [--double N,..] [--late MS]\n"
    "           [--late-records N,..] [--unplug-at N] [--reject-rate P] [--loss-rate P]\n"
    "           [--reject-byte B] [--image-out FILE]\n"
    " common:   [--seed N]\n"
    "terminal: the settings firmware; after the line was closed and reopened, the bootloader (its\n"
    "          options as boot's), which returns to the settings with the new firmware version.\n"
    "Creates a pty and prints \"PTY <slave path>\" (or serves --device), until SIGINT/SIGTERM.\n";

namespace {

bool number(const std::string& text, unsigned long& out) {
    char* end = nullptr;
    out = std::strtoul(text.c_str(), &end, 0);
    return !text.empty() && *end == '\0';
}

bool numberSet(const std::string& text, std::set<unsigned>& out) {
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, ',')) {
        unsigned long n;
        if (!number(part, n)) return false;
        out.insert(static_cast<unsigned>(n));
    }
    return true;
}

}  // namespace

std::optional<SimOptions> parseSimOptions(const std::vector<std::string>& args,
                                          std::string* error) {
    SimOptions o;
    auto fail = [&](const std::string& why) -> std::optional<SimOptions> {
        if (error) *error = why;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") return fail("usage");
        if (a == "--cut-items" || a == "--mute") {
            (a == "--mute" ? o.settings.mute : o.settings.cutInsideItems) = true;
            continue;
        }
        if (i + 1 >= args.size()) return fail("missing value after " + a);
        const std::string& v = args[++i];
        unsigned long n = 0;
        const bool isNumber = number(v, n);
        const auto u = static_cast<unsigned>(n);
        if (a == "--mode") {
            if (v != "settings" && v != "boot" && v != "terminal") return fail("unknown mode " + v);
            o.mode = v;
        } else if (a == "--device")
            o.device = v;
        else if (a == "--map") {
            if (v.rfind("COM", 0) != 0 || !number(v.substr(3), n) || n == 0)
                return fail("--map wants COM<n>");
            o.mapNumber = static_cast<int>(n);
        } else if (a == "--settings")
            o.settingsFile = v;
        else if (a == "--log")
            o.settings.logFile = v;
        else if (a == "--image-out")
            o.imageOut = v;
        else if (a == "--password")
            o.settings.password = v;
        else if (a == "--order") {
            if (v == "table")
                o.settings.order = SettingsOptions::Order::Table;
            else if (v == "reverse")
                o.settings.order = SettingsOptions::Order::Reverse;
            else if (v == "shuffle")
                o.settings.order = SettingsOptions::Order::Shuffled;
            else
                return fail("unknown order " + v);
        } else if (a == "--reject" || a == "--silent" || a == "--double" || a == "--late-records") {
            std::set<unsigned>& set = a == "--reject"   ? o.boot.rejectRecords
                                      : a == "--silent" ? o.boot.silentRecords
                                      : a == "--double" ? o.boot.doubleAnswerRecords
                                                        : o.boot.lateRecords;
            if (!numberSet(v, set)) return fail("bad record list " + v);
        } else if (a == "--reject-rate" || a == "--loss-rate") {
            char* end = nullptr;
            const double p = std::strtod(v.c_str(), &end);
            if (*end || p < 0 || p > 1) return fail("bad rate " + v);
            (a == "--reject-rate" ? o.boot.rejectRate : o.boot.lossRate) = p;
        } else if (!isNumber) {
            return fail("unknown option or bad number: " + a + " " + v);
        } else if (a == "--baud")
            o.bitsPerSecond = u;
        else if (a == "--chunks")
            o.settings.chunks = u;
        else if (a == "--gap")
            o.settings.gapMs = u;
        else if (a == "--text-limit")
            o.settings.textLimit = u;
        else if (a == "--delay")
            o.settings.answerDelayMs = u;
        else if (a == "--monitor-ms")
            o.settings.monitorIntervalMs = u;
        else if (a == "--version")
            o.boot.acceptByte = u == 2 ? 0x33 : 0x11;
        else if (a == "--reject-byte")
            o.boot.rejectByte = static_cast<std::uint8_t>(u);
        else if (a == "--late")
            o.boot.lateMs = u;
        else if (a == "--unplug-at")
            o.boot.unplugAtRecord = u;
        else if (a == "--seed")
            o.settings.seed = o.boot.seed = u;
        else
            return fail("unknown option " + a);
    }
    return o;
}

}  // namespace sim
