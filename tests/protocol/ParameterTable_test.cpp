// The table's orders hold together: each writable parameter in exactly one group order, the
// file and the parse covering what they must.
#include "protocol/ParameterTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>

namespace {

using namespace protocol;

template <typename Order>
bool holds(const Order& order, const Parameter& p) {
    return std::find(order.begin(), order.end(), &p) != order.end();
}

TEST(ParameterTable, KeysAreWellFormedAndUnique) {
    std::set<std::string_view> controls, answers;
    for (const Parameter& p : kParameters) {
        SCOPED_TRACE(std::string(p.control));
        EXPECT_TRUE(controls.insert(p.control).second);
        EXPECT_TRUE(answers.insert(p.answerKey).second);
        EXPECT_EQ(p.answerKey.back(), '=');
        for (char ch : p.answerKey) EXPECT_FALSE(std::islower(static_cast<unsigned char>(ch)));
        // Written parameters are exactly the grouped ones, and they are stored and exported.
        EXPECT_EQ(p.writeKey.empty(), p.group == WriteGroup::None);
        EXPECT_EQ(p.fileKey.empty(), p.group == WriteGroup::None);
        EXPECT_EQ(p.xmlTag.empty(), p.group == WriteGroup::None);
    }
}

TEST(ParameterTable, OrdersCoverTheirParameters) {
    EXPECT_EQ(kFileItems.size(), 53u);
    for (const Parameter& p : kParameters) {
        SCOPED_TRACE(std::string(p.control));
        int groups = holds(kSettingsGroup, p) + holds(kPhonesGroup, p) +
                     holds(kInternetGroup, p) + holds(kAccessGroup, p);
        EXPECT_EQ(groups, p.group == WriteGroup::None ? 0 : 1);
        EXPECT_EQ(holds(kFileItems, p), p.group != WriteGroup::None);
        // The parse reads every parameter; the file reader all but the motion sensor.
        bool parsed = holds(kAnswerTexts, p) || holds(kAnswerNumbers, p) ||
                      holds(kAnswerFlags, p) || p.control == "TrackBar1";
        EXPECT_TRUE(parsed);
        EXPECT_EQ(holds(kFileReader, p), p.control != "EAdcCod");
        EXPECT_EQ(holds(kReadClearingTexts, p), p.kind == ControlKind::Edit);
    }
}

}  // namespace
