#pragma once
// SendRequest's composition: the password prefix, the groups and commands of the request mask,
// "End:". Composing only reads the controls; the sent controls are emptied afterwards, so a
// request refused (":" in a text, a character cp1251 lacks, more than 4096 bytes) or not sent
// because the port is closed changes nothing.
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "protocol/ControlAccess.h"
#include "protocol/ItemComposer.h"
#include "protocol/ParameterTable.h"
#include "protocol/TransmitBuffer.h"

namespace protocol {

inline constexpr std::string_view kPassword = "Vostel";

// Request mask bits, and the masks the handlers assign.
namespace mask {
inline constexpr std::uint16_t Access = 0x0001;
inline constexpr std::uint16_t Internet = 0x0002;
inline constexpr std::uint16_t Phones = 0x0080;
inline constexpr std::uint16_t Erase = 0x0100;
inline constexpr std::uint16_t Settings = 0x0200;
inline constexpr std::uint16_t MonitorOn = 0x0400;
inline constexpr std::uint16_t MonitorOff = 0x0800;
inline constexpr std::uint16_t Read = 0x0000;
inline constexpr std::uint16_t WriteAll = 0x0283;
}  // namespace mask

// The write groups in the order a request sends them; the commands of the mask go between the
// settings group and the phones group.
struct WriteGroupItems {
    std::uint16_t bit;
    std::span<const Parameter* const> items;
};
inline constexpr WriteGroupItems kWriteGroupsInRequestOrder[] = {
    {mask::Settings, kSettingsGroup},
    {mask::Phones, kPhonesGroup},
    {mask::Internet, kInternetGroup},
    {mask::Access, kAccessGroup},
};

struct ComposedRequest : ComposeResult {
    bool clearsAll = false;              // a read: every parameter control is emptied
    std::vector<const Parameter*> sent;  // the controls to empty, in the order they were sent
};

// Composes the request of `requestMask` into `buffer` (length 0 when refused). Reads only.
ComposedRequest composeRequest(const ControlAccess& controls, std::uint16_t requestMask,
                               TransmitBuffer& buffer);

// Empties what `request` read or sent, in the order of the request. Nothing for a refusal.
void applyEmptying(ControlAccess& controls, const ComposedRequest& request);

// Both steps; `requestMask` is 0 afterwards, sent or refused. The caller checks that the port is
// open before, sends buffer on ok and shows the message otherwise.
ComposeResult buildRequest(ControlAccess& controls, std::uint16_t& requestMask,
                           TransmitBuffer& buffer);

}  // namespace protocol
