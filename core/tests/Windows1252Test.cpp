#include "core/Windows1252.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

TEST(Windows1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(all)), all);
}

TEST(Windows1252, MapsTheHighRangeToItsCharacters) {
    EXPECT_EQ(windows1252ToUtf8("caf\xe9 \x80 \x96"), "caf\xc3\xa9 \xe2\x82\xac \xe2\x80\x93");
    EXPECT_EQ(utf8ToWindows1252("\xe2\x82\xac\xc3\xa9"), "\x80\xe9");
}

TEST(Windows1252, UnmappableAndMalformedInputBecomesQuestionMarks) {
    EXPECT_EQ(utf8ToWindows1252("\xe4\xb8\xad"), "?"); // a character outside the page
    EXPECT_EQ(utf8ToWindows1252("a\xc3"), "a?");       // cut short
    EXPECT_EQ(utf8ToWindows1252("\xff"
                                "b"),
              "?b");                                       // not a lead byte
    EXPECT_EQ(utf8ToWindows1252("\xf0\x9f\x98\x80"), "?"); // beyond the basic plane
}

} // namespace
} // namespace kestrova
