// The link and the upload with the real message boxes held open by an operator stand-in and the
// real timers running, over a pty to the simulated terminal. These take seconds to a minute each
// (the 5-second wait of every upload, boxes held for as long as the operator would).
#include "RealBoxes.h"

#include <algorithm>

#include "update/FirmwareUpload.h"

namespace {

using namespace std::chrono_literals;
using realboxes::RealBoxFixture;

const char* const kLinkBroken = "Разрыв соединения";
const std::string kNoAnswerPrefix = "Не отвечает COM";

bool anyStartsWith(const std::vector<std::string>& texts, const std::string& prefix) {
    return std::any_of(texts.begin(), texts.end(),
                       [&](const std::string& t) { return t.rfind(prefix, 0) == 0; });
}

class RealBoxes : public RealBoxFixture {};

// The adapter is pulled at record 5 while the operator reads the box for 3 s, and again for 10 s:
// one box that also says the update stopped at record 5 with the terminal in its bootloader, the
// link closed for good, BUpgrade back, the lost link in panel 1; then a new upload over the
// replugged adapter goes through.
TEST_F(RealBoxes, UnplugDuringAnUploadShowsOneBoxAndANewUploadWorks) {
    for (const auto hold : {3s, 10s}) {
        SCOPED_TRACE(hold.count());
        sim::BootloaderOptions unplugging;
        unplugging.unplugAtRecord = 5;
        plugIn(std::make_unique<sim::BootloaderMode>(unplugging));
        loadImage(20000);
        boxOperator.holdFor(hold);
        const std::size_t before = boxOperator.texts().size();
        ASSERT_TRUE(upload());
        EXPECT_TRUE(simulator->unplugged());
        const std::string unfinished =
            update::unfinishedText(5, imageRecords().size(), "нажмите \"Програм.\"");
        EXPECT_EQ(std::vector<std::string>(boxOperator.texts().begin() + static_cast<long>(before),
                                           boxOperator.texts().end()),
                  std::vector<std::string>{kLinkBroken + ("\n" + unfinished)});
        EXPECT_EQ(form1->panelText(1), QString::fromUtf8(update::kLinkLostText));
        EXPECT_EQ(form1->panelText(0), QString::fromUtf8("Отключено"));
        EXPECT_EQ(TImageList::imageIndex(form1->ToolButton1), 0);
        apptest::pumpFor(300ms);
        EXPECT_FALSE(form2->CommPort1->Open());  // and no attempt to open it again

        plugIn(std::make_unique<sim::BootloaderMode>());
        ASSERT_TRUE(upload());
        EXPECT_EQ(form1->panelText(1), QString::fromUtf8(update::kSuccessVersion01Text));
        EXPECT_EQ(mode->records(), imageRecords());
    }
    EXPECT_EQ(boxOperator.mostOpenAtOnce(), 1u);
    EXPECT_EQ(closesInsideDelivery, 0);
}

// The terminal chatters until the first record, and a box comes up inside a delivery in the
// middle of the upload; the operator leaves it open 45 s. The upload runs on and winds up under
// it; nothing hangs and no close runs inside a delivery.
TEST_F(RealBoxes, ABoxAskedForInsideADeliveryWaitsForItAndHangsNothing) {
    sim::BootloaderOptions chatter;
    chatter.chatterMs = 50;
    plugIn(std::make_unique<sim::BootloaderMode>(chatter));
    loadImage(20000);
    bool raised = false;
    auto deliver = form2->CommPort1->OnDataReceived;
    form2->CommPort1->OnDataReceived = [&, deliver](TCommPort* port, std::uint32_t count) {
        if (!raised && form1->uploadRunning() && count > 0) {
            raised = true;
            platform::messages().show("held", "", platform::MessageIcon::None,
                                      platform::MessageButtons::Ok);
        }
        deliver(port, count);
    };
    boxOperator.holdFor(45s);
    ASSERT_TRUE(upload(90s));
    EXPECT_TRUE(raised);
    EXPECT_EQ(boxOperator.texts(), std::vector<std::string>{"held"});
    EXPECT_EQ(closesInsideDelivery, 0);
    // Chatter that slipped in after the first record tells the terminal is not in its bootloader.
    if (form1->panelText(1) != QString::fromUtf8(update::kNotBootloaderText)) {
        EXPECT_EQ(form1->panelText(1), QString::fromUtf8(update::kSuccessVersion01Text));
        EXPECT_EQ(mode->records(), imageRecords());
    }
}

// Everything that sends a request (File > Compare with the terminal too), pressed over and over
// during an upload (the 5-second wait included), and every tab shown: the bootloader gets the
// image's records, each once, and nothing else. The Write buttons come back as they were.
TEST_F(RealBoxes, RequestButtonsAndTabsSendNothingDuringAnUpload) {
    sim::BootloaderOptions slow;
    slow.lateMs = 150;  // every record: the upload takes a few seconds
    plugIn(std::make_unique<sim::BootloaderMode>(slow));
    loadImage(20000);
    form1->enableWriteControls();
    QPushButton* const buttons[] = {form1->ReadInternetB, form1->WriteInternetB, form1->ReadApnB,
                                    form1->WriteApnB,     form1->Button1,        form1->ReadTLB,
                                    form1->WriteTLB,      form1->ReadGpsB,       form1->ReadMicB,
                                    form1->WriteMicB};
    int presses = 0;
    QTimer presser;
    QObject::connect(&presser, &QTimer::timeout, [&] {
        if (!form1->uploadLocked()) {  // the upload is over: from here requests may go again
            presser.stop();
            return;
        }
        for (QPushButton* b : buttons) b->click();
        form1->ToolButton6->click();
        form1->Open1->trigger();
        form1->CompareWithTerminal->trigger();
        // The handlers themselves too, as a shortcut would run them.
        form1->ReadTLBClick();
        form1->WriteTLBClick();
        form1->Button1Click();
        form1->ToolButton6Click();
        form1->CompareWithTerminalClick();
        form1->ToolButton1Click();  // connecting early in the 5-second wait
        EXPECT_FALSE(form1->ToolButton1->isEnabled());
        EXPECT_FALSE(form2->isEnabled());  // no other port either
        form1->PageControl1->setCurrentIndex(presses % form1->PageControl1->count());
        ++presses;
    });
    presser.start(50);
    ASSERT_TRUE(upload());
    presser.stop();
    EXPECT_GT(presses, 100);
    EXPECT_EQ(form1->panelText(1), QString::fromUtf8(update::kSuccessVersion01Text));
    EXPECT_EQ(mode->records(), imageRecords());
    // The records' read before the link closed, then the records only.
    EXPECT_EQ(simulator->receivedBytes(),
              "$Pass=Vostel:End:" + std::string(image.begin(), image.end()));
    EXPECT_TRUE(boxOperator.texts().empty());
    for (QPushButton* b : buttons) EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
    EXPECT_TRUE(form1->ToolButton6->isEnabled());
    EXPECT_TRUE(form1->Open1->isEnabled());
    EXPECT_TRUE(form1->ToolButton1->isEnabled());
    EXPECT_TRUE(form2->isEnabled());
}

// The second record's answer comes half a second after its time-out, inside the grace: it is that
// record's answer, and the record is not sent again.
TEST_F(RealBoxes, ALateAcknowledgementInsideTheGraceIsNotRepeated) {
    loadImage(1500);  // records of 1044 and 464 bytes
    const int timeout = update::FirmwareUpload::recordTimeoutMs(464, 9600);
    sim::BootloaderOptions late;
    late.lateRecords = {2};
    late.lateMs = static_cast<unsigned>(timeout + update::kLateAnswerGraceMs / 2);
    plugIn(std::make_unique<sim::BootloaderMode>(late));
    ASSERT_TRUE(upload());
    EXPECT_EQ(form1->panelText(1), QString::fromUtf8(update::kSuccessVersion01Text));
    EXPECT_EQ(mode->records(), imageRecords());
    EXPECT_TRUE(boxOperator.texts().empty());
}

// The terminal's monitor output is still on when the upload opens the link: the bytes the open
// discards are no silent answer. (Chatter that slips in after the first record ends the upload
// as a terminal not in its bootloader; the operator then tries again.)
TEST_F(RealBoxes, AnUploadStartedWhileTheTerminalChattersReportsNoSilence) {
    sim::BootloaderOptions chatter;
    chatter.chatterMs = 50;
    loadImage(20000);
    for (int attempt = 0; attempt < 3; ++attempt) {
        plugIn(std::make_unique<sim::BootloaderMode>(chatter));
        apptest::pumpFor(300ms);
        ASSERT_TRUE(upload());
        if (form1->panelText(1) == QString::fromUtf8(update::kSuccessVersion01Text)) break;
    }
    EXPECT_EQ(form1->panelText(1), QString::fromUtf8(update::kSuccessVersion01Text));
    EXPECT_EQ(mode->records(), imageRecords());
    EXPECT_FALSE(anyStartsWith(boxOperator.texts(), kNoAnswerPrefix));
    EXPECT_TRUE(boxOperator.texts().empty());
}

// An update file without records leaves nothing to send: BUpgrade stays disabled, and even run
// by hand the upload sends nothing and claims no success over a left-over acknowledgement.
TEST_F(RealBoxes, NothingToSendIsNoSuccess) {
    plugIn(std::make_unique<sim::BootloaderMode>());
    open("empty.enc", "");
    EXPECT_FALSE(form1->BUpgrade->isEnabled());
    form1->ReceiveBuffer[0] = update::kAcceptVersion01;
    form1->BUpgradeClick();
    ASSERT_TRUE(apptest::pumpUntil([&] { return !form1->uploadLocked(); }, 15s));
    EXPECT_EQ(form1->panelText(1), "");
    EXPECT_FALSE(form1->BUpgrade->isEnabled());
    EXPECT_TRUE(simulator->receivedBytes().empty());
    EXPECT_TRUE(boxOperator.texts().empty());
}

}  // namespace
