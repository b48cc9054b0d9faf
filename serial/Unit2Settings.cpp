// The port settings in the registry, the port list and the lists' change handlers.
#include <QAbstractItemView>
#include <algorithm>
#include <climits>
#include <iterator>

#include "platform/ComPortMap.h"
#include "platform/RegistryStore.h"
#include "serial/Unit2.h"
#include "session/LineSettingsStore.h"

namespace {

// The port number of a list item: the decimal number that starts at its first digit
// ("COM12" -> 12); -1 when the text has no digit or the number does not fit an int.
int PortNumberOf(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && !(text[i] >= u'0' && text[i] <= u'9')) ++i;
    if (i == text.size()) return -1;
    long long n = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        n = n * 10 + (text[i].unicode() - u'0');
        if (n > INT_MAX) return -1;
    }
    return static_cast<int>(n);
}

TForm2::TPortLister& PortLister() {
    static TForm2::TPortLister lister;
    return lister;
}

}  // namespace

void TForm2::SetPortLister(TPortLister lister) {
    PortLister() = std::move(lister);
}

void TForm2::FormCreate() {
    ComboBox1->setCurrentIndex(CommPort1->BaudRate());
    ComboBox2->setCurrentIndex(-1);
    ComboBox3->setCurrentIndex(CommPort1->StopBits());
    ComboBox4->setCurrentIndex(CommPort1->Control());
    ComboBox5->setCurrentIndex(CommPort1->DataBits() - 5);
    ComboBox6->setCurrentIndex(CommPort1->Parity());
    try {
        LoadSettings();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

void TForm2::LoadSettings() {
    const session::LineSettingsStore store;
    const session::StoredLineSettings stored = store.read();
    if (!stored.keyExists) {
        // First run: store the defaults; the component keeps them as they are.
        store.save(CurrentSettings());
        return;
    }
    // In the stored order, up to the first value that cannot be read: that one ends the loading
    // with the store's message, and the change handlers below are not reached.
    const session::LineSettings& v = stored.values;
    const std::function<void()> take[] = {
        [&] { ComboBox1->setCurrentIndex(v.baudIndex); },
        [&] { CommPort1->SetComNumber(v.comNumber); },
        [&] { ComboBox3->setCurrentIndex(v.stopBitsIndex); },
        [&] { ComboBox4->setCurrentIndex(v.controlIndex); },
        [&] { ComboBox5->setCurrentIndex(v.dataBitsIndex); },
        [&] { ComboBox6->setCurrentIndex(v.parityIndex); },
    };
    static_assert(std::size(take) == session::kLineFields.size());
    for (std::size_t i = 0; i < std::size(take); ++i) {
        if (!stored.failures[i].empty()) throw platform::ERegistryException(stored.failures[i]);
        take[i]();
    }
    QStringList ports;
    FillPortList(ports);
    SetPortItems(ports);
    SelectPort(CommPort1->ComNumber());
    ComboBox1Change();
    ComboBox2Change();
    ComboBox3Change();
    ComboBox4Change();
    ComboBox5Change();
    ComboBox6Change();
}

// "ComNum" is the port number itself, the others are the lists' indices.
session::LineSettings TForm2::CurrentSettings() const {
    session::LineSettings settings;
    settings.baudIndex = ComboBox1->currentIndex();
    settings.comNumber = CommPort1->ComNumber();
    settings.stopBitsIndex = ComboBox3->currentIndex();
    settings.controlIndex = ComboBox4->currentIndex();
    settings.dataBitsIndex = ComboBox5->currentIndex();
    settings.parityIndex = ComboBox6->currentIndex();
    return settings;
}

void TForm2::SaveInRegistry() {
    try {
        session::LineSettingsStore().save(CurrentSettings());
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

// --- Port list ---

void TForm2::FillPortList(QStringList& List) {
    List.clear();
    portDetails_.clear();
    const auto ports = PortLister() ? PortLister()() : platform::listPorts();
    for (const platform::ComPortEntry& port : ports) {
        const QString text = QString::fromStdString(platform::portListText(port));
        List << text;
        QString details = QString::fromStdString(port.devicePath);
        if (!port.description.empty()) details += u'\n' + QString::fromStdString(port.description);
        portDetails_.insert(text, details);
    }
}

void TForm2::SetPortItems(const QStringList& names) {
    // Kept by number: the text of a port changes when its adapter comes or goes.
    const int kept = ComboBox2->currentIndex() >= 0 ? PortNumberOf(ComboBox2->currentText()) : -1;
    QStringList sorted = names;
    // The list is sorted as text, as the framework's sorted combo box is (COM1, COM10, ..., COM2).
    std::stable_sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    const QSignalBlocker quiet(ComboBox2);
    ComboBox2->clear();
    for (const QString& name : sorted) {
        ComboBox2->addItem(name);
        if (auto details = portDetails_.value(name); !details.isEmpty())
            ComboBox2->setItemData(ComboBox2->count() - 1, details, Qt::ToolTipRole);
    }
    int keptIndex = -1;
    for (int i = 0; i < ComboBox2->count() && kept >= 0 && keptIndex < 0; ++i)
        if (PortNumberOf(ComboBox2->itemText(i)) == kept) keptIndex = i;
    ComboBox2->setCurrentIndex(keptIndex);
    // The open list shows whole texts even where the box itself is narrower.
    ComboBox2->view()->setMinimumWidth(ComboBox2->view()->sizeHintForColumn(0) + 8);
    ShowSelectedPortDetails();
}

void TForm2::SelectPort(int number) {
    for (int i = 0; i < ComboBox2->count(); ++i)
        if (PortNumberOf(ComboBox2->itemText(i)) == number) {
            ComboBox2->setCurrentIndex(i);
            return;
        }
    ComboBox2->setCurrentIndex(0);
}

void TForm2::ShowSelectedPortDetails() {
    ComboBox2->setToolTip(portDetails_.value(ComboBox2->currentText()));
}

void TForm2::ComboBox2DropDown() {
    QStringList ports;
    FillPortList(ports);
    SetPortItems(ports);
}

// --- Change handlers: each hands its list's index to the component ---

void TForm2::ComboBox1Change() {
    CommPort1->SetBaudRate(static_cast<TBaudRate>(ComboBox1->currentIndex()));
}

void TForm2::ComboBox2Change() {
    if (ComboBox2->currentIndex() < 0) return;
    const int number = PortNumberOf(ComboBox2->currentText());
    if (number >= 0 && number != CommPort1->ComNumber()) CommPort1->SetComNumber(number);
}

void TForm2::ComboBox3Change() {
    CommPort1->SetStopBits(static_cast<TStopBits>(ComboBox3->currentIndex()));
}

void TForm2::ComboBox4Change() {
    CommPort1->SetComControl(static_cast<TComControl>(ComboBox4->currentIndex()));
}

// No selection gives 4, which the component turns into 8 data bits.
void TForm2::ComboBox5Change() {
    CommPort1->SetDataBits(static_cast<std::uint16_t>(ComboBox5->currentIndex() + 5));
}

void TForm2::ComboBox6Change() {
    CommPort1->SetParity(static_cast<TParity>(ComboBox6->currentIndex()));
}
