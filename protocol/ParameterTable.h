#pragma once
// The terminal's parameter set, written down once. Every request, answer, .abt file and server
// export takes its keys, value forms and orders from here; nothing else spells a key.
//
// Walk `kParameters` to see every parameter; the `k...` orders below are the fixed sequences in
// which the request builder, the answer parse, the file writer/reader and the export visit them.
#include <algorithm>
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/Catalogue.h"

namespace protocol {

// How a value travels between its key's "=" and the closing ":".
enum class ValueForm {
    Text,             // the control's text, byte for byte
    Flag,             // "0" unticked, "1" ticked
    IndexDigit,       // '0' + item index, "/" for no selection
    PressCountDigit,  // '1' + item index, "0" for no selection
    HexDigit,         // track bar position as one upper-case hex digit
};

enum class WriteGroup { None, Phones, Internet, Access, Settings };

enum class ControlKind { Edit, CheckBox, ComboBox, RadioGroup, TrackBar };

// Tab indexes of PageControl1.
enum Tab : int {
    TabInternet = 0,
    TabAccess = 1,
    TabPhones = 2,
    TabGps = 3,
    TabSettings = 4,
    TabUpdate = 5,
    TabMonitor = 6,
};
inline constexpr std::array<std::string_view, 7> kTabCaptions = {
    VIGIL_TRANSLATABLE("TForm1", "Интернет"),  VIGIL_TRANSLATABLE("TForm1", "Доступ"),
    VIGIL_TRANSLATABLE("TForm1", "Телефоны"),  "GPS",
    VIGIL_TRANSLATABLE("TForm1", "Настройки"), VIGIL_TRANSLATABLE("TForm1", "Обновить"),
    VIGIL_TRANSLATABLE("TForm1", "Монитор")};
// A page's caption as the main window shows it, in the chosen language.
std::string tabCaption(int tab);

struct Parameter {
    std::string_view name;      // e.g. "Phone1"
    std::string_view control;   // objectName of the main-window control, e.g. "ETl1"
    std::string_view writeKey;  // mixed-case request key with "=", empty when never written
    std::string_view
        answerKey;             // upper-case key the terminal answers with (also the file reader's)
    std::string_view fileKey;  // key in an .abt file, empty when not stored
    std::string_view xmlTag;   // element name in the server export, empty when not exported
    ValueForm form;            // form in requests, answers and the export
    WriteGroup group;
    ControlKind kind;
    int itemCount;  // items of a combo box / radio group; positions of a track bar; else 0
    int tab;        // tab index holding the control
};

inline constexpr int kTrackBarMin = 0;
inline constexpr int kTrackBarMax = 15;
inline constexpr int kTrackBarInitial = 2;
inline constexpr int kNoSelection = -1;

namespace table_detail {
using enum ValueForm;
using enum WriteGroup;
using enum ControlKind;

// clang-format off
inline constexpr std::array<Parameter, 63> kParameters = {{
    {"Phone1", "ETl1", "TL1=", "TL1=", "TL1=", "tel1", Text, Phones, Edit, 0, TabPhones},
    {"Phone2", "ETl2", "TL2=", "TL2=", "TL2=", "tel2", Text, Phones, Edit, 0, TabPhones},
    {"Phone3", "ETl3", "TL3=", "TL3=", "TL3=", "tel3", Text, Phones, Edit, 0, TabPhones},
    {"Phone4", "ETl4", "TL4=", "TL4=", "TL4=", "tel4", Text, Phones, Edit, 0, TabPhones},
    {"Phone5", "ETl5", "TL5=", "TL5=", "TL5=", "tel5", Text, Phones, Edit, 0, TabPhones},
    {"Phone6", "ETl6", "TL6=", "TL6=", "TL6=", "tel6", Text, Phones, Edit, 0, TabPhones},
    {"Phone7", "ETl7", "TL7=", "TL7=", "TL7=", "tel7", Text, Phones, Edit, 0, TabPhones},
    {"Phone8", "ETl8", "TL8=", "TL8=", "TL8=", "tel8", Text, Phones, Edit, 0, TabPhones},
    {"ModulePhone", "ETl9", "TL9=", "TL9=", "TL9=", "tel9", Text, Phones, Edit, 0, TabPhones},

    {"SmsEnable1", "ChSim1ForP1", "Sms1En=", "SMS1EN=", "Sms1En=", "Sms1En", Flag, Phones, CheckBox, 0, TabPhones},
    {"SmsEnable2", "ChSim1ForP2", "Sms2En=", "SMS2EN=", "Sms2En=", "Sms2En", Flag, Phones, CheckBox, 0, TabPhones},
    {"SmsEnable3", "ChSim1ForP3", "Sms3En=", "SMS3EN=", "Sms3En=", "Sms3En", Flag, Phones, CheckBox, 0, TabPhones},
    {"SmsEnable4", "ChSim1ForP4", "Sms4En=", "SMS4EN=", "Sms4En=", "Sms4En", Flag, Phones, CheckBox, 0, TabPhones},
    {"SmsEnable5", "ChSim1ForP5", "Sms5En=", "SMS5EN=", "Sms5En=", "Sms5En", Flag, Phones, CheckBox, 0, TabPhones},
    {"SmsEnable6", "ChSim1ForP6", "Sms6En=", "SMS6EN=", "Sms6En=", "Sms6En", Flag, Phones, CheckBox, 0, TabPhones},
    {"SmsEnable7", "ChSim1ForP7", "Sms7En=", "SMS7EN=", "Sms7En=", "Sms7En", Flag, Phones, CheckBox, 0, TabPhones},
    {"SmsEnable8", "ChSim1ForP8", "Sms8En=", "SMS8EN=", "Sms8En=", "Sms8En", Flag, Phones, CheckBox, 0, TabPhones},

    {"VoiceEnable1", "ChSim1ForVoice1", "Voice1En=", "VOICE1EN=", "Voice1En=", "Voice1En", Flag, Phones, CheckBox, 0, TabPhones},
    {"VoiceEnable2", "ChSim1ForVoice2", "Voice2En=", "VOICE2EN=", "Voice2En=", "Voice2En", Flag, Phones, CheckBox, 0, TabPhones},
    {"VoiceEnable3", "ChSim1ForVoice3", "Voice3En=", "VOICE3EN=", "Voice3En=", "Voice3En", Flag, Phones, CheckBox, 0, TabPhones},
    {"VoiceEnable4", "ChSim1ForVoice4", "Voice4En=", "VOICE4EN=", "Voice4En=", "Voice4En", Flag, Phones, CheckBox, 0, TabPhones},
    {"VoiceEnable5", "ChSim1ForVoice5", "Voice5En=", "VOICE5EN=", "Voice5En=", "Voice5En", Flag, Phones, CheckBox, 0, TabPhones},
    {"VoiceEnable6", "ChSim1ForVoice6", "Voice6En=", "VOICE6EN=", "Voice6En=", "Voice6En", Flag, Phones, CheckBox, 0, TabPhones},
    {"VoiceEnable7", "ChSim1ForVoice7", "Voice7En=", "VOICE7EN=", "Voice7En=", "Voice7En", Flag, Phones, CheckBox, 0, TabPhones},
    {"VoiceEnable8", "ChSim1ForVoice8", "Voice8En=", "VOICE8EN=", "Voice8En=", "Voice8En", Flag, Phones, CheckBox, 0, TabPhones},

    {"ServerIp1", "EditIp1", "Ip1=", "IP1=", "Ip1=", "ip1", Text, Internet, Edit, 0, TabInternet},
    {"ServerIp2", "EditIp2", "Ip2=", "IP2=", "Ip2=", "ip2", Text, Internet, Edit, 0, TabInternet},
    {"ServerIp3", "EditIp3", "Ip3=", "IP3=", "Ip3=", "ip3", Text, Internet, Edit, 0, TabInternet},
    {"ServerIp4", "EditIp4", "Ip4=", "IP4=", "Ip4=", "ip4", Text, Internet, Edit, 0, TabInternet},
    {"ServerPort1", "EditPort1", "Port1=", "PORT1=", "Port1=", "Port1", Text, Internet, Edit, 0, TabInternet},
    {"ServerPort2", "EditPort2", "Port2=", "PORT2=", "Port2=", "Port2", Text, Internet, Edit, 0, TabInternet},
    {"ServerPort3", "EditPort3", "Port3=", "PORT3=", "Port3=", "Port3", Text, Internet, Edit, 0, TabInternet},
    {"ServerPort4", "EditPort4", "Port4=", "PORT4=", "Port4=", "Port4", Text, Internet, Edit, 0, TabInternet},
    {"ConnectPeriod1", "EConnectPeriod1", "CONT1=", "CONT1=", "CONT1=", "Cont1", Text, Internet, Edit, 0, TabInternet},
    {"ConnectPeriod2", "EConnectPeriod2", "CONT2=", "CONT2=", "CONT2=", "Cont2", Text, Internet, Edit, 0, TabInternet},
    {"ConnectPeriod3", "EConnectPeriod3", "CONT3=", "CONT3=", "CONT3=", "Cont3", Text, Internet, Edit, 0, TabInternet},
    {"ConnectPeriod4", "EConnectPeriod4", "CONT4=", "CONT4=", "CONT4=", "Cont4", Text, Internet, Edit, 0, TabInternet},
    {"ServerProtocol1", "CBGet1", "GET1=", "GET1=", "GET1=", "GET1", IndexDigit, Internet, ComboBox, 2, TabInternet},
    {"ServerProtocol2", "CBGet2", "GET2=", "GET2=", "GET2=", "GET2", IndexDigit, Internet, ComboBox, 2, TabInternet},
    {"ServerProtocol3", "CBGet3", "GET3=", "GET3=", "GET3=", "GET3", IndexDigit, Internet, ComboBox, 2, TabInternet},
    {"ServerProtocol4", "CBGet4", "GET4=", "GET4=", "GET4=", "GET4", IndexDigit, Internet, ComboBox, 2, TabInternet},
    {"ServerEnable1", "ChSim1ForIp1", "Ip1En=", "IP1EN=", "Ip1En=", "Ip1En", Flag, Internet, CheckBox, 0, TabInternet},
    {"ServerEnable2", "ChSim1ForIp2", "Ip2En=", "IP2EN=", "Ip2En=", "Ip2En", Flag, Internet, CheckBox, 0, TabInternet},
    {"ServerEnable3", "ChSim1ForIp3", "Ip3En=", "IP3EN=", "Ip3En=", "Ip3En", Flag, Internet, CheckBox, 0, TabInternet},
    {"ServerEnable4", "ChSim1ForIp4", "Ip4En=", "IP4EN=", "Ip4En=", "Ip4En", Flag, Internet, CheckBox, 0, TabInternet},

    {"Apn", "EApn1", "Apn1=", "APN=", "Apn=", "Apn", Text, Access, Edit, 0, TabAccess},
    {"ApnUser", "EAus1", "Aus1=", "AUS=", "Aus=", "Aus", Text, Access, Edit, 0, TabAccess},
    {"ApnPassword", "EApas1", "Apas1=", "APAS=", "Apas=", "Apas", Text, Access, Edit, 0, TabAccess},
    {"BalanceUssd", "EBlSt1", "BlSt1=", "BLST=", "BlSt=", "BlSt", Text, Access, Edit, 0, TabAccess},
    {"BalancePeriod", "EBlTm1", "BlTm1=", "BLTM=", "BlTm=", "BlTm", Text, Access, Edit, 0, TabAccess},
    {"BalanceValue", "EBlVl1", "", "BLVL=", "", "", Text, None, Edit, 0, TabAccess},
    {"BalanceLimit", "ELim1", "", "LIM=", "", "", Text, None, Edit, 0, TabAccess},
    {"IdCode", "EIdCod", "", "IDCOD=", "", "", Text, None, Edit, 0, TabAccess},

    {"MicSensitivity", "TrackBar1", "REG=", "REG=", "REG=", "Mic", HexDigit, Settings, TrackBar, 16, TabSettings},
    {"AlarmPressCount", "CBNmbPress", "NmbPress=", "NMBPRESS=", "NmbPress=", "NmbPress", PressCountDigit, Settings, ComboBox, 2, TabSettings},
    {"GpsSleepMode", "RadioGroup1", "Coord=", "COORD=", "Coord=", "Coord", IndexDigit, Settings, RadioGroup, 5, TabSettings},
    {"MotionSensor", "EAdcCod", "", "ADCCOD=", "", "", Text, None, Edit, 0, TabSettings},

    {"GpsTime", "EGpsTime", "", "GPRMCT=", "", "", Text, None, Edit, 0, TabGps},
    {"GpsDate", "EGpsDate", "", "GPRDAT=", "", "", Text, None, Edit, 0, TabGps},
    {"GpsSpeed", "EGpsSpeed", "", "GPRSPD=", "", "", Text, None, Edit, 0, TabGps},
    {"GpsCourse", "EGpsCog", "", "GPRCOG=", "", "", Text, None, Edit, 0, TabGps},
    {"GpsLatitude", "EGpsLatitude", "", "GPRLAT=", "", "", Text, None, Edit, 0, TabGps},
    {"GpsLongitude", "EGpsLongitude", "", "GPRLON=", "", "", Text, None, Edit, 0, TabGps},
}};
// clang-format on
}  // namespace table_detail
using table_detail::kParameters;

// Compile-time lookups by the parameter's name (the core's) or its window control's name (the
// window's and the tests'): an unknown name does not compile.
consteval const Parameter* byName(std::string_view name) {
    for (const Parameter& p : kParameters)
        if (p.name == name) return &p;
    throw "no parameter has this name";
}
consteval const Parameter* byControl(std::string_view control) {
    for (const Parameter& p : kParameters)
        if (p.control == control) return &p;
    throw "no parameter has this control";
}

template <std::size_t N>
consteval std::array<const Parameter*, N> orderOf(const std::string_view (&names)[N]) {
    std::array<const Parameter*, N> order{};
    for (std::size_t i = 0; i < N; ++i) order[i] = byName(names[i]);
    return order;
}

// Run-time lookups; nullptr when nothing matches.
const Parameter* findByControl(std::string_view control);
const Parameter* findByAnswerKey(std::string_view answerKey);

template <std::size_t... N>
consteval auto join(const std::array<const Parameter*, N>&... parts) {
    std::array<const Parameter*, (N + ...)> all{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), all.begin() + at), at += N), ...);
    return all;
}

// The terminal's identification text (IDCOD=), which tells one unit from another.
inline constexpr const Parameter& kIdCode = *byName("IdCode");

// Runs of parameters that several orders share.
inline constexpr auto kPhoneEdits = orderOf({"Phone1", "Phone2", "Phone3", "Phone4", "Phone5",
                                             "Phone6", "Phone7", "Phone8", "ModulePhone"});
inline constexpr auto kSmsBoxes = orderOf({"SmsEnable1", "SmsEnable2", "SmsEnable3", "SmsEnable4",
                                           "SmsEnable5", "SmsEnable6", "SmsEnable7", "SmsEnable8"});
inline constexpr auto kVoiceBoxes =
    orderOf({"VoiceEnable1", "VoiceEnable2", "VoiceEnable3", "VoiceEnable4", "VoiceEnable5",
             "VoiceEnable6", "VoiceEnable7", "VoiceEnable8"});
inline constexpr auto kServerBoxes =
    orderOf({"ServerEnable1", "ServerEnable2", "ServerEnable3", "ServerEnable4"});
inline constexpr auto kAddressesAndPorts =
    orderOf({"ServerIp1", "ServerPort1", "ServerIp2", "ServerPort2", "ServerIp3", "ServerPort3",
             "ServerIp4", "ServerPort4"});
inline constexpr auto kAddressesThenPorts =
    orderOf({"ServerIp1", "ServerIp2", "ServerIp3", "ServerIp4", "ServerPort1", "ServerPort2",
             "ServerPort3", "ServerPort4"});
inline constexpr auto kPeriodEdits =
    orderOf({"ConnectPeriod1", "ConnectPeriod2", "ConnectPeriod3", "ConnectPeriod4"});
inline constexpr auto kProtocolLists =
    orderOf({"ServerProtocol1", "ServerProtocol2", "ServerProtocol3", "ServerProtocol4"});
inline constexpr auto kGpsEdits =
    orderOf({"GpsTime", "GpsDate", "GpsSpeed", "GpsCourse", "GpsLatitude", "GpsLongitude"});
// Access point and balance texts, as answers and files list them.
inline constexpr auto kAccessTexts = orderOf({"Apn", "ApnUser", "ApnPassword", "BalanceUssd",
                                              "BalancePeriod", "BalanceValue", "BalanceLimit"});

// The twenty enable boxes in list order: servers, SMS, voice.
inline constexpr auto kCheckBoxList = join(kServerBoxes, kSmsBoxes, kVoiceBoxes);

// A read empties these edits, then these lists, then the check box list; the track bar stays.
inline constexpr auto kReadClearingTexts = join(
    kPhoneEdits, kPeriodEdits,
    orderOf({"Apn", "IdCode", "MotionSensor", "ServerIp1", "ServerIp2", "ServerPort1",
             "ServerPort2", "BalanceUssd", "BalanceValue", "BalanceLimit", "BalancePeriod",
             "ServerIp3", "ServerIp4", "ServerPort3", "ServerPort4", "ApnUser", "ApnPassword"}),
    kGpsEdits);
inline constexpr auto kReadClearingLists =
    join(kProtocolLists, orderOf({"AlarmPressCount", "GpsSleepMode"}));

// Write groups, each in the order its items are sent.
inline constexpr auto kSettingsGroup =
    orderOf({"MicSensitivity", "AlarmPressCount", "GpsSleepMode"});
inline constexpr auto kPhonesGroup = join(kPhoneEdits, kSmsBoxes, kVoiceBoxes);
inline constexpr auto kInternetGroup =
    join(kAddressesAndPorts, kPeriodEdits, kProtocolLists, kServerBoxes);
inline constexpr auto kAccessGroup =
    orderOf({"Apn", "ApnUser", "ApnPassword", "BalanceUssd", "BalancePeriod"});

// The answer parse: "REG=" first (its own rule), then texts, item indexes, flags.
inline constexpr auto kAnswerTexts =
    join(kPhoneEdits, kPeriodEdits, kAccessTexts, kAddressesThenPorts,
         orderOf({"IdCode", "MotionSensor"}), kGpsEdits);
inline constexpr auto kAnswerNumbers = kReadClearingLists;
inline constexpr auto kAnswerFlags = kCheckBoxList;

// The 53 items of an .abt file, in the order written.
inline constexpr auto kFileItems =
    join(kPhonesGroup, kAddressesAndPorts, kPeriodEdits, kProtocolLists,
         orderOf({"AlarmPressCount", "GpsSleepMode"}), kServerBoxes, kAccessGroup,
         orderOf({"MicSensitivity"}));
static_assert(kFileItems.size() == 53);

// The .abt reader, in the order applied, with the answer keys; the operation follows the form.
// Unlike the answer parse it skips "ADCCOD=" and reads "REG=" with the hex-digit extractor.
inline constexpr auto kFileReader = join(
    kPhoneEdits, kPeriodEdits, kAccessTexts, kAddressesThenPorts, orderOf({"IdCode"}), kGpsEdits,
    kProtocolLists, orderOf({"AlarmPressCount", "MicSensitivity", "GpsSleepMode"}), kCheckBoxList);

// The press count is stored in a file as a plain index digit; every other form is unchanged.
constexpr ValueForm fileForm(const Parameter& p) {
    return p.form == ValueForm::PressCountDigit ? ValueForm::IndexDigit : p.form;
}

// How messages name a field: its caption (protocol/FieldCaptions.h), its answer key without "="
// and its tab, e.g. поле "Телефон модуля" (TL9) на вкладке "Телефоны" (UTF-8).
std::string fieldName(const Parameter& p);

}  // namespace protocol
