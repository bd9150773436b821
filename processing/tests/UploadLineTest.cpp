#include "processing/UploadLine.h"

#include "processing/UploadReader.h"

#include <gtest/gtest.h>
#include <ostream>

namespace kestrova {
namespace {

struct CorruptCase {
    const char* name;
    const char* line;
    bool corrupt;
};

void PrintTo(const CorruptCase& row, std::ostream* out) {
    *out << row.name;
}

class CorruptRecord : public ::testing::TestWithParam<CorruptCase> {};

TEST_P(CorruptRecord, LooksAtColumn13OnwardsExceptTheHourMark) {
    EXPECT_EQ(isCorruptRecord(GetParam().line), GetParam().corrupt);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, CorruptRecord,
    ::testing::Values(CorruptCase{"Plain", "000000A1B2C3240305140712", false},
                      CorruptCase{"HourMarkLetter", "000000A1B2C3240305D40712", false},
                      CorruptCase{"LetterInDay", "000000A1B2C324030A140712", true},
                      CorruptCase{"LetterInMinute", "000000A1B2C32403051407A2", true},
                      CorruptCase{"LetterInPacketNumber", "000000A1B2C3240305140701X", true},
                      CorruptCase{"LettersInIdOnly", "ZZZZZZZZZZZZ", false},
                      CorruptCase{"ShortWithDigits", "000000A1B2C3240", false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(UploadLine, UnitRecordsNeedDigitIdsAMinuteAbove127AndTheLength) {
    EXPECT_TRUE(isUnitRecord("000000001234240305148512", 23));
    EXPECT_FALSE(isUnitRecord("0000000012342403051485", 23)); // no packet number
    EXPECT_TRUE(isUnitRecord("0000000012342403051485", 22));
    EXPECT_FALSE(isUnitRecord("000000A01234240305148512", 23)); // letter in the id
    EXPECT_FALSE(isUnitRecord("000000001234240305145912", 23)); // ordinary minute
    EXPECT_FALSE(isSpecialRecord("000000001234240305148"));     // too short for a minute
    EXPECT_FALSE(isSpecialRecord("00000000123424030514ZZ"));    // not hexadecimal: no crash
}

TEST(UploadLine, HourMarksAreClearedFromColumn19) {
    const HourMarks bracket = readHourMarks("000000A1B2C32403059407");
    EXPECT_EQ(bracket.line, "000000A1B2C32403051407");
    EXPECT_TRUE(bracket.bracket);
    EXPECT_FALSE(bracket.angle);

    const HourMarks angle = readHourMarks("000000A1B2C3240305D407");
    EXPECT_EQ(angle.line, "000000A1B2C32403051407");
    EXPECT_TRUE(angle.bracket);
    EXPECT_TRUE(angle.angle);

    const HourMarks angleOnly = readHourMarks("000000A1B2C32403055407");
    EXPECT_FALSE(angleOnly.bracket);
    EXPECT_TRUE(angleOnly.angle);

    const HourMarks none = readHourMarks("000000A1B2C32403051407");
    EXPECT_FALSE(none.bracket || none.angle);
}

TEST(UploadLine, SequenceValueMasksTheHourMarks) {
    EXPECT_EQ(sequenceValue("000000A1B2C3240305140712"), 2403051407u);
    EXPECT_EQ(sequenceValue("000000A1B2C3240305D40712"), 2403051407u);
    EXPECT_EQ(sequenceValue("000000A1B2C3240305940712"), 2403051407u);
    EXPECT_EQ(sequenceValue("000000A1B2C32403051407X"), 2403051407u); // packet number
    EXPECT_FALSE(sequenceValue("000000A1B2C32403Z51407").has_value());
}

TEST(UploadLine, DuplicateIsSameCheckpointDateHourAndAMinuteStepOfZeroOrOne) {
    const std::string first = "000000A1B2C3240305140512";
    EXPECT_TRUE(isDuplicateClocking("000000A1B2C3240305140613", first));
    EXPECT_TRUE(isDuplicateClocking("000000A1B2C3240305140514", first));
    EXPECT_FALSE(isDuplicateClocking("000000A1B2C3240305140715", first));
    EXPECT_FALSE(isDuplicateClocking("000000A1B2C3240305140415", first)); // earlier
    EXPECT_FALSE(isDuplicateClocking("000000D4E5F6240305140615", first));
    EXPECT_FALSE(isDuplicateClocking("000000A1B2C3240305150615", first));
    EXPECT_FALSE(isDuplicateClocking("000000A1B2C3", first)); // too short: no crash
}

// The walk of the reader, recorded as "U+S" pairs.
std::vector<std::string> walk(const Lines& lines, UploadReadRules rules,
                              std::vector<std::string>* headers = nullptr) {
    std::vector<std::string> seen;
    UploadVisitor visitor;
    visitor.onHeader = [&](std::string_view header) {
        if (headers)
            headers->emplace_back(header);
    };
    visitor.onClocking = [&](const std::string* unit, const std::string& line) {
        seen.push_back((unit ? *unit + "+" : std::string()) + line);
    };
    readUpload(lines, rules, visitor);
    return seen;
}

TEST(UploadReader, HandlesEveryClockingUpToTheLastLine) {
    const Lines lines = {"Id : BATON1", "000000A1B2C32403051407 1", "000000A1B2C32403051408 2"};
    std::vector<std::string> headers;
    EXPECT_EQ(walk(lines, {}, &headers),
              (std::vector<std::string>{"000000A1B2C32403051407 1", "000000A1B2C32403051408 2"}));
    EXPECT_EQ(headers, std::vector<std::string>{"Id : BATON1"});
}

TEST(UploadReader, UnitRecordTravelsWithTheNextLineAndIsDroppedAtTheEnd) {
    const std::string unit = "000000001234240305148512";
    const std::string s = "000000A1B2C3240305140713";
    EXPECT_EQ(walk({unit, s}, {}), std::vector<std::string>{unit + "+" + s});
    EXPECT_EQ(walk({s, unit}, {}), std::vector<std::string>{s});
    EXPECT_EQ(walk({s, unit, "Done"}, {}), std::vector<std::string>{s});
}

TEST(UploadReader, SkipsDoneAndGapMarkersOnlyWhenAsked) {
    const Lines lines = {"Id : B", "MissingLine", "Done", "Extra Line"};
    EXPECT_EQ(walk(lines, {22, true}), std::vector<std::string>{});
    EXPECT_EQ(walk(lines, {23, false}), (std::vector<std::string>{"MissingLine", "Extra Line"}));
}

TEST(UploadReader, TheLineAfterAHeaderIsNeverASecondHeader) {
    std::vector<std::string> headers;
    EXPECT_EQ(walk({"Id : A", "Id : B"}, {}, &headers), std::vector<std::string>{"Id : B"});
    EXPECT_EQ(headers.size(), 1u);
}

} // namespace
} // namespace kestrova
