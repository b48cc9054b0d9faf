#pragma once
// One exchange with a terminal as the records keep it: who, where, with what program, what kind of
// exchange and how it ended, the unit and the values that went each way. Texts are UTF-8 (the
// link's Windows-1251 is converted where the values leave the protocol layer).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace records {

enum class Kind { Read, Write, Erase, Upload, Compare, Restore };
enum class Result { Ok, Differs, Silent, Failed, Cancelled };

// Parameter name (as `vigil read --format json` gives it) and its value in answer form.
using Values = std::vector<std::pair<std::string, std::string>>;

struct Difference {
    std::string parameter;
    std::string before;  // what was sent (or what the earlier event held)
    std::string after;   // what the terminal answered
    bool operator==(const Difference&) const = default;
};

struct UploadFacts {
    std::string fileName;
    std::string sha256;  // lower-case hex
    std::int64_t size = 0;
    std::int64_t records = 0;
    std::string outcome;  // the text the operator saw
    bool operator==(const UploadFacts&) const = default;
};

struct Event {
    std::string uuid;
    std::string atUtc;  // ISO 8601 with milliseconds and "Z": sorts as text
    std::string operatorLogin;
    std::string host;
    std::string program;  // "vigil" or "Config_Vigil"
    std::string command;  // the command line, or the window action
    std::string port;     // "COM3"
    std::string adapter;  // the device behind it ("ttyUSB0")
    Kind kind = Kind::Read;
    Result result = Result::Ok;
    std::string unitId;  // session::unitIdentity of idCodText; empty when the terminal was silent
    std::string idCodText;
    std::string ownNumber;  // TL9
    std::string firmwareVersion;
    Values values;  // as the terminal answered
    Values sent;
    std::vector<Difference> differences;
    std::optional<UploadFacts> upload;
    bool operator==(const Event&) const = default;
};

std::string_view kindName(Kind kind);
std::optional<Kind> kindFromName(std::string_view name);
std::string_view resultName(Result result);
std::optional<Result> resultFromName(std::string_view name);

// The firmware version inside an IDCOD= text: the first word after the code that holds a digit
// ("004512 Версия 2.07 Eeprom OK" -> "2.07"); empty when there is none.
std::string firmwareVersionOf(std::string_view idCodText);

// Sets the unit, the whole text and the firmware version from an IDCOD= text.
void setUnit(Event& event, std::string_view idCodText);

// A value of `values` by parameter name; empty when absent.
std::string valueOf(const Values& values, std::string_view parameter);

}  // namespace records
