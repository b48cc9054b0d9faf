// File -> Save and File -> Open: configuration files, the server export and update files.
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <ios>

#include "app/Unit1.h"
#include "app/Unit1Verify.h"
#include "files/AbtFile.h"
#include "files/SaveFiles.h"
#include "platform/Catalogue.h"
#include "platform/FileDialogs.h"
#include "platform/MessageService.h"
#include "update/ImageGrid.h"
#include "update/UpdateFileRead.h"

namespace {

constexpr const char* kSaveFilter = QT_TRANSLATE_NOOP("TForm1", "Файл конфигурации(*.abt)|*.abt");
constexpr const char* kOpenFilter =
    QT_TRANSLATE_NOOP("TForm1", "Файл обновления(*.enc)|*.enc|Файл конфигурации(*.abt)|*.abt");
constexpr const char* kFileErrorText = QT_TRANSLATE_NOOP(
    "TForm1", "Can't perform one of the following file operations: Open, Seek, Read, Close.");

void plainMessage(const std::string& text) {
    platform::messages().show(text, "", platform::MessageIcon::None, platform::MessageButtons::Ok);
}

void fileError() {
    platform::messages().show(platform::translated("TForm1", kFileErrorText),
                              platform::translated("TForm1", "File Error"),
                              platform::MessageIcon::Error, platform::MessageButtons::OkCancel);
}

}  // namespace

void TForm1::Save1Click() {
    const auto chosen = Dialogs->save(platform::translated("TForm1", kSaveFilter));
    if (!chosen) return;
    for (const std::string& message : files::saveConfiguration(*chosen, Controls, TransmitBuffer))
        platform::messages().show(message, "", platform::MessageIcon::Warning,
                                  platform::MessageButtons::Ok);
}

// The loaded image is forgotten only when another update file is read in its place: cancelling the
// dialog, a configuration file or a file that cannot be opened keep it, so the grid, ImageLength
// and BUpgrade always tell the same. During an upload nothing here may replace what it sends.
void TForm1::Open1Click() {
    if (uploadLocked_) return;
    const auto chosen = Dialogs->open(platform::translated("TForm1", kOpenFilter));
    if (!chosen) return;
    try {
        switch (files::fileKindOf(*chosen)) {
            case files::FileKind::Update:
                loadUpdateFile(*chosen);
                break;
            case files::FileKind::Configuration: {
                const std::vector<const protocol::Parameter*> all = session::everyParameter();
                if (Verify->askBeforeLosing(app::Loss::Open, all) !=
                    platform::MessageResult::Discard)
                    return;
                const files::LoadResult loaded = files::loadIntoBuffer(*chosen, TransmitBuffer);
                if (loaded.status == files::LoadStatus::Loaded)
                    Verify->loadFile([this](protocol::ControlAccess& controls) {
                        files::readAbt(TransmitBuffer.data(), TransmitBuffer.length(), controls);
                    });
                else if (loaded.status == files::LoadStatus::TooLong ||
                         loaded.status == files::LoadStatus::NotRegular)
                    plainMessage(loaded.message);
                else if (loaded.status == files::LoadStatus::ReadFailed)
                    fileError();
                break;
            }
            case files::FileKind::Other:
                break;
        }
    } catch (const std::exception&) {
        fileError();
    }
}

void TForm1::loadUpdateFile(const std::string& path) {
    const update::UpdateFileRead read = update::readUpdateFile(path, Image);
    if (read.status == update::UpdateFileStatus::CannotOpen) return;
    if (read.status == update::UpdateFileStatus::Refused) {
        // Nothing was read: the image loaded before stays, as for a file that cannot be opened.
        plainMessage(read.message);
        return;
    }
    // From here the old image is gone, whatever the new file holds.
    BUpgrade->setEnabled(false);
    showPage(TabSheet5);
    if (read.status == update::UpdateFileStatus::TooLarge) {
        plainMessage(read.message);
        return;
    }
    if (read.status == update::UpdateFileStatus::ReadFailed) throw std::ios_base::failure("read");
    ShowImageAddresses(static_cast<std::uint32_t>(update::gridRowCount(Image.ImageLength)));
    ShowImageBytes(Image.ImageLength, Image.ImageBuffer.data());
    const update::RecordCheck check = update::checkRecords(Image);
    if (!check.ok()) plainMessage(update::recordErrorText(check));
    noteUpdateFile(path);
    // An image without records passes the check, but there is nothing to send.
    BUpgrade->setEnabled(check.ok() && Image.ImageLength > 0);
}

void TForm1::ShowImageAddresses(std::uint32_t rows) {
    ProgramGrid1->setUpdatesEnabled(false);
    ProgramGrid1->clearContents();
    ProgramGrid1->setRowCount(static_cast<int>(rows));
    for (int r = 0; r < static_cast<int>(rows); ++r)
        ProgramGrid1->setItem(
            r, 0, new QTableWidgetItem(QString::fromStdString(update::gridAddressText(r))));
    ProgramGrid1->setUpdatesEnabled(true);
}

void TForm1::ShowImageBytes(std::uint32_t length, const std::uint8_t* bytes) {
    ProgramGrid1->setUpdatesEnabled(false);
    for (std::uint32_t p = 0; p < length; ++p) {
        const update::GridCell cell = update::gridCellOf(p);
        ProgramGrid1->setItem(
            cell.row, cell.column,
            new QTableWidgetItem(QString::fromStdString(update::gridByteText(bytes[p]))));
    }
    ProgramGrid1->setUpdatesEnabled(true);
}
