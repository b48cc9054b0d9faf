// Hostile answers from the terminal, end to end over a pty: whatever arrives, the window stays
// whole, the export of what was received still parses (or is refused once, writing nothing), and
// the next Read fills the controls again.
#include <iostream>

#include "FaultMatrix.h"

namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;
using faults::slurp;

class Answers : public faults::TerminalFixture {
  protected:
    void SetUp() override { startSimulator(); }
};

// Each answer to a Read in turn: its own check, then File > Save keeps the export sound (or is
// refused once, naming the field), and the next Read fills the controls again.
TEST_F(Answers, HostileAnswersLeaveTheWindowWorking) {
    const auto quiet = [&] { EXPECT_TRUE(messages.shown().empty()) << messages.texts()[0]; };
    const struct {
        const char* what;
        std::string answer;
        std::function<void()> check;
        const char* refusalNames = nullptr;
        std::vector<const char*> exported = {};
    } cases[] = {
        {"2048 bytes of junk", faults::garbage(2048, 8),
         [&] {
             quiet();
             EXPECT_NE(form1->Label35->text(), "0");
         }},
        {"values of 4 KB",
         "TL1=" + std::string(4096, '7') + ":APN=" + std::string(4096, 'n') + ":TL2=short:",
         [&] {
             EXPECT_LE(form1->ETl[0]->text().size(), 2048);
             EXPECT_LE(form1->EApn1->text().size(), 2048);
         }},
        {"no colon at all", "TL1=+7900TL2=12345APN=netREG=A",  // emptied by the Read, never filled
         [&] {
             quiet();
             EXPECT_TRUE(form1->ETl[0]->text().isEmpty());
             EXPECT_TRUE(form1->EApn1->text().isEmpty());
         }},
        {"NUL and 0xFF", "TL1=a\0b\xFF:TL2=\xFF\xFF:APN=\0:"s,  // a NUL cannot go into XML
         [&] {
             EXPECT_EQ(form1->ETl[1]->text(), "яя");
             EXPECT_EQ(form1->ETl[0]->text().size(), 4);
         },
         "TL1"},
        {"a byte the code page lacks",
         "TL3=a\x98z:", [&] { EXPECT_EQ(form1->ETl[2]->text().size(), 3); }, "TL3"},
        {"markup",
         "TL1=<&>\"':APN=a&b<c/>:",
         [&] { EXPECT_EQ(form1->ETl[0]->text(), "<&>\"'"); },
         nullptr,
         {"&lt;&amp;&gt;\"'", "a&amp;b&lt;c/&gt;"}},
        {"repeated keys", "TL1=first:TL1=second:APN=one:TL1=third:APN=two:", [&] {
             EXPECT_EQ(form1->ETl[0]->text(), "first");
             EXPECT_EQ(form1->EApn1->text(), "one");
         }}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        messages.clear();
        const unsigned answered = mode->scriptedAnswered();
        mode->answerNextWith(c.answer);
        form1->ReadTLBClick();
        ASSERT_TRUE(apptest::pumpUntil([&] { return mode->scriptedAnswered() == answered + 1; }));
        ASSERT_TRUE(apptest::pumpUntil([&] { return form2->CommPort1->InBuffUsed() == 0; }));
        apptest::pumpFor(200ms);
        c.check();
        expectSaveKeepsXmlSound();
        if (c.refusalNames) {
            ASSERT_FALSE(messages.shown().empty());
            EXPECT_NE(messages.texts().back().find(c.refusalNames), std::string::npos)
                << messages.texts().back();
        }
        const std::string xml = slurp(folder.path() / "SettingsAbt.xml");
        for (const char* text : c.exported) EXPECT_NE(xml.find(text), std::string::npos) << xml;
        expectReadStillWorks();
    }
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
    const auto lastDue = mode->flood("TL1=1:TL2=22:APN=flood:", count);
    ASSERT_TRUE(apptest::pumpUntil([&] { return sim::Clock::now() > lastDue; },
                                   std::chrono::milliseconds(count) + 30s));
    ASSERT_TRUE(apptest::pumpUntil([&] { return form2->CommPort1->InBuffUsed() == 0; }));
    apptest::pumpFor(200ms);
    EXPECT_EQ(form1->EApn1->text(), "flood");
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_GT(receptions, count / 10);  // most were handled one by one, none made the window stall
    std::cout << "  " << count << " chunks sent, " << receptions << " receptions handled\n";
    form2->OnReplyReceived = handOver;
    expectSaveKeepsXmlSound();
    expectReadStillWorks();
}

}  // namespace
