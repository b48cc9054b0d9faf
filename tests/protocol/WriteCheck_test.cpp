// Write verification and value comparison: what an answer refilled, what differs, and how the
// operator is told.
#include "protocol/WriteCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "protocol/AssignmentRecorder.h"
#include "protocol/FieldCaptions.h"
#include "protocol/RequestBuilder.h"
#include "protocol/ResponseParser.h"
#include "protocol/ValueStore.h"
#include "support/MapControls.h"

namespace {

using namespace protocol;

const Parameter& at(std::string_view control) {
    return *findByControl(control);
}

void parse(std::string_view answer, ControlAccess& controls) {
    parseReception(reinterpret_cast<const std::uint8_t*>(answer.data()),
                   static_cast<std::uint16_t>(answer.size()), controls);
}

// A value of every form, away from the start-up state.
void fillEveryForm(ControlAccess& c) {
    c.setText(at("ETl3"), "+7 916 \xEF\xF0\xE8");
    c.setChecked(at("ChSim1ForP2"), true);
    c.setItemIndex(at("CBGet2"), 1);
    c.setItemIndex(at("CBNmbPress"), 0);
    c.setItemIndex(at("RadioGroup1"), 4);
    c.setPosition(at("TrackBar1"), 12);
}

TEST(WriteCheck, EmptiedValuesComeBackExactlyThroughTheirLinkForm) {
    for (bool windowLike : {true, false}) {
        test::MapControls map;
        ValueStore store;
        ControlAccess& c = windowLike ? static_cast<ControlAccess&>(map) : store;
        fillEveryForm(c);
        const std::vector<const Parameter*> all = parametersOfMask(mask::WriteAll);
        const ValueSnapshot before = snapshotValues(c, all);
        for (const Parameter* p : all) emptyControl(c, *p);
        c.setPosition(at("TrackBar1"), 0);

        // A value the answer already refilled is kept; everything else comes back.
        c.setText(at("ETl1"), "answered");
        restoreValues(c, before, {byControl("ETl1")});
        EXPECT_EQ(c.text(at("ETl1")), "answered");
        c.setText(at("ETl1"), "");
        EXPECT_TRUE(verifyValues(before, c, {all.begin(), all.end()}).empty());
        EXPECT_EQ(c.itemIndex(at("CBNmbPress")), 0);
        EXPECT_EQ(c.itemIndex(at("CBGet1")), kNoSelection);
    }
}

TEST(WriteCheck, AnAnswerIsCheckedValueByValueAgainstWhatWasSent) {
    ValueStore screen;
    screen.setText(at("ETl1"), "+79160001122");
    screen.setText(at("ETl2"), "+79160003344");
    screen.setChecked(at("ChSim1ForP1"), true);
    const ValueSnapshot sent = snapshotValues(screen, parametersOfMask(mask::Phones));
    ASSERT_EQ(sent.size(), 25u);

    // The terminal kept a shortened TL2, answered SMS1EN=0 and never answered the rest.
    AssignmentRecorder recorder(screen);
    for (const SentValue& v : sent) emptyControl(screen, *v.parameter);
    parse("TL1=+79160001122:TL2=+7916:SMS1EN=0:SMS2EN=0:", recorder);
    EXPECT_TRUE(recorder.assigned().count(byControl("ChSim1ForP2")));  // a "0" counts as answered

    const std::vector<ValueMismatch> bad = verifyValues(sent, screen, recorder.assigned());
    ASSERT_EQ(bad.size(), 23u);  // TL2, SMS1EN, and 21 values without an answer
    EXPECT_EQ(mismatchLine(bad[0]),
              "поле \"Телефон 2: Номер\" (TL2) на вкладке \"Телефоны\": отправлено "
              "\"+79160003344\", получено \"+7916\"");
    EXPECT_EQ(bad[1].parameter, byControl("ETl3"));
    EXPECT_EQ(
        mismatchLine(bad[1]),
        "поле \"Телефон 3: Номер\" (TL3) на вкладке \"Телефоны\": отправлено \"\", нет ответа");
    const auto sms1 = std::find_if(bad.begin(), bad.end(), [](const ValueMismatch& m) {
        return m.parameter == byControl("ChSim1ForP1");
    });
    ASSERT_NE(sms1, bad.end());
    EXPECT_EQ(sms1->actual, "0");
}

TEST(WriteCheck, MaskGroupsFollowTheRequestAndComparisonsNameBothSides) {
    // The parameters of "write all" in the order of the request's items.
    ValueStore c;
    TransmitBuffer buffer;
    ASSERT_TRUE(composeRequest(c, mask::WriteAll, buffer).ok);
    std::string keys;
    for (const Parameter* p : parametersOfMask(mask::WriteAll))
        keys += std::string(p->writeKey) + "_";
    std::string request(reinterpret_cast<const char*>(buffer.data()), buffer.length());
    std::string fromRequest;
    for (std::size_t at = request.find(':') + 1, colon;
         (colon = request.find(':', at)) != std::string::npos; at = colon + 1) {
        const std::string item = request.substr(at, colon - at);
        if (item != "End") fromRequest += item.substr(0, item.find('=') + 1) + "_";
    }
    EXPECT_EQ(keys, fromRequest);
    EXPECT_TRUE(parametersOfMask(mask::Read).empty());

    // Screen against terminal over every parameter: read-only values and lists differ too.
    ValueStore terminal;
    fillEveryForm(terminal);
    terminal.setText(at("EIdCod"), "004512");
    std::vector<const Parameter*> every;
    for (const Parameter& p : kParameters) every.push_back(&p);
    std::vector<std::string> lines;
    for (const ValueMismatch& m : compareValues(c, terminal, every))
        lines.push_back(mismatchLine(m, "на экране", "в терминале"));
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "поле \"Телефон 3: Номер\" (TL3) на вкладке \"Телефоны\": на экране \"\", "
                         "в терминале \"+7 916 при\"",
                         "поле \"Телефон 2: sms\" (SMS2EN) на вкладке \"Телефоны\": на экране "
                         "\"0\", в терминале \"1\"",
                         "поле \"Сервер 2: Протокол\" (GET2) на вкладке \"Интернет\": на экране "
                         "\"/\", в терминале \"1\"",
                         "поле \"Код ид.\" (IDCOD) на вкладке \"Доступ\": на экране \"\", в "
                         "терминале \"004512\"",
                         "поле \"Чувствительность микрофона\" (REG) на вкладке \"Настройки\": на "
                         "экране \"2\", в терминале \"C\"",
                         "поле \"Нажатий кнопки \"Тревога\"\" (NMBPRESS) на вкладке \"Настройки\": "
                         "на экране \"0\", в терминале \"1\"",
                         "поле \"Режимы сна модуля GPS\" (COORD) на вкладке \"Настройки\": на "
                         "экране \"/\", в терминале \"4\"",
                     }));
}

TEST(ValueStore, HoldsOnlyWhatAControlCould) {
    ValueStore s;
    s.setItemIndex(at("CBGet1"), 2);  // two items
    s.setItemIndex(at("RadioGroup1"), 4);
    s.setPosition(at("TrackBar1"), 16);
    s.setText(at("CBGet1"), "x");  // not an edit
    EXPECT_EQ(s.itemIndex(at("CBGet1")), kNoSelection);
    EXPECT_EQ(s.itemIndex(at("RadioGroup1")), 4);
    EXPECT_EQ(s.position(at("TrackBar1")), kTrackBarInitial);
    EXPECT_FALSE(s.writeControlsEnabled());
    parse("APN=internet:", s);
    EXPECT_TRUE(s.writeControlsEnabled());
}

}  // namespace

// Every parameter is named by a caption of its own, and the module's number as the issue shows it.
TEST(FieldCaptions, EveryFieldHasItsOwnCaption) {
    std::set<std::string> seen;
    for (const Parameter& p : kParameters) {
        const std::string caption = fieldCaption(p);
        if (p.control != "EApn1") {  // "APN" is both
            EXPECT_NE(caption + "=", std::string(p.answerKey)) << p.name;
        }
        EXPECT_TRUE(seen.insert(caption).second) << caption;
    }
    EXPECT_EQ(fieldName(*byControl("ETl9")),
              "поле \"Телефон модуля\" (TL9) на вкладке \"Телефоны\"");
    EXPECT_EQ(fieldCaption(*byControl("EditPort4")), "Сервер 4: Порт");
}
