// Stores found by fuzzing the registry file parser.
#include <gtest/gtest.h>

#include <string>

#include "platform/RegistryFormat.h"

namespace {

using platform::formatRegistry;
using platform::parseRegistry;

// Blanks before a continuation backslash were kept as data, while the saved text (one line,
// blanks at its end trimmed when read) lost them: the value changed with every save.
TEST(RegistryRegression, BlanksAroundAContinuationAreNotData) {
    for (const char* text : {"[K]\n\"Bin\"=hex:00,02, \\\n\n[K2]\n", "[K]\n\"Bin\"=hex:00,02, \\\n",
                             "[K]\n\"Bin\"=hex:00,02,\t\\\r\n   \r\n"}) {
        std::string error;
        auto doc = parseRegistry(text, error);
        ASSERT_TRUE(doc) << error;
        EXPECT_EQ(doc->find("K")->find("Bin")->text, "hex:00,02,") << text;
        const std::string saved = formatRegistry(*doc);
        auto again = parseRegistry(saved, error);
        ASSERT_TRUE(again) << error;
        EXPECT_EQ(again->find("K")->find("Bin")->text, "hex:00,02,") << text;
        EXPECT_EQ(formatRegistry(*again), saved);
    }
}

}  // namespace
