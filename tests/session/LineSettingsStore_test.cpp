// The line settings in the registry store: what is saved reads back, each unusable value is named
// with its reason and replaced by the default, and the rest still reaches the port.
#include "session/LineSettingsStore.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

using session::LineField;

class LineSettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/vigil-line-XXXXXX";
        const int fd = ::mkstemp(name);
        ASSERT_GE(fd, 0);
        ::close(fd);
        path_ = name;
    }
    void TearDown() override { std::remove(path_.c_str()); }
    void store(const std::string& values) const {
        std::ofstream(path_) << "Windows Registry Editor Version 5.00\n\n[Quorveth\\ComPort]\n"
                             << values;
    }
    std::string path_;
};

TEST_F(LineSettingsStoreTest, WhatIsSavedReadsBackAndNoKeyMeansNothingWasSaved) {
    std::ofstream(path_) << "Windows Registry Editor Version 5.00\n\n[Quorveth\\Gprs]\n";
    const session::LineSettingsStore settings(path_);
    EXPECT_FALSE(settings.read().keyExists);

    session::LineSettings saved;
    saved.baudIndex = cbr115200;
    saved.comNumber = 12;
    saved.dataBitsIndex = 2;
    saved.parityIndex = -1;  // the window's list with nothing selected is kept as it is
    settings.save(saved);
    const session::StoredLineSettings back = settings.read();
    ASSERT_TRUE(back.keyExists);
    for (const std::string& failure : back.failures) EXPECT_EQ(failure, "");
    EXPECT_EQ(back.values.baudIndex, cbr115200);
    EXPECT_EQ(back.values.comNumber, 12);
    EXPECT_EQ(back.values.dataBitsIndex, 2);
    EXPECT_EQ(back.values.parityIndex, -1);
}

TEST_F(LineSettingsStoreTest, UnusableValuesAreNamedAndTheDefaultsTakeTheirPlace) {
    store(
        "\"ComBaud\"=dword:00000020\n\"StopBits\"=\"one\"\n\"Control\"=dword:00000002\n"
        "\"DataBit\"=dword:00000001\n\"Parity\"=dword:ffffffff\n");
    const session::StoredLineSettings stored = session::LineSettingsStore(path_).read();
    EXPECT_EQ(stored.failures[1], "Failed to get data for 'ComNum'");
    EXPECT_EQ(stored.failures[2], "Invalid data type for 'StopBits'");

    std::vector<session::LineProblem> problems;
    const session::LineSettings line = stored.checked(problems);
    ASSERT_EQ(problems.size(), 3u) << "the port number is not the line's";
    EXPECT_EQ(problems[0].field, LineField::Baud);
    EXPECT_EQ(problems[0].value, 32);
    EXPECT_EQ(problems[1].field, LineField::StopBits);
    EXPECT_EQ(problems[1].failure, "Invalid data type for 'StopBits'");
    EXPECT_EQ(problems[2].field, LineField::Parity);
    EXPECT_EQ(problems[2].value, -1);

    TCommPort port;
    session::applyLine(line, port);
    EXPECT_EQ(port.GetBaud(), 9600);
    EXPECT_EQ(port.StopBits(), sb1_0);
    EXPECT_EQ(port.Control(), ccHard);
    EXPECT_EQ(port.DataBits(), 6);
    EXPECT_EQ(port.Parity(), paNone);
}

}  // namespace
