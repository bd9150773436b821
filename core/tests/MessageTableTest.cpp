#include "core/MessageTable.h"

#include <gtest/gtest.h>
#include <ostream>
#include <stdexcept>
#include <string>

namespace kestrova {
namespace {

struct DefaultCase {
    const char* name;
    int number;
    std::string text;
};

void PrintTo(const DefaultCase& row, std::ostream* out) {
    *out << row.name;
}

class DefaultMessages : public ::testing::TestWithParam<DefaultCase> {};

// Reports glue these texts to others or put them in fixed columns, so every space counts.
TEST_P(DefaultMessages, AreExactToTheSpace) {
    MessageTable table;
    table.SetDefaultMessages();
    EXPECT_EQ(table.MessageText(GetParam().number), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DefaultMessages,
    ::testing::Values(
        DefaultCase{"First", 1, "Initializing please wait..."},
        DefaultCase{"TwoSpaceColumns", 25, "Frequency  Id Number  Name"},
        DefaultCase{"ReportHeading", 39, "Date       Time   Id Number  Location"},
        DefaultCase{"InnerQuotes", 58, "Missing Wav File \"done.wav\""},
        DefaultCase{"LeadingSpace", 59, " Possible added point tampering"},
        DefaultCase{"TrailingSpace", 62, "Report compiled by Kestrova uploader Ver "},
        DefaultCase{"Pipe", 67, "Id     | Name"}, DefaultCase{"SpacesBothSides", 72, " Warnings "},
        DefaultCase{"SixtyEquals", 82, std::string(60, '=')},
        DefaultCase{"ColumnRuler", 92, ":           : Mon : Tue : Wed : Thu : Fri : Sat : Sun :"},
        DefaultCase{"TwoLeadingSpaces", 95, "  /////////////////////////"},
        DefaultCase{"ThreeTrailingSpaces", 101, "Missed Point   "},
        DefaultCase{"SixLeadingSpaces", 102, "      !!!! No Exceptions Found !!!!"},
        DefaultCase{"DoubleSpaceBeforeParen", 109, "Initializing please wait  (Checking Port"},
        DefaultCase{"Last", 114, "Download Complete"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MessageTable, DefaultsFillOneTo114AndClear115To120Only) {
    MessageTable table;
    for (int number : {30, 31, 115, 120, 121, 174, 200})
        table.setText(number, "kept");
    table.SetDefaultMessages();

    for (int number = 1; number <= 114; ++number) {
        if (number == 30 || number == 31)
            continue;
        EXPECT_FALSE(table.MessageText(number).empty()) << "message " << number;
    }
    // 30 and 31 have no default; 115..120 are cleared; the rest belongs to the language file.
    EXPECT_EQ(table.MessageText(30), "kept");
    EXPECT_EQ(table.MessageText(31), "kept");
    EXPECT_EQ(table.MessageText(115), "");
    EXPECT_EQ(table.MessageText(120), "");
    EXPECT_EQ(table.MessageText(121), "kept");
    EXPECT_EQ(table.MessageText(174), "kept");
    EXPECT_EQ(table.MessageText(200), "kept");
}

TEST(MessageTable, UnfilledAndOutOfRangeEntriesReadEmpty) {
    MessageTable table;
    table.setText(1, "one");
    table.setText(200, "last");
    EXPECT_EQ(table.MessageText(1), "one");
    EXPECT_EQ(table.MessageText(200), "last");
    EXPECT_EQ(table.MessageText(2), "");
    EXPECT_EQ(table.MessageText(0), "");
    EXPECT_EQ(table.MessageText(201), "");
    EXPECT_EQ(table.MessageText(-1), "");
}

TEST(MessageTable, WritingOutsideTheTableIsRefused) {
    MessageTable table;
    EXPECT_THROW(table.setText(0, "x"), std::out_of_range);
    EXPECT_THROW(table.setText(201, "x"), std::out_of_range);
    EXPECT_EQ(table.MessageText(0), "");
}

TEST(MessageTable, RangeListsEntriesFromTheFirstOn) {
    MessageTable table;
    table.setText(1, "one");
    table.setText(173, "open");
    table.setText(199, "last copied");
    table.setText(200, "never copied");

    const auto copy = table.range(1, 199);
    ASSERT_EQ(copy.size(), 199u);
    EXPECT_EQ(copy[0], "one");
    EXPECT_EQ(copy[1], "");
    EXPECT_EQ(copy[172], "open");
    EXPECT_EQ(copy[198], "last copied");

    EXPECT_EQ(table.range(199, 201), (std::vector<std::string>{"last copied", "never copied", ""}));
    EXPECT_TRUE(table.range(5, 4).empty());
}

} // namespace
} // namespace kestrova
