#include "protocol/RequestBuilder.h"

#include <span>

#include "platform/Catalogue.h"

namespace protocol {
namespace {

constexpr const char* kRefused = VIGIL_TRANSLATABLE("RequestBuilder", "Запрос не отправлен.");

struct Command {
    std::uint16_t bit;
    std::string_view item;
};
// Tested in this order, between the settings group and the phones group.
constexpr Command kCommands[] = {
    {mask::Erase, "Eeprom=Erase:"},
    {mask::MonitorOn, "Monitor=On:"},
    {mask::MonitorOff, "Monitor=Off:"},
};

class Composer {
  public:
    Composer(const ControlAccess& controls, TransmitBuffer& buffer, ComposedRequest& result)
        : controls_(controls), buffer_(buffer), result_(result) {}

    bool fixed(std::string_view bytes) {
        if (buffer_.append(bytes)) return true;
        return refuse(ComposeFault::Overflow, nullptr);
    }

    bool group(std::span<const Parameter* const> items) {
        for (const Parameter* p : items) {
            ComposeFault fault = appendItem(buffer_, p->writeKey, controls_, *p, p->form);
            if (fault != ComposeFault::None) return refuse(fault, p);
            result_.sent.push_back(p);
        }
        return true;
    }

  private:
    bool refuse(ComposeFault fault, const Parameter* field) {
        result_.ok = false;
        result_.message =
            refusalMessage(fault, field, platform::translated("RequestBuilder", kRefused));
        return false;
    }

    const ControlAccess& controls_;
    TransmitBuffer& buffer_;
    ComposedRequest& result_;
};

static_assert(kWriteGroupsInRequestOrder[0].bit == mask::Settings,
              "the commands follow the settings group");

bool composeBody(Composer& out, std::uint16_t requestMask, ComposedRequest& result) {
    if (!out.fixed("$Pass=") || !out.fixed(kPassword) || !out.fixed(":")) return false;
    result.clearsAll = requestMask == mask::Read;
    const std::span<const WriteGroupItems> groups = kWriteGroupsInRequestOrder;
    const WriteGroupItems& settings = groups.front();
    if ((requestMask & settings.bit) && !out.group(settings.items)) return false;
    for (const Command& c : kCommands)
        if ((requestMask & c.bit) && !out.fixed(c.item)) return false;
    for (const WriteGroupItems& g : groups.subspan(1))
        if ((requestMask & g.bit) && !out.group(g.items)) return false;
    return out.fixed("End:");
}

}  // namespace

ComposedRequest composeRequest(const ControlAccess& controls, std::uint16_t requestMask,
                               TransmitBuffer& buffer) {
    ComposedRequest result;
    buffer.clear();
    Composer out(controls, buffer, result);
    if (!composeBody(out, requestMask, result)) {
        buffer.clear();
        result.clearsAll = false;
        result.sent.clear();
    }
    return result;
}

void applyEmptying(ControlAccess& controls, const ComposedRequest& request) {
    if (!request.ok) return;
    if (request.clearsAll) {
        for (const Parameter* p : kReadClearingTexts) emptyControl(controls, *p);
        for (const Parameter* p : kReadClearingLists) emptyControl(controls, *p);
        for (const Parameter* p : kCheckBoxList) emptyControl(controls, *p);
    }
    for (const Parameter* p : request.sent) emptyControl(controls, *p);
}

ComposeResult buildRequest(ControlAccess& controls, std::uint16_t& requestMask,
                           TransmitBuffer& buffer) {
    ComposedRequest request = composeRequest(controls, requestMask, buffer);
    requestMask = 0;
    applyEmptying(controls, request);
    return request;
}

}  // namespace protocol
