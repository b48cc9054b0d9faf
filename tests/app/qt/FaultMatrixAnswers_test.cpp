// Hostile answers from the terminal, end to end over a pty: whatever arrives, the window stays
// whole, the export of what was received still parses (or is refused once, writing nothing), and
// the next Read fills the controls again.
#include <QLabel>
#include <QLineEdit>
#include <iostream>
#include <random>

#include "FaultMatrix.h"
#include "protocol/Cp1251.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

class Answers : public faults::TerminalFixture {
protected:
    void SetUp() override { startSimulator(); }

    // A Read, answered with `bytes`; returns once they have been handed over and handled.
    void answerReadWith(const std::string& bytes) {
        mode->answerNextWith(bytes);
        form1->ReadTLBClick();
        ASSERT_TRUE(apptest::pumpUntil([&] { return mode->scriptedAnswered() == 1; }));
        ASSERT_TRUE(apptest::pumpUntil([&] { return form2->CommPort1->InBuffUsed() == 0; }));
        apptest::pumpFor(200ms);
    }

    void expectStillWorking() {
        expectSaveKeepsXmlSound();
        expectReadStillWorks();
    }
};

TEST_F(Answers, ALongReceptionOfJunkIsIgnored) {
    std::mt19937 random(8);
    std::string junk(2048, '\0');
    for (char& c : junk) c = static_cast<char>(random());
    answerReadWith(junk);
    EXPECT_TRUE(messages.shown().empty()) << messages.texts()[0];
    EXPECT_NE(form1->Label35->text(), "0");
    expectStillWorking();
}

TEST_F(Answers, ValuesLongerThanAReceptionLeaveTheControlsBounded) {
    answerReadWith("TL1=" + std::string(4096, '7') + ":APN=" + std::string(4096, 'n') + ":TL2=short:");
    EXPECT_LE(form1->ETl[0]->text().size(), 2048);
    EXPECT_LE(form1->EApn1->text().size(), 2048);
    // A text over the request buffer refuses the save with one message; nothing is half written.
    expectStillWorking();
}

TEST_F(Answers, ItemsWithoutAnyColonChangeNothing) {
    answerReadWith("TL1=+7900TL2=12345APN=netREG=A");
    EXPECT_TRUE(form1->ETl[0]->text().isEmpty());  // emptied by the Read, never filled
    EXPECT_TRUE(form1->EApn1->text().isEmpty());
    EXPECT_TRUE(messages.shown().empty());
    expectStillWorking();
}

TEST_F(Answers, NulAndFfBytesStayInTheirValues) {
    answerReadWith("TL1=a\0b\xFF:TL2=\xFF\xFF:APN=\0:"s);
    EXPECT_EQ(form1->ETl[1]->text(), QString::fromUtf8("яя"));
    EXPECT_EQ(form1->ETl[0]->text().size(), 4);
    // A NUL cannot go into XML: the save is refused once, naming the field, and writes nothing.
    expectSaveKeepsXmlSound();
    ASSERT_FALSE(messages.shown().empty());
    EXPECT_NE(messages.texts().back().find("TL1"), std::string::npos) << messages.texts().back();
    expectReadStillWorks();
}

// 0x98 has no character in the code page: shown as a stand-in, and a save refused once.
TEST_F(Answers, AByteTheCodePageLacksIsShownAndRefusedOnSave) {
    answerReadWith("TL3=a\x98z:");
    EXPECT_EQ(form1->ETl[2]->text().size(), 3);
    expectSaveKeepsXmlSound();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_NE(messages.texts()[0].find("TL3"), std::string::npos) << messages.texts()[0];
    expectReadStillWorks();
}

TEST_F(Answers, MarkupCharactersAreEscapedInTheExport) {
    answerReadWith("TL1=<&>\"':APN=a&b<c/>:");
    EXPECT_EQ(form1->ETl[0]->text(), "<&>\"'");
    expectSaveKeepsXmlSound();
    const std::string xml = faults::slurp(folder.path() / "SettingsAbt.xml");
    EXPECT_NE(xml.find("&lt;&amp;&gt;\"'"), std::string::npos) << xml;
    EXPECT_NE(xml.find("a&amp;b&lt;c/&gt;"), std::string::npos) << xml;
    expectReadStillWorks();
}

TEST_F(Answers, ARepeatedKeyTakesItsFirstValue) {
    answerReadWith("TL1=first:TL1=second:APN=one:TL1=third:APN=two:");
    EXPECT_EQ(form1->ETl[0]->text(), "first");
    EXPECT_EQ(form1->EApn1->text(), "one");
    expectStillWorking();
}

// A reception every millisecond (1 s here, the full 10 s with VIGIL_SOAK_FULL=1).
TEST_F(Answers, AFloodOfReceptionsLeavesTheWindowWorking) {
    const unsigned count = std::getenv("VIGIL_SOAK_FULL") ? 10000 : 1000;
    unsigned receptions = 0;
    const auto handOver = form2->OnReplyReceived;
    form2->OnReplyReceived = [&](TForm2* f) {
        ++receptions;
        handOver(f);
    };
    mode->flood("TL1=1:TL2=22:APN=flood:", count);
    ASSERT_TRUE(apptest::pumpUntil([&] { return !mode->flooding(); }, std::chrono::milliseconds(count) + 30s));
    ASSERT_TRUE(apptest::pumpUntil([&] { return form2->CommPort1->InBuffUsed() == 0; }));
    apptest::pumpFor(200ms);
    EXPECT_EQ(form1->EApn1->text(), "flood");
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_GT(receptions, count / 10);  // most were handled one by one, none made the window stall
    std::cout << "  " << count << " chunks sent, " << receptions << " receptions handled\n";
    form2->OnReplyReceived = handOver;
    expectStillWorking();
}

}  // namespace
