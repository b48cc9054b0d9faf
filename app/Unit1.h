#pragma once
// TForm1, the main window: the only store of the terminal's parameter values (in its controls),
// the owner of the transmit and receive buffers, the request mask and the firmware image, and the
// tool bar that drives the port settings window.
//
// Everything here runs on the main thread.
#include <QMainWindow>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/TImageList.h"
#include "app/Unit1Controls.h"
#include "protocol/TransmitBuffer.h"
#include "records/Event.h"
#include "update/UpdateFile.h"

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSlider;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QToolBar;
class QToolButton;
class TRadioGroup;
class TForm2;
namespace ui {
class MonitorView;
class TAboutBox;
class THTMLHelpViewer;
class UnitJournalWindow;
}  // namespace ui
class Unit1Upload;
namespace session {
struct WatchReport;
}
namespace app {
class Unit1Compare;
class Unit1Verify;
}  // namespace app

namespace platform {
class FileDialogs;
class HelpService;
class Timer;
}  // namespace platform

class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    static constexpr std::size_t kBufferSize = protocol::TransmitBuffer::kCapacity;
    static constexpr int kMonitorTab = 6;

    explicit TForm1(QWidget* parent = nullptr);
    ~TForm1() override;

    // Wiring done by the program after the other windows exist (and by tests).
    void setPortWindow(TForm2* form2) { Form2 = form2; }
    void setAboutBox(ui::TAboutBox* about) { AboutBox = about; }
    void setHelpService(platform::HelpService* help) { Help = help; }
    // Timer1 and the upload's record time-out; before any upload starts.
    void setTimers(std::unique_ptr<platform::Timer> timer1,
                   std::unique_ptr<platform::Timer> recordTimer);
    void setFileDialogs(std::unique_ptr<platform::FileDialogs> dialogs);
    // The answer time-out and the comparison's time-out; before any request.
    void setAnswerTimers(std::unique_ptr<platform::Timer> answers,
                         std::unique_ptr<platform::Timer> compare);
    protocol::ControlAccess& controls() { return Controls; }
    // Receptions belong to the firmware upload.
    bool uploadRunning() const;
    // From BUpgradeClick to the end of the upload's wind-up: the request buttons, ToolButton6 and
    // File > Open are disabled and their handlers (and the monitor switch) send nothing.
    void setUploadLock(bool locked);
    bool uploadLocked() const { return uploadLocked_; }
    // The Write buttons and ToolButton6, usable after the first text value (after the upload if
    // one runs).
    void enableWriteControls();

    // --- Data model ---
    std::uint16_t RequestMask = 0;
    protocol::TransmitBuffer TransmitBuffer;  // with its length
    std::array<std::uint8_t, kBufferSize> ReceiveBuffer{};
    std::uint16_t ReceivedCount = 0;
    std::array<QCheckBox*, 20> CheckBoxList{};
    std::string HelpFilePath;
    update::FirmwareImage Image;  // ImageBuffer and ImageLength
    std::uint8_t UsbIndicator = 0;

    // --- Controls (objectName = member name; numbered families by index: ETl[0] is ETl1) ---
    QMenuBar* MainMenu1 = nullptr;
    QMenu* Fail1 = nullptr;
    QAction* Open1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* CompareWithTerminal = nullptr;
    QAction* OpenUnitJournal = nullptr;
    QAction* Exit1 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* Contents = nullptr;
    QAction* About1 = nullptr;

    QToolBar* ToolBar1 = nullptr;
    QToolButton* ToolButton1 = nullptr;
    QToolButton* ToolButton3 = nullptr;
    QToolButton* ToolButton5 = nullptr;
    QToolButton* ToolButton6 = nullptr;
    TImageList ImageList1;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;  // "Интернет"
    QWidget* TabSheet6 = nullptr;  // "Доступ"
    QWidget* TabSheet3 = nullptr;  // "Телефоны"
    QWidget* TabSheet7 = nullptr;  // "GPS"
    QWidget* TabSheet2 = nullptr;  // "Настройки"
    QWidget* TabSheet5 = nullptr;  // "Обновить"
    QWidget* TabSheet4 = nullptr;  // "Монитор"

    std::array<QLineEdit*, 4> EditIp{};
    std::array<QLineEdit*, 4> EditPort{};
    std::array<QLineEdit*, 4> EConnectPeriod{};
    std::array<QComboBox*, 4> CBGet{};
    std::array<QCheckBox*, 4> ChSim1ForIp{};
    QPushButton* ReadInternetB = nullptr;
    QPushButton* WriteInternetB = nullptr;
    QLabel* Label35 = nullptr;

    QLineEdit* EApn1 = nullptr;
    QLineEdit* EAus1 = nullptr;
    QLineEdit* EApas1 = nullptr;
    QLineEdit* EBlSt1 = nullptr;
    QLineEdit* EBlTm1 = nullptr;
    QLineEdit* EBlVl1 = nullptr;
    QLineEdit* ELim1 = nullptr;
    QLineEdit* EIdCod = nullptr;
    QPushButton* ReadApnB = nullptr;
    QPushButton* WriteApnB = nullptr;
    QPushButton* Button1 = nullptr;  // "EraseEeprom"

    std::array<QLineEdit*, 9> ETl{};  // ETl9 is the terminal's own number
    std::array<QCheckBox*, 8> ChSim1ForP{};
    std::array<QCheckBox*, 8> ChSim1ForVoice{};
    QPushButton* ReadTLB = nullptr;
    QPushButton* WriteTLB = nullptr;

    QLineEdit* EGpsTime = nullptr;
    QLineEdit* EGpsDate = nullptr;
    QLineEdit* EGpsSpeed = nullptr;
    QLineEdit* EGpsCog = nullptr;
    QLineEdit* EGpsLatitude = nullptr;
    QLineEdit* EGpsLongitude = nullptr;
    QPushButton* ReadGpsB = nullptr;

    QSlider* TrackBar1 = nullptr;
    QComboBox* CBNmbPress = nullptr;
    TRadioGroup* RadioGroup1 = nullptr;
    QLineEdit* EAdcCod = nullptr;
    QPushButton* ReadMicB = nullptr;
    QPushButton* WriteMicB = nullptr;

    QTableWidget* ProgramGrid1 = nullptr;
    QPushButton* BUpgrade = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QLabel* Label56 = nullptr;
    QLabel* Label57 = nullptr;

    QPlainTextEdit* MemoIn = nullptr;
    QPushButton* BClearMemo = nullptr;

    QStatusBar* StatusBar1 = nullptr;
    std::array<QLabel*, 2> StatusPanels{};
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);

    // --- Handlers ---
    void FormCreate();
    void FormShow();
    void FormClose();
    void Exit1Click();

    void ToolButton1Click();
    void ToolButton3Click();
    void ToolButton5Click();
    void ToolButton6Click();
    void ConnectionChanged();
    void PageControl1Change(int index);

    void ReadInternetBClick();
    void WriteInternetBClick();
    void ReadApnBClick();
    void WriteApnBClick();
    void Button1Click();
    void ReadTLBClick();
    void WriteTLBClick();
    void ReadGpsBClick();
    void ReadMicBClick();
    void WriteMicBClick();
    void SendRequest();
    bool WritePort(const std::uint8_t* bytes, std::uint16_t count);
    void HandleReception();

    void EditIpChange(int n);
    void EditIpExit(int n);
    void EditPortChange(int n);
    void Label35Click();
    void DumpReception();
    void BClearMemoClick();

    void Save1Click();
    void Open1Click();
    void CompareWithTerminalClick();
    void OpenUnitJournalClick();
    // Values from the journal put on the screen, each marked edited (app/Unit1Records.cpp).
    void restoreToScreen(const std::function<void(protocol::ControlAccess&)>& apply);
    // EraseEeprom after its OK: the terminal read for the records first (nothing on the screen
    // changes); when that read fails the operator is asked again.
    void eraseAfterSnapshot();
    // BUpgradeClick: the terminal read for the records before the link is closed for the
    // bootloader, then the upload (app/Unit1UploadRecords.cpp).
    void uploadAfterSnapshot();
    void ShowImageAddresses(std::uint32_t rows);
    void ShowImageBytes(std::uint32_t length, const std::uint8_t* bytes);

    void BUpgradeClick();
    void Timer1Timer();
    void SendNextRecord();

    void ContentsClick();
    bool ApplicationEvents1Help(std::uint16_t command, std::uint32_t data, bool& callHelp);
    void About1Click();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenu();
    void buildToolBar();
    void buildPages();
    void buildStatusBar();
    void connectHandlers();
    void setupHelp();
    void closeHelpWindows();
    void registerLinkHandler();
    bool linkOpen() const;
    void clearAwaitingReply();
    void toggleLink();
    void discardPendingInput();
    unsigned lineRate() const;
    // platform::noAnswerText for the port in use and its device.
    std::string noAnswerText() const;
    void touchRegistryMarker(bool writeDefault);
    void loadUpdateFile(const std::string& path);
    // Brings a page to the front as the program does it: no tab-change handler runs.
    void showPage(QWidget* page);

    TForm2* Form2 = nullptr;
    ui::TAboutBox* AboutBox = nullptr;
    std::unique_ptr<ui::MonitorView> Monitor;
    platform::HelpService* Help = nullptr;
    std::unique_ptr<ui::THTMLHelpViewer> HelpViewer;
    std::unique_ptr<platform::Timer> Timer1;
    std::unique_ptr<platform::Timer> RecordTimer;  // the upload's no-answer time-out
    std::unique_ptr<platform::FileDialogs> Dialogs;
    std::unique_ptr<Unit1Upload> Upload;
    std::unique_ptr<app::Unit1Verify> Verify;
    ui::UnitJournalWindow* Journal = nullptr;  // made at its first opening, owned by this window //
                                               // answers awaited, writes checked, marks, comparison
    Unit1Controls Controls{*this};
    bool switchingPage_ = false;
    // "Записать" was chosen on close: the window closes once every edited value is confirmed.
    bool closeWhenWritten_ = false;
    bool mayClose();
    void closeIfWritten(const session::WatchReport& report, bool stillWaiting, bool fromTerminal);
    bool uploadLocked_ = false;
    // What the snapshot before a destructive step came to: go on or not, and the unit's IDCOD=
    // text (the snapshot's, or the screen's when the operator goes on without one).
    struct SnapshotOutcome {
        bool goOn = false;
        bool kept = false;
        std::string idCod;
    };
    // The read for the records (nothing on the screen changes), asking `silentQuestion` when it
    // fails; `then` runs outside the port delivery. False when the read could not start.
    bool afterSnapshot(const std::string& command, const char* silentQuestion,
                       std::function<void(const SnapshotOutcome&)> then);
    // The upload's event once its wind-up is over, with panel 1's outcome (from setUploadLock).
    void recordUploadOutcome();
    // The update file just loaded into Image, as the upload's event will name it.
    void noteUpdateFile(const std::string& path);
    bool uploadSnapshotUnderWay_ = false;
    // A write on a connection the terminal has not answered yet waits for a snapshot of the
    // values it holds; true when SendRequest is to send nothing now.
    bool writeWaitsForSnapshot(std::uint16_t requested);
    void sendRequestNow(std::uint16_t requested);
    std::uint16_t writeSnapshotMask_ = 0;  // the pages of the write that waits for it
    records::UploadFacts updateFile_;      // of the update file loaded
    std::optional<std::pair<std::string, records::UploadFacts>>
        uploadUnderWay_;                     // IDCOD=, the file
    std::vector<bool> enabledBeforeUpload_;  // of requestSenders(), while locked
    std::vector<QWidget*> requestSenders() const;

    friend class Unit1Upload;
    friend class app::Unit1Compare;
    friend class app::Unit1Verify;
};
