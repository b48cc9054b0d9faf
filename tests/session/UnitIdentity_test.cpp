#include "session/UnitIdentity.h"

#include <gtest/gtest.h>

namespace {

TEST(UnitIdentity, IsTheCodeBeforeTheFirstBlankWhateverFollows) {
    // cp1251 "Версия" after the code: the version and EEPROM state are not identity.
    EXPECT_EQ(session::unitIdentity("004512 \xC2\xE5\xF0\xF1\xE8\xFF 2.07 Eeprom OK"), "004512");
    EXPECT_TRUE(session::sameUnit("004512 \xC2\xE5\xF0\xF1\xE8\xFF 2.07 Eeprom OK",
                                  "004512 \xC2\xE5\xF0\xF1\xE8\xFF 2.08 Eeprom ERR"));
    EXPECT_FALSE(session::sameUnit("004512 V 2.07", "004513 V 2.07"));
    EXPECT_EQ(session::unitIdentity("000101\tV"), "000101");
    EXPECT_EQ(session::unitIdentity("000101"), "000101");
}

TEST(UnitIdentity, NoCodeMatchesNothing) {
    EXPECT_EQ(session::unitIdentity(""), "");
    EXPECT_EQ(session::unitIdentity("   "), "");
    EXPECT_EQ(session::unitIdentity(" 000101 V 2.07"), "");
    EXPECT_FALSE(session::sameUnit("", ""));
    EXPECT_FALSE(session::sameUnit(" V 2.07", " V 2.07"));
}

}  // namespace
