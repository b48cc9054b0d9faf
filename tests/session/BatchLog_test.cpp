// The log a resumed batch reads back: which units are done, and rows that reach the file whole.
#include "session/BatchLog.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>

#include "support/ScratchFolder.h"

using ::testing::HasSubstr;

namespace {

class Log : public ::testing::Test, protected testsupport::ScratchFolder {};

TEST_F(Log, TheLatestRowOfAUnitDecidesWhetherItIsDone) {
    writeFile("log.csv",
              "time,unit,idcode,result,differences\n"
              "t,U1,id1,failed,x\n"
              "t,U1,id1,ok,\n"
              "t,U2,id2,ok,\n"
              "t,U2,id2,failed,x\n"
              "t,U3,id3,ok");  // a row the power cut short, without its line end
    std::string error;
    auto log = session::BatchLog::open(path("log.csv"), error);
    ASSERT_TRUE(log) << error;
    EXPECT_TRUE(log->done("U1"));
    EXPECT_FALSE(log->done("U2"));
    EXPECT_FALSE(log->done("U3"));  // its row lacks a cell: not counted
    ASSERT_TRUE(log->append({"t2", "U4", "id, v2", "ok", ""}, error)) << error;
    EXPECT_THAT(readFile("log.csv"), ::testing::EndsWith("t,U3,id3,ok\nt2,U4,\"id, v2\",ok,\n"));
}

TEST_F(Log, ANewLogGetsItsHeaderAndAForeignFileIsLeftAlone) {
    std::string error;
    ASSERT_TRUE(session::BatchLog::open(path("log.csv"), error)) << error;
    EXPECT_EQ(readFile("log.csv"), "time,unit,idcode,result,differences\n");

    writeFile("log.csv", "name,phone\nA,1\n");
    EXPECT_FALSE(session::BatchLog::open(path("log.csv"), error));
    EXPECT_THAT(error, HasSubstr("not a batch log"));
    EXPECT_EQ(readFile("log.csv"), "name,phone\nA,1\n");
    // A link is followed: the rows go to its target, and the link stays a link.
    std::filesystem::create_symlink(path("target.csv"), path("link.csv"));
    {
        auto log = session::BatchLog::open(path("link.csv"), error);
        ASSERT_TRUE(log) << error;
        ASSERT_TRUE(log->append({"t", "U1", "004512 V", "ok", ""}, error)) << error;
    }
    EXPECT_TRUE(std::filesystem::is_symlink(path("link.csv")));
    EXPECT_THAT(readFile("target.csv"), ::testing::EndsWith("t,U1,004512 V,ok,\n"));
    // A file saved over the log while the batch runs: its rows are not written to the old one.
    auto log = session::BatchLog::open(path("target.csv"), error);
    ASSERT_TRUE(log) << error;
    writeFile("saved.csv", "time,unit,idcode,result,differences\n");
    std::filesystem::rename(path("saved.csv"), path("target.csv"));
    EXPECT_FALSE(log->append({"t", "U2", "004513 V", "ok", ""}, error));
    EXPECT_THAT(error, HasSubstr("replaced or removed while the batch ran"));
}

}  // namespace
