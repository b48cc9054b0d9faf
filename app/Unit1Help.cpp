// Help: the help file beside the program, F1 by page, Help -> Contents and Help -> About.
#include <QCoreApplication>

#include "app/Unit1.h"
#include "platform/HelpService.h"
#include "ui/AboutBox.h"
#include "ui/D6onhelpfix.h"
#include "ui/HelpCommands.h"
#include "ui/HelpFile.h"

namespace {
// Help contexts of the seven pages, in tab order; no other control carries one.
constexpr int kFirstPageContext = 2000;
}  // namespace

void TForm1::setupHelp() {
    QWidget* pages[] = {TabSheet1, TabSheet6, TabSheet3, TabSheet7,
                        TabSheet2, TabSheet5, TabSheet4};
    int context = kFirstPageContext;
    for (QWidget* page : pages) ui::setHelpContext(page, context++);
    HelpViewer = std::make_unique<ui::THTMLHelpViewer>(
        [this](std::uint16_t command, std::int32_t data, bool& callHelp) {
            return ApplicationEvents1Help(command, static_cast<std::uint32_t>(data), callHelp);
        });
}

void TForm1::FormShow() {
    HelpFilePath = ui::helpFilePathBeside(QCoreApplication::applicationFilePath().toStdString());
    ui::checkHelpFile(HelpFilePath);
}

void TForm1::ContentsClick() {
    if (Help) ui::showContents(*Help, HelpFilePath);
}

bool TForm1::ApplicationEvents1Help(std::uint16_t command, std::uint32_t data, bool& callHelp) {
    if (!Help) return true;
    return ui::openHelpContext(*Help, HelpFilePath, command, static_cast<std::int32_t>(data),
                               callHelp);
}

void TForm1::About1Click() {
    if (AboutBox) ui::About1Click(*AboutBox);
}

void TForm1::closeHelpWindows() {
    if (Help) Help->closeAll();
}
