#include "core/CheckpointList.h"

#include "core/Errors.h"
#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

class CheckpointListTest : public ::testing::Test {
protected:
    CheckpointListTest() { std::filesystem::create_directory(dir / "Gate"); }
    void writeList(const std::string& bytes) { writeFile(dir / "Gate" / "checkpt.lst", bytes); }
    std::string list() { return readFile(dir / "Gate" / "checkpt.lst"); }
    TempDir dir;
};

ScheduleValues sampleSchedule() {
    return {"015",   "010",   "1",     "2",     "01h00", "05h00", "  h  ", "  h  ", "02h30",
            "03h30", "00h00", "23h45", "01h00", "02h00", "01h00", "02h00", "01h00", "02h00"};
}

const char* const kSampleFile = "//Checkpoint list for Gate\r\n"
                                "\r\n"
                                "A1B2C3 = Front gate\r\n"
                                "D4E5F6 # Back gate\r\n"
                                "\r\n"
                                "Round Time  = 015\r\n"
                                "Rest Time   = 010\r\n"
                                "Num Batons  = 1\r\n"
                                "FP Type     = 2\r\n"
                                "ST Mon      = 01h00\r\n"
                                "FT Mon      = 05h00\r\n"
                                "ST Tue      =   h  \r\n"
                                "FT Tue      =   h  \r\n"
                                "ST Wed      = 02h30\r\n"
                                "FT Wed      = 03h30\r\n"
                                "ST Thu      = 00h00\r\n"
                                "FT Thu      = 23h45\r\n"
                                "ST Fri      = 01h00\r\n"
                                "FT Fri      = 02h00\r\n"
                                "ST Sat      = 01h00\r\n"
                                "FT Sat      = 02h00\r\n"
                                "ST Sun      = 01h00\r\n"
                                "FT Sun      = 02h00\r\n"
                                "\r\n"
                                "//End of File\r\n";

TEST_F(CheckpointListTest, SaveWritesTheCompleteLayout) {
    SaveCheckpointList(dir.path(), "Gate",
                       {{"A1B2C3", '=', "Front gate"}, {"D4E5F6", '#', "Back gate"}},
                       sampleSchedule());
    EXPECT_EQ(list(), kSampleFile);
}

TEST_F(CheckpointListTest, LoadReadsMarksNamesAndRawSchedule) {
    writeList(kSampleFile);
    const auto contents = LoadCheckpointList(dir.path(), "Gate");
    EXPECT_EQ(contents.checkpoints, (std::vector<Checkpoint>{{"A1B2C3", '=', "Front gate"},
                                                             {"D4E5F6", '#', "Back gate"}}));
    EXPECT_EQ(contents.schedule[kRoundTime], "015");
    EXPECT_EQ(contents.schedule[6], "0"); // a blank time reads as nothing
    const auto normal = normaliseSchedule(contents.schedule);
    EXPECT_EQ(normal[6], "00h00");
    EXPECT_EQ(normal[4], "01h00");
    EXPECT_EQ(failedPatrolTypeIndex(normal), 2);
}

TEST_F(CheckpointListTest, EmptyListRoundTrips) {
    SaveCheckpointList(dir.path(), "Gate", {}, sampleSchedule());
    const auto contents = LoadCheckpointList(dir.path(), "Gate");
    EXPECT_TRUE(contents.checkpoints.empty());
    ScheduleValues expected = sampleSchedule();
    expected[6] = expected[7] = "00h00"; // blank times come back as midnight
    EXPECT_EQ(normaliseSchedule(contents.schedule), expected);
}

TEST_F(CheckpointListTest, SectionEndsAtTheFirstLineOfNineCharactersOrFewer) {
    writeList("h\r\n\r\nA1B2C3 = X\r\nD4E5F6 = \r\nG7H8I9 = Lost place\r\n");
    const auto contents = LoadCheckpointList(dir.path(), "Gate");
    EXPECT_EQ(contents.checkpoints, (std::vector<Checkpoint>{{"A1B2C3", '=', "X"}}));
    // The rest is taken as the schedule: the lost line is its first value, from column 15.
    EXPECT_EQ(contents.schedule[0], "place");
    EXPECT_EQ(contents.schedule[1], "0");
}

TEST_F(CheckpointListTest, NormalisationPadsShortValues) {
    ScheduleValues raw;
    raw.fill("0");
    raw[kRoundTime] = "15";
    raw[kNumBatons] = "12";
    raw[4] = "1h00";
    const auto normal = normaliseSchedule(raw);
    EXPECT_EQ(normal[kRoundTime], "015");
    EXPECT_EQ(normal[kRestTime], "000");
    EXPECT_EQ(normal[kNumBatons], "1");
    EXPECT_EQ(normal[4], "01h00");
    EXPECT_EQ(normal[5], "00h00");
}

TEST_F(CheckpointListTest, TypeThatIsNotADigitIsAConversionError) {
    ScheduleValues raw;
    raw.fill("0");
    raw[kFailedPatrolType] = "x";
    EXPECT_THROW(failedPatrolTypeIndex(normaliseSchedule(raw)), ConversionError);
}

TEST_F(CheckpointListTest, BothShortFormsReadAsEmptyWithZeroSchedule) {
    for (const auto form : {EmptyListForm::NamedForSite, EmptyListForm::Generic}) {
        CreateEmptyCheckpointList(dir.path(), "Gate", form);
        const auto contents = LoadCheckpointList(dir.path(), "Gate");
        EXPECT_TRUE(contents.checkpoints.empty());
        const auto normal = normaliseSchedule(contents.schedule);
        EXPECT_EQ(normal[kRoundTime], "000");
        EXPECT_EQ(normal[kNumBatons], "0");
        EXPECT_EQ(failedPatrolTypeIndex(normal), 0);
        EXPECT_EQ(normal[17], "00h00");
    }
    EXPECT_EQ(list(), "//Checkpoint list for Kestrova\r\n\r\n\r\n//End of file\r\n");
    CreateEmptyCheckpointList(dir.path(), "Gate", EmptyListForm::NamedForSite);
    EXPECT_EQ(list(), "//Checkpoint list for Gate\r\n\r\n\r\n//End of File\r\n");
}

TEST_F(CheckpointListTest, AppendToShortFormGivesFiveLines) {
    CreateEmptyCheckpointList(dir.path(), "Gate", EmptyListForm::Generic);
    AppendCheckpoint(dir.path(), "Gate", "00AB12", "Unknown checkpoint");
    EXPECT_EQ(list(), "//Checkpoint list for Kestrova\r\n\r\n00AB12 = Unknown checkpoint\r\n\r\n"
                      "//End of file\r\n");
    EXPECT_EQ(readFile(dir / "checkpt.$$$"), list());
}

TEST_F(CheckpointListTest, AppendGoesAfterTheLastCheckpointAndKeepsTheSchedule) {
    writeList(kSampleFile);
    AppendCheckpoint(dir.path(), "Gate", "000000", "------ Baton Uploaded ------");
    const auto contents = LoadCheckpointList(dir.path(), "Gate");
    ASSERT_EQ(contents.checkpoints.size(), 3u);
    EXPECT_EQ(contents.checkpoints[2], (Checkpoint{"000000", '=', "------ Baton Uploaded ------"}));
    EXPECT_EQ(contents.schedule[kRestTime], "010");
    EXPECT_EQ(contents.schedule[17], "02h00");
}

TEST_F(CheckpointListTest, EmptyNamesStayCheckpoints) {
    SaveCheckpointList(dir.path(), "Gate", {{"A1B2C3", '=', ""}, {"D4E5F6", '=', "Next"}},
                       sampleSchedule());
    AppendCheckpoint(dir.path(), "Gate", "G7H8I9", "");
    const auto contents = LoadCheckpointList(dir.path(), "Gate");
    ASSERT_EQ(contents.checkpoints.size(), 3u);
    EXPECT_EQ(contents.checkpoints[1].name, "Next");
    EXPECT_EQ(contents.checkpoints[2].id, "G7H8I9");
}

TEST_F(CheckpointListTest, IdsForTheIndexTakeLinesLongerThanFive) {
    writeList("h\r\n\r\nA1B2C3\r\nD4E5F6 = X\r\nshort\r\nG7H8I9 = Y\r\n");
    EXPECT_EQ(ReadCheckpointIds(dir.path(), "Gate"),
              (std::vector<std::string>{"A1B2C3", "D4E5F6"}));
}

// A line of an id alone (or an id and a short name) is indexed but ends the checkpoint section:
// the appended line goes after every indexed line, so that no id below it drops out of the
// index behind the empty line the append writes.
TEST_F(CheckpointListTest, AppendKeepsEveryIndexedIdIndexed) {
    writeList("h\r\n\r\nA1B2C3\r\nD4E5F6 = X\r\nB1B2 = Y\r\n\r\nRound Time  = 015\r\n");
    AppendCheckpoint(dir.path(), "Gate", "F0F0F0", "4 Unknown checkpoint");
    EXPECT_EQ(ReadCheckpointIds(dir.path(), "Gate"),
              (std::vector<std::string>{"A1B2C3", "D4E5F6", "B1B2 =", "F0F0F0"}));
    EXPECT_EQ(list(), "h\r\n\r\nA1B2C3\r\nD4E5F6 = X\r\nB1B2 = Y\r\n"
                      "F0F0F0 = 4 Unknown checkpoint\r\n\r\nRound Time  = 015\r\n");
}

TEST_F(CheckpointListTest, FileNameIsFoundWithoutRegardToCase) {
    writeFile(dir / "Gate" / "Checkpt.LST", "h\r\n\r\nA1B2C3 = X\r\n");
    EXPECT_EQ(ReadCheckpointIds(dir.path(), "Gate"), (std::vector<std::string>{"A1B2C3"}));
    AppendCheckpoint(dir.path(), "Gate", "D4E5F6", "Y");
    EXPECT_FALSE(std::filesystem::exists(dir / "Gate" / "checkpt.lst"));
    EXPECT_EQ(ReadCheckpointIds(dir.path(), "Gate").size(), 2u);
}

TEST_F(CheckpointListTest, MissingListIsAnIoError) {
    EXPECT_THROW(LoadCheckpointList(dir.path(), "Gate"), IoError);
    EXPECT_THROW(AppendCheckpoint(dir.path(), "Gate", "A1B2C3", "X"), IoError);
}

} // namespace
} // namespace kestrova
