// File -> Save and File -> Open in the window, through scripted dialogs: the files land in the
// chosen folder, read back into the controls, and update files fill the grid and gate BUpgrade.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <fstream>
#include <sstream>

#include "WindowFixture.h"
#include "app/TRadioGroup.h"
#include "protocol/Cp1251.h"
#include "tools/EncFile.h"

namespace {

std::string slurp(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void write(const std::filesystem::path& p, const std::string& bytes) { std::ofstream(p, std::ios::binary) << bytes; }

using Files = apptest::WindowFixture;

TEST_F(Files, SaveWritesBesideTheChosenFileAndOpenReadsItBack) {
    form1->ETl[0]->setText(QString::fromUtf8("Дом"));
    form1->ChSim1ForP[1]->setChecked(true);
    form1->CBNmbPress->setCurrentIndex(1);
    form1->TrackBar1->setValue(11);
    form1->EApn1->setText("internet");
    const auto chosen = folder.path() / "config";
    dialogs->answers.push_back(chosen.string());
    form1->Save1Click();
    EXPECT_EQ(dialogs->filters.back(), "Файл конфигурации(*.abt)|*.abt");
    EXPECT_TRUE(messages.shown().empty());

    const std::string abt = slurp(folder.path() / "config.abt");
    EXPECT_EQ(abt.rfind("TL1=" + *protocol::toCp1251("Дом") + ":TL2=:", 0), 0u) << abt;
    EXPECT_NE(abt.find(":Sms2En=1:"), std::string::npos);
    EXPECT_NE(abt.find(":GET1=/:GET2=/:GET3=/:GET4=/:NmbPress=1:Coord=/:"), std::string::npos);
    EXPECT_EQ(abt.substr(abt.size() - 7), ":REG=B:");
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "SettingsAbt.xml"));

    // Saving again keeps the first file as its backup.
    dialogs->answers.push_back(chosen.string());
    form1->Save1Click();
    EXPECT_EQ(slurp(folder.path() / "config.BAK"), abt);

    form1->ETl[0]->clear();
    form1->ChSim1ForP[1]->setChecked(false);
    form1->CBNmbPress->setCurrentIndex(-1);
    form1->TrackBar1->setValue(0);
    dialogs->answers.push_back((folder.path() / "config.abt").string());
    form1->Open1Click();
    EXPECT_EQ(dialogs->filters.back(), "Файл обновления(*.enc)|*.enc|Файл конфигурации(*.abt)|*.abt");
    EXPECT_EQ(form1->ETl[0]->text(), QString::fromUtf8("Дом"));
    EXPECT_TRUE(form1->ChSim1ForP[1]->isChecked());
    EXPECT_EQ(form1->CBNmbPress->currentIndex(), 1);
    EXPECT_EQ(form1->TrackBar1->value(), 11);
    EXPECT_EQ(form1->CBGet[0]->currentIndex(), -1);
    EXPECT_EQ(form1->RadioGroup1->itemIndex(), -1);
    EXPECT_TRUE(form1->WriteTLB->isEnabled());
}

TEST_F(Files, ColonRefusesTheSave) {
    form1->EApn1->setText("a:b");
    dialogs->answers.push_back((folder.path() / "x").string());
    form1->Save1Click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "x.abt"));
}

TEST_F(Files, UpdateFileFillsTheGridAndEnablesUpgrade) {
    std::vector<std::uint8_t> payload(20);
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<std::uint8_t>(i * 7);
    const auto image = sim::makeImage(payload);
    write(folder.path() / "fw.enc", sim::hexText(image));
    dialogs->answers.push_back((folder.path() / "fw.enc").string());
    form1->Open1Click();
    EXPECT_EQ(form1->PageControl1->currentWidget(), form1->TabSheet5);
    EXPECT_EQ(form1->Image.ImageLength, image.size());
    EXPECT_TRUE(form1->BUpgrade->isEnabled());
    EXPECT_TRUE(messages.shown().empty());
    ASSERT_EQ(form1->ProgramGrid1->rowCount(), 3);  // 24 bytes
    EXPECT_EQ(form1->ProgramGrid1->item(1, 0)->text(), "00008");
    EXPECT_EQ(form1->ProgramGrid1->item(0, 1)->text(), "00");
    EXPECT_EQ(form1->ProgramGrid1->item(0, 2)->text(), "16");  // L: 20 bytes and the CRC

    // Cancelling the next dialog forgets the image, keeps the grid and the button.
    form1->Open1Click();
    EXPECT_EQ(form1->Image.ImageLength, 0u);
    EXPECT_EQ(form1->ProgramGrid1->rowCount(), 3);
    EXPECT_TRUE(form1->BUpgrade->isEnabled());

    // A damaged body: the CRC message with the offset after the record, and no upgrade.
    auto bad = image;
    bad[5] ^= 0x01;
    write(folder.path() / "bad.enc", sim::hexText(bad));
    dialogs->answers.push_back((folder.path() / "bad.enc").string());
    form1->Open1Click();
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "В файле обновления ошибка CRC \r\n (код 00018).\r\nОбновление прервано !!!");
    EXPECT_EQ(messages.shown()[0].caption, "");
    EXPECT_FALSE(form1->BUpgrade->isEnabled());

    // Capitals are not the update extension: nothing happens.
    write(folder.path() / "fw.ENC", sim::hexText(image));
    dialogs->answers.push_back((folder.path() / "fw.ENC").string());
    form1->Open1Click();
    EXPECT_FALSE(form1->BUpgrade->isEnabled());
    EXPECT_EQ(messages.shown().size(), 1u);
}

}  // namespace
