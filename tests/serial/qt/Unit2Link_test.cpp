// The link as the operator sees it: connect and disconnect, sending, receiving, unplugging.
#include <numeric>

#include "Form2Harness.h"
#include "platform/Delivery.h"
#include "platform/FakeSerialDevice.h"

using namespace form2test;

namespace {

const QString kConnected9600 = QString::fromUtf8("Подключено на скорости 9600");
const QString kDisconnect = QString::fromUtf8("Отключить ");
const QString kConnect = QString::fromUtf8("Подключить");
const QString kClosed = QString::fromUtf8("Отключено");
const std::vector<std::string> kBrokenLink = {"Разрыв соединения"};

class Form2LinkTest : public Form2Test {
  protected:
    // A window set to COM5 whose main-window side is recorded; on the scripted device unless a
    // pty is given.
    TForm2& createLinkedForm(const PtyPair* terminal = nullptr) {
        if (terminal) mapPort(5, terminal->slavePath());
        storeSettings(storedDefaults(5));
        TForm2& f = createForm();
        if (!terminal) f.CommPort1->SetDeviceFactory([device = fake] { return device; });
        f.ReceiveBuffer = receiveBuffer.data();
        f.OnLinkStateChanged = [this](TForm2* sender) {
            linkStates.push_back(
                {sender->Label1->text(), sender->Button1->text(), messages.shown().size()});
        };
        f.OnReplyReceived = [this](TForm2* sender) {
            chunks.emplace_back(reinterpret_cast<const char*>(receiveBuffer.data()),
                                sender->ReceivedCount);
        };
        return f;
    }
    bool send(TForm2& f, const std::string& bytes) {
        return f.SendBlock(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                           static_cast<std::uint32_t>(bytes.size()));
    }
    void expectClosed(TForm2& f) {
        EXPECT_EQ(f.Label1->text(), kClosed);
        EXPECT_EQ(f.Button1->text(), kConnect);
        EXPECT_TRUE(f.ComboBox2->isEnabled());
        EXPECT_FALSE(f.AwaitingReply);
    }

    struct LinkState {
        QString label, button;
        std::size_t messagesBefore;
    };
    std::array<std::uint8_t, 4096> receiveBuffer{};
    std::vector<LinkState> linkStates;
    std::vector<std::string> chunks;
    std::shared_ptr<platform::FakeSerialDevice> fake =
        std::make_shared<platform::FakeSerialDevice>();
};

}  // namespace

TEST_F(Form2LinkTest, OverAPtyTheLinkConnectsCarriesBlocksAndDisconnects) {
    PtyPair terminal;
    TForm2& f = createLinkedForm(&terminal);
    f.Button1Click();
    EXPECT_EQ(f.Label1->text(), kConnected9600);
    EXPECT_EQ(f.Button1->text(), kDisconnect);
    EXPECT_FALSE(f.ComboBox2->isEnabled());
    EXPECT_EQ(f.Edit3->text(), QString("1000"));  // the configured read total constant
    ASSERT_EQ(linkStates.size(), 1u);
    EXPECT_EQ(linkStates[0].button, kDisconnect);

    EXPECT_TRUE(send(f, "$Pass=1234:End:"));
    EXPECT_TRUE(f.AwaitingReply);
    EXPECT_EQ(terminal.read(15, 5s), "$Pass=1234:End:");
    terminal.write("Ver=1:");
    std::string answer;
    ASSERT_TRUE(processUntil([&] {
        return (answer = std::accumulate(chunks.begin(), chunks.end(), std::string())).size() >= 6;
    }));
    EXPECT_EQ(answer, "Ver=1:");
    EXPECT_FALSE(f.AwaitingReply);

    f.Button1Click();
    expectClosed(f);
    EXPECT_EQ(linkStates.size(), 2u);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(Form2LinkTest, ASendOnAClosedPortAndAnEmptyDeliveryAreReported) {
    TForm2& f = createLinkedForm();
    EXPECT_FALSE(send(f, "abc"));
    EXPECT_FALSE(f.AwaitingReply);
    ASSERT_EQ(messages.texts(), kBrokenLink);
    EXPECT_EQ(messages.shown()[0].caption, "COM port error");
    EXPECT_EQ(messages.shown()[0].icon, platform::MessageIcon::Error);

    messages.clear();
    f.CommPort1DataReceived(f.CommPort1.get(), 0);
    EXPECT_TRUE(messages.shown().empty());  // nothing was awaited
    f.AwaitingReply = true;
    f.CommPort1DataReceived(f.CommPort1.get(), 0);
    ASSERT_EQ(messages.texts(), std::vector<std::string>{"Не отвечает COM5"});
    EXPECT_EQ(messages.shown()[0].caption, "");
    EXPECT_TRUE(f.isVisible());
    EXPECT_FALSE(f.AwaitingReply);
    EXPECT_TRUE(chunks.empty());
}

// Bytes announced and then discarded by the program's own flush (at open, before a repeated
// record) leave an empty delivery behind: that is no reception, and the reply is still awaited.
TEST_F(Form2LinkTest, AnEmptyDeliveryAfterOurOwnFlushIsNoReception) {
    TForm2& f = createLinkedForm();
    f.AwaitingReply = true;
    f.FlushInput();
    f.CommPort1DataReceived(f.CommPort1.get(), 0);
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_TRUE(f.AwaitingReply);
    f.CommPort1DataReceived(f.CommPort1.get(), 0);  // nothing flushed since
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Не отвечает COM5"});
}

// Inside a delivery neither a box nor the toggle runs: both follow, in order, once it returned.
TEST_F(Form2LinkTest, InsideADeliveryTheBoxAndTheToggleWaitUntilItHasReturned) {
    TForm2& f = createLinkedForm();
    f.Button1Click();
    ASSERT_TRUE(f.CommPort1->Open());
    f.CommPort1DataReceived(f.CommPort1.get(), 0);  // what the open's flush left
    {
        platform::DeliveryScope delivery;
        f.AwaitingReply = true;
        f.CommPort1DataReceived(f.CommPort1.get(), 0);
        f.Button1Click();
        EXPECT_TRUE(messages.shown().empty());
        EXPECT_FALSE(f.isVisible());
    }
    EXPECT_TRUE(f.CommPort1->Open());
    ASSERT_TRUE(processUntil([&] { return !f.CommPort1->Open(); }));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"Не отвечает COM5"});
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.Label1->text(), kClosed);
}

TEST_F(Form2LinkTest, AClosePendingAReplyIsReportedBeforeTheMainWindowHears) {
    TForm2& f = createLinkedForm();
    f.Button1Click();
    ASSERT_TRUE(send(f, "request"));
    f.Button1Click();
    EXPECT_EQ(messages.texts(), kBrokenLink);
    expectClosed(f);
    ASSERT_EQ(linkStates.size(), 2u);
    EXPECT_EQ(linkStates[1].messagesBefore, 1u);

    // A disconnect the main window asks for clears the flag first: no message.
    f.Button1Click();
    ASSERT_TRUE(send(f, "request"));
    f.AwaitingReply = false;
    f.Button1Click();
    EXPECT_EQ(messages.shown().size(), 1u);
}

TEST_F(Form2LinkTest, EachChunkOverwritesTheBufferAndASendFromTheHandlerIsAwaitedAgain) {
    TForm2& f = createLinkedForm();
    f.Button1Click();
    fake->feed("ABCDEFGHIJKLMNOPQRST");
    ASSERT_TRUE(processUntil([&] { return !chunks.empty(); }));
    ASSERT_EQ(chunks, std::vector<std::string>{"ABCDEFGHIJKLMNOPQRST"});
    fake->feed("vwxyz");
    ASSERT_TRUE(processUntil([&] { return chunks.size() == 2; }));
    EXPECT_EQ(f.ReceivedCount, 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(receiveBuffer.data()), 20),
              "vwxyzFGHIJKLMNOPQRST");

    f.OnReplyReceived = [&](TForm2* sender) { send(*sender, "next record"); };
    ASSERT_TRUE(send(f, "first record"));
    fake->feed("\x11");
    ASSERT_TRUE(processUntil([&] { return fake->written() == "first recordnext record"; }));
    EXPECT_TRUE(f.AwaitingReply);
}

TEST_F(Form2LinkTest, ASettingRefusedAtOpenClosesThePortButKeepsTheErrorText) {
    fake->failControl(22);
    TForm2& f = createLinkedForm();
    f.Button1Click();
    const QString error = QString::fromUtf8("Ошибка подключения 22");
    ASSERT_TRUE(processUntil([&] { return !f.CommPort1->Open(); }));
    EXPECT_EQ(f.Label1->text(), error);
    EXPECT_EQ(f.Button1->text(), kConnect);
    EXPECT_TRUE(f.ComboBox2->isEnabled());
    ASSERT_EQ(linkStates.size(), 2u);
    EXPECT_EQ(linkStates[1].label, error);
    EXPECT_TRUE(messages.shown().empty());

    // One toggle opens it again once the device takes the settings.
    fake->failControl(0);
    f.Button1Click();
    EXPECT_EQ(f.Label1->text(), kConnected9600);
    EXPECT_TRUE(f.CommPort1->IsEnabled());
}

TEST_F(Form2LinkTest, AnUnplugPendingAReplyClosesTheLinkAndTheAdapterCanBeReconnected) {
    auto terminal = std::make_unique<PtyPair>();
    TForm2& f = createLinkedForm(terminal.get());
    f.Button1Click();
    ASSERT_TRUE(send(f, "request"));
    terminal->closeMaster();
    ASSERT_TRUE(processUntil([&] { return f.Label1->text() == kClosed; }));
    expectClosed(f);
    EXPECT_FALSE(f.CommPort1->Open());
    EXPECT_EQ(messages.texts(), kBrokenLink);
    EXPECT_EQ(linkStates.size(), 2u);

    // Plugged in again (here a new pty under the same number): one toggle reconnects.
    terminal = std::make_unique<PtyPair>();
    mapPort(5, terminal->slavePath());
    f.Button1Click();
    EXPECT_EQ(f.Label1->text(), kConnected9600);
    ASSERT_TRUE(send(f, "ping"));
    EXPECT_EQ(terminal->read(4, 5s), "ping");
}

TEST_F(Form2LinkTest, TimeOutsApplyByReopeningAndABadNumberStopsHalfway) {
    TForm2& f = createLinkedForm();
    f.Button1Click();
    f.Edit1->setText("25");
    f.Edit2->setText("x1");
    f.Edit3->setText("30");
    f.Button2Click();
    EXPECT_EQ(messages.texts(), std::vector<std::string>{"'x1' is not a valid integer value"});
    EXPECT_EQ(linkStates.size(), 1u);  // not reopened
    EXPECT_EQ(f.CommPort1->GetTimeOuts(toReadInterval, 1), 25u);
    EXPECT_EQ(f.CommPort1->GetTimeOuts(toReadTotalConstant, 1), 1000u);

    f.Edit2->clear();
    f.Button2Click();
    EXPECT_EQ(linkStates.size(), 3u);  // closed and opened again
    EXPECT_EQ(f.Edit3->text(), QString("30"));
}
