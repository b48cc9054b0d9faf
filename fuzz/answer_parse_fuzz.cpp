// Hostile answers and .abt images: the parse and the file reader must stay inside the data and
// only ever hand the controls values they can hold; a file written from any state must read
// back to that state.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>

#include "files/AbtFile.h"
#include "protocol/ParameterTable.h"
#include "protocol/ResponseParser.h"

namespace {

class CheckedControls : public protocol::ControlAccess {
public:
    std::optional<std::string> text(std::string_view c) const override {
        auto it = texts.find(std::string(c));
        return it == texts.end() ? std::string() : it->second;
    }
    void setText(std::string_view c, std::string_view t) override { texts[std::string(c)] = t; }
    bool checked(std::string_view c) const override { return flags.count(std::string(c)) && flags.at(std::string(c)); }
    void setChecked(std::string_view c, bool on) override { flags[std::string(c)] = on; }
    int itemIndex(std::string_view c) const override {
        auto it = indexes.find(std::string(c));
        return it == indexes.end() ? -1 : it->second;
    }
    void setItemIndex(std::string_view c, int index) override {
        const protocol::Parameter* p = protocol::findByControl(c);
        if (!p || index < -1 || index >= p->itemCount) std::abort();
        indexes[std::string(c)] = index;
    }
    int position(std::string_view) const override { return bar; }
    void setPosition(std::string_view, int p) override {
        if (p < protocol::kTrackBarMin || p > protocol::kTrackBarMax) std::abort();
        bar = p;
    }
    void enableWriteControls() override {}

    std::map<std::string, std::string> texts;
    std::map<std::string, bool> flags;
    std::map<std::string, int> indexes;
    int bar = protocol::kTrackBarInitial;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > protocol::TransmitBuffer::kCapacity) return 0;
    // Copied so that reading one byte past the count is caught by the address sanitizer.
    std::string copy(reinterpret_cast<const char*>(data), size);
    auto count = static_cast<std::uint16_t>(size);
    auto* bytes = reinterpret_cast<const std::uint8_t*>(copy.data());

    CheckedControls answered;
    protocol::parseReception(bytes, count, answered);
    CheckedControls opened;
    files::readAbt(bytes, count, opened);

    // Whatever the reader produced, saving it and reading it back gives the same values.
    protocol::TransmitBuffer buffer;
    if (files::composeAbt(opened, buffer).ok) {
        CheckedControls reopened;
        files::readAbt(buffer.data(), buffer.length(), reopened);
        for (const protocol::Parameter* p : protocol::kFileItems) {
            bool same = opened.text(p->control) == reopened.text(p->control) &&
                        opened.checked(p->control) == reopened.checked(p->control) &&
                        opened.itemIndex(p->control) == reopened.itemIndex(p->control);
            if (!same || opened.bar != reopened.bar) std::abort();
        }
    }
    return 0;
}
