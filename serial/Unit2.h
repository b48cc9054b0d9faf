#pragma once
// TForm2, the port settings window "CommPort": owns the program's one serial port component
// CommPort1, keeps the port settings in the registry key "Quorveth\ComPort", lists the ports of the
// COM port map, opens and closes the link (Button1Click) with its status texts, sends the main
// window's blocks and hands every received chunk to the main window.
//
// Everything here runs on the main thread: the component delivers its handlers there, and the
// main window calls in from its own handlers. No locks.
//
// Choices made here
// - Port list: the COM port map stands in for the system's serial device map. Each item reads
//   "COM<n> — <device>, <product>" (platform::portListText), so an item's port number stays the
//   first decimal number of its text; a port whose device is absent is marked, not left out, so a
//   stored number keeps its place. Its tooltip (and the list's, for the selected item) tells the
//   mapped device path and the product name. The list keeps the selected port number when it is
//   refilled: on opening, on showing the window, and while the window is shown when an adapter is
//   plugged in or out (TPortListWatch).
// - An open that fails puts the cause and its fix (platform/PortDiagnostics) into Label1, which
//   spans the page and shrinks its font until the whole line fits (TStatusLabel).
// - OnOpen with an error: the port is closed at once, out of the delivery (a zero-time single
//   shot), so the window and the component agree that the link is down. The close keeps Label1 at
//   "Ошибка подключения " + the number, so the operator still sees why.
// - Adapter unplugged while open: the component's OnDeviceLost defers a close the same way, so the
//   window shows "Отключено" (and "Разрыв соединения" when a reply was awaited) and the main
//   window hears of it through OnLinkStateChanged; the next Button1Click opens the port afresh
//   (the map is read again), so a replugged adapter is reconnected without a restart.
// - No nested event loop and no close inside a delivery of the component (platform/Delivery.h):
//   a box asked for in one is shown after it has returned, and Button1Click decides the new state
//   at once but opens or closes only then. A close inside a delivery would wait for the thread
//   blocked in it; a box's loop would run timers and deferred closes on top of it.
// - An empty delivery that the program caused itself (FlushInput at open, or the upload's discard
//   of pending input, after the bytes had been announced) is no reception: it neither reports
//   "Не отвечает COM" nor clears AwaitingReply. An empty delivery after a send that nothing flushed
//   still reports it.
// - AwaitingReply is cleared when a delivery or a close starts, before anything is shown or
//   handed on: a block that OnReplyReceived sends for the next record (the firmware upload) is
//   awaited again, and a modal message cannot be repeated by a nested delivery.
// - A registry failure in FormCreate ends the loading there and is shown as the framework shows an
//   exception (a plain box with its text); the window comes up all the same. A failed time-out
//   conversion in Button2Click is shown the same way.
// - ReceiveBuffer starts at a buffer of the window's own, so a chunk that arrives before the main
//   window lent its buffer is not written through a null pointer.
// - The time-out page stays hidden, as designed; Button2Click works for whoever shows it.
#include <QComboBox>
#include <QHash>
#include <QWidget>
#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "platform/ComPortMap.h"
#include "serial/Commport.h"
#include "session/LineSettings.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TPortListWatch;

// A combo box that tells before its list opens (the framework's OnDropDown).
class TDropDownComboBox : public QComboBox {
  public:
    using QComboBox::QComboBox;
    std::function<void()> OnDropDown;
    void showPopup() override;
};

class TForm2 : public QWidget {
  public:
    explicit TForm2(QWidget* parent = nullptr);
    ~TForm2() override;

    // Where FillPortList takes the ports from: the COM port map (platform::listPorts) unless a test
    // sets another source before it creates the window; an empty function restores the map.
    using TPortLister = std::function<std::vector<platform::ComPortEntry>()>;
    static void SetPortLister(TPortLister lister);

    // The component; the main window reads IsEnabled and the line rate through it.
    std::unique_ptr<TCommPort> CommPort1;

    // The contract with the main window.
    std::uint8_t* TransmitBuffer = nullptr;  // kept for the main window, not used here
    std::uint8_t* ReceiveBuffer;             // each chunk is copied here from its first byte
    std::uint16_t ReceivedCount = 0;
    bool AwaitingReply = false;
    std::function<void(TForm2*)> OnLinkStateChanged;
    std::function<void(TForm2*)> OnReplyReceived;
    // A line added under "Разрыв соединения" (the main window tells what the break cut short);
    // none when it returns "".
    std::function<std::string()> LinkBrokenDetail;

    // Operations of the main window.
    void Button1Click();
    // Brings the window back to the operator: not minimised, wholly on its screen (the primary
    // one when it stands on none), in front and active.
    void BringToFront();
    bool SendBlock(const std::uint8_t* data, std::uint32_t len);
    // Discards what has been received and not taken yet (the component's FlushInBuffer).
    void FlushInput();
    void SaveInRegistry();

    // Window handlers (connected to the controls; public for the tests and the main window).
    void FormCreate();
    void FillPortList(QStringList& List);
    void ComboBox2DropDown();
    void ComboBox1Change();
    void ComboBox2Change();
    void ComboBox3Change();
    void ComboBox4Change();
    void ComboBox5Change();
    void ComboBox6Change();
    void Button2Click();

    // Component handlers.
    void CommPort1Open(TCommPort* Sender, int Error);
    void CommPort1Close(TCommPort* Sender);
    void CommPort1DataReceived(TCommPort* Sender, std::uint32_t Count);
    void CommPort1TxDSignal(TCommPort* Sender);
    void CommPort1DeviceLost(TCommPort* Sender);
    // The port could not be opened: the cause and its fix go into the status label.
    void CommPort1OpenFailed(TCommPort* Sender);

    // Controls, by their design names.
    QTabWidget* PageControl1;
    QWidget* TabSheet1;
    QWidget* TabSheet2;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8;
    QLabel *Label9, *Label10, *Label11, *Label12, *Label13, *Label14, *Label15;
    TDropDownComboBox* ComboBox2;
    QComboBox *ComboBox1, *ComboBox3, *ComboBox4, *ComboBox5, *ComboBox6;
    QPushButton *Button1, *Button2;
    QGroupBox *GroupBox1, *GroupBox2;
    QLineEdit *Edit1, *Edit2, *Edit3, *Edit4, *Edit5, *Edit6, *Edit7, *Edit8, *Edit9, *Edit10;

  private:
    std::string brokenLinkText() const;
    static void ShowException(const std::exception& e);
    void CreateControls();
    void ConnectControls();
    void LoadSettings();
    // The lists' indices and the port number, as the store keeps them.
    session::LineSettings CurrentSettings() const;
    void SetPortItems(const QStringList& names);
    void SelectPort(int number);
    void ShowSelectedPortDetails();
    // Closes the port outside the current delivery, unless it was reopened meanwhile.
    void DeferClose(bool keepStatusText);

    std::array<std::uint8_t, 4096> ownReceiveBuffer_{};
    QHash<QString, QString> portDetails_;  // "COM<n>" -> device path and product name
    unsigned openCount_ = 0;               // which open a deferred close belongs to
    bool flushedSinceDelivery_ = false;    // FlushInput ran after the latest delivery
    bool keepStatusOnClose_ = false;
    TPortListWatch* portWatch_ = nullptr;  // child object: refills the list on plug and unplug
};
