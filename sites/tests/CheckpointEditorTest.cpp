#include "sites/CheckpointEditor.h"

#include "core/FileNames.h"
#include "sites/EditorIdButtons.h"
#include "sites/tests/SitesFixture.h"

#include <deque>
#include <mutex>
#include <thread>

namespace kestrova {
namespace {

using testing::readFile;
using testing::SitesFixture;
using testing::writeFile;
namespace fs = std::filesystem;

class CheckpointEditorTest : public SitesFixture {
protected:
    CheckpointEditorTest() { makeSites({"Alpha", "Beta"}); }

    CheckpointEditor& editor(std::optional<std::size_t> initial = std::nullopt) {
        if (!editor_)
            editor_.emplace(context, state, initial);
        return *editor_;
    }
    std::vector<std::string> ids() const {
        std::vector<std::string> out;
        for (const auto& row : editor_->rows())
            out.push_back(row.checkpoint.id);
        return out;
    }
    std::vector<int> numbers() const {
        std::vector<int> out;
        for (const auto& row : editor_->rows())
            out.push_back(row.number);
        return out;
    }
    void typeId(const std::string& field) {
        ASSERT_TRUE(editor().beginTypedAdd());
        editor().acceptInputBox(field);
        editor().finishTypedAdd();
    }
    std::vector<Checkpoint> saved(const std::string& site) const {
        return LoadCheckpointList(dir.path(), site).checkpoints;
    }

    std::optional<CheckpointEditor> editor_;
};

TEST_F(CheckpointEditorTest, OpeningSelectsTheFirstSiteAndGivesItAnEmptyList) {
    editor().open(std::nullopt);
    EXPECT_EQ(editor().selectedSite(), 0u);
    EXPECT_EQ(list("Alpha"), "//Checkpoint list for Alpha\r\n\r\n\r\n//End of File\r\n");
    EXPECT_TRUE(editor().rows().empty());
    EXPECT_EQ(editor().separatorEntries(), std::vector<std::string>{"none"});
}

TEST_F(CheckpointEditorTest, LoadingNumbersRowsAndChoosesTheMarkedSeparator) {
    auto values = defaultValues();
    values[kFailedPatrolType] = "1";
    values[kRoundTime] = "45";
    writeList("Beta", {"000001", "000002", "000003"}, values);
    auto contents = LoadCheckpointList(dir.path(), "Beta");
    contents.checkpoints[1].mark = '#';
    SaveCheckpointList(dir.path(), "Beta", contents.checkpoints, contents.schedule);

    editor().open(1);
    EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(editor().separatorChoice(), 2);
    EXPECT_EQ(editor().separatorEntries()[2], "(000002) Point 2");
    EXPECT_EQ(editor().schedule().roundTime, "045");
    EXPECT_EQ(editor().schedule().type, FailedPatrolType::Single);
}

TEST_F(CheckpointEditorTest, TypedIdsAreNormalisedNamedAndSaved) {
    editor().open(std::nullopt);
    typeId("00000o");
    typeId("abCiL9");
    typeId("abCiL9"); // typed ids are not compared with the list
    EXPECT_EQ(ids(), (std::vector<std::string>{"000000", "ABC119", "ABC119"}));
    EXPECT_EQ(editor().rows()[0].checkpoint.name, "------ Baton Uploaded ------");
    EXPECT_EQ(editor().rows()[1].checkpoint.name, "Unknown checkpoint");
    EXPECT_EQ(editor().selectedRows(), std::set<std::size_t>{2});
    EXPECT_EQ(saved("Alpha").size(), 3u);
    EXPECT_EQ(adminLog(),
              "\"2024/03/05 14:07.09\",\"Alpha\",\"New Id Button Added (000000) Unknown "
              "checkpoint\"\r\n"
              "\"2024/03/05 14:07.09\",\"Alpha\",\"New Id Button Added (ABC119) Unknown "
              "checkpoint\"\r\n"
              "\"2024/03/05 14:07.09\",\"Alpha\",\"New Id Button Added (ABC119) Unknown "
              "checkpoint\"\r\n");
}

TEST_F(CheckpointEditorTest, CancelledOrBlankInputAddsNothing) {
    editor().open(std::nullopt);
    ASSERT_TRUE(editor().beginTypedAdd());
    editor().cancelInputBox();
    editor().finishTypedAdd();
    typeId("      ");
    typeId("");
    EXPECT_TRUE(editor().rows().empty());
    EXPECT_EQ(adminLog(), "");
}

TEST(TypedIdTest, FieldTakesLettersAndDigitsOnly) {
    for (const char c : std::string("aZ09"))
        EXPECT_TRUE(typedIdAccepts(c)) << c;
    for (const char c : std::string(" -_./#\xE9"))
        EXPECT_FALSE(typedIdAccepts(c)) << c;
    EXPECT_EQ(normaliseTypedId("Ab1"), "AB1   ");
    EXPECT_EQ(normaliseTypedId("lOIoxyz12"), "1010xy");
}

TEST_F(CheckpointEditorTest, ReadInIdsAreAddedOnceAndAppendedToTheFile) {
    writeList("Alpha", {"000001"});
    editor().open(std::nullopt);
    int closes = 0;
    editor().setInputBoxCloser([&] { ++closes; });
    editor().AddReadInCheckpoint("00A0B1");
    editor().AddReadInCheckpoint("00A0B1");
    editor().AddReadInCheckpoint("000001");
    editor().AddReadInCheckpoint("000000");
    EXPECT_EQ(ids(), (std::vector<std::string>{"000001", "00A0B1"}));
    EXPECT_EQ(closes, 3); // every button but "000000" closes the input box
    const auto contents = LoadCheckpointList(dir.path(), "Alpha");
    ASSERT_EQ(contents.checkpoints.size(), 2u);
    EXPECT_EQ(contents.checkpoints[1], (Checkpoint{"00A0B1", kOrdinaryMark, "Unknown checkpoint"}));
    EXPECT_EQ(contents.schedule[kRoundTime], "015"); // the schedule lines are kept
}

TEST_F(CheckpointEditorTest, ReadInWhileTheInputBoxIsOpenLeavesTheTypedAddEmpty) {
    editor().open(std::nullopt);
    ASSERT_TRUE(editor().beginTypedAdd());
    editor().acceptInputBox("123456");
    editor().AddReadInCheckpoint("ABCDEF");
    editor().finishTypedAdd();
    EXPECT_EQ(ids(), std::vector<std::string>{"ABCDEF"});
}

TEST_F(CheckpointEditorTest, ReadInReachesTheStartUpSiteBeforeTheEditorIsOpened) {
    writeList("Beta", {"000001", "000002"});
    editor(1).AddReadInCheckpoint("000002");
    editor().AddReadInCheckpoint("000003");
    EXPECT_EQ(saved("Beta").size(), 3u);
    EXPECT_FALSE(fs::exists(dir / "Alpha" / "checkpt.lst"));
}

TEST_F(CheckpointEditorTest, ReadInWithoutASiteDoesNothing) {
    context.sites.reset({});
    editor().AddReadInCheckpoint("000003");
    EXPECT_EQ(adminLog(), "");
}

TEST_F(CheckpointEditorTest, DeletingTwoOfFiveKeepsTheOtherNumbers) {
    writeList("Alpha", {"000001", "000002", "000003", "000004", "000005"});
    editor().open(std::nullopt);
    editor().setSelectedRows({2, 3}, 3);
    fake.dialogs.confirmAnswers = {true};
    EXPECT_TRUE(editor().deleteSelected());
    EXPECT_EQ(fake.dialogs.confirmations,
              std::vector<std::string>{"Are you sure you want to delete the selected item(s)"});
    EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 5}));
    EXPECT_EQ(saved("Alpha").size(), 3u);
    EXPECT_EQ(adminLog(), "\"2024/03/05 14:07.09\",\"Alpha\",\"Id Button Deleted (000003) Point "
                          "3\"\r\n\"2024/03/05 14:07.09\",\"Alpha\",\"Id Button Deleted (000004) "
                          "Point 4\"\r\n");
}

TEST_F(CheckpointEditorTest, CancelledDeleteStillSaves) {
    writeList("Alpha", {"000001", "000002"});
    editor().open(std::nullopt);
    editor().clickRow(0);
    editor().setLocationText("Renamed");
    fake.dialogs.confirmAnswers = {false};
    EXPECT_FALSE(editor().deleteSelected());
    EXPECT_EQ(saved("Alpha")[0].name, "Renamed");
    EXPECT_EQ(saved("Alpha").size(), 2u);
}

TEST_F(CheckpointEditorTest, MovingSwapsContentsAndKeepsNumbers) {
    writeList("Alpha", {"000001", "000002", "000003"});
    editor().open(std::nullopt);
    editor().clickRow(0);
    writeFile(dir / "Alpha" / "checkpt.lst", "spoilt"); // a move at the top still saves
    editor().moveUp();
    EXPECT_EQ(ids(), (std::vector<std::string>{"000001", "000002", "000003"}));
    EXPECT_EQ(saved("Alpha").size(), 3u);
    editor().moveDown();
    EXPECT_EQ(ids(), (std::vector<std::string>{"000002", "000001", "000003"}));
    EXPECT_EQ(numbers(), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(editor().currentRow(), 1u);
    EXPECT_EQ(editor().idLabel(), "000001");
    EXPECT_EQ(saved("Alpha")[1].id, "000001");
}

TEST_F(CheckpointEditorTest, SeparatorMarksEveryRowOfItsIdAndTheFirstEntryClearsIt) {
    writeList("Alpha", {"000001", "000002", "000001"});
    editor().open(std::nullopt);
    editor().chooseSeparator(1);
    auto marks = [&] {
        std::string out;
        for (const auto& c : saved("Alpha"))
            out += c.mark;
        return out;
    };
    EXPECT_EQ(marks(), "#=#");
    editor().chooseSeparator(2);
    EXPECT_EQ(marks(), "=#=");
    editor().chooseSeparator(0);
    EXPECT_EQ(marks(), "===");
}

TEST_F(CheckpointEditorTest, RenamingFollowsTheEditAndTheTriggerShowsTheCredits) {
    writeList("Alpha", {"000001"});
    editor().open(std::nullopt);
    editor().setLocationText("nothing selected");
    EXPECT_EQ(editor().rows()[0].checkpoint.name, "Point 1");
    EXPECT_FALSE(editor().locationEditable());
    editor().clickRow(0);
    EXPECT_TRUE(editor().locationEditable());
    EXPECT_EQ(editor().locationText(), "Point 1");
    editor().setLocationText(std::string(kCreditsTrigger));
    EXPECT_TRUE(editor().creditsShown());
    editor().setLocationText("Front door");
    EXPECT_FALSE(editor().creditsShown());
    editor().leaveLocation();
    EXPECT_EQ(saved("Alpha")[0].name, "Front door");
}

TEST_F(CheckpointEditorTest, ViewListWritesThePrintedList) {
    SaveCheckpointList(dir.path(), "Alpha",
                       {{"000001", '=', "7 Unknown checkpoint"},
                        {"000002", '#', "12 Unknown checkpoint"},
                        {"000003", '=', "123 Unknown checkpoint"},
                        {"000004", '=', "Gate"}},
                       defaultValues());
    editor().open(std::nullopt);
    const auto file = editor().viewList();
    ASSERT_TRUE(file);
    EXPECT_EQ(*file, dir / "List.txt");
    EXPECT_EQ(fake.documents.opened, std::vector<fs::path>{dir / "List.txt"});
    const std::string block = "  |        |\r\n";
    const std::string rule = "  +--------+-----------------------------------------\r\n";
    EXPECT_EQ(readFile(dir / "List.txt"),
              "\r\n"
              "     Check Point List for  Alpha\r\n"
              "     Printed on  05/03/2024 at  14:07:09\r\n"
              "\r\n"
              "  +========+=========================================\r\n"
              "  |Id     | Name\r\n"
              "  +========+=========================================\r\n" +
                  block + "  | 000001 |\r\n  |        | 7\r\n" + rule + block +
                  "  | 000002 |\r\n  |        | 12\r\n" + rule + block +
                  "  | 000003 |\r\n  |        | 123 Unknown checkpoint\r\n" + rule + block +
                  "  | 000004 |\r\n  |        | Gate\r\n" + rule +
                  "\r\nEnd of File\r\nwww.kestrova.example\r\n");
}

TEST_F(CheckpointEditorTest, ViewListForASiteWithoutAListWritesNothing) {
    editor(1);
    EXPECT_EQ(editor().viewList(), std::nullopt);
    EXPECT_FALSE(fs::exists(dir / "List.txt"));
}

TEST_F(CheckpointEditorTest, ClosingSavesAndRefreshesTheIndex) {
    writeList("Beta", {"000009"});
    editor().open(std::nullopt);
    typeId("AAAAAA");
    editor().close();
    EXPECT_EQ(context.siteIndex.block(0), std::vector<std::string>{"AAAAAA"});
    EXPECT_EQ(context.siteIndex.block(1), std::vector<std::string>{"000009"});
}

TEST_F(CheckpointEditorTest, ScheduleButtonsSave) {
    auto values = defaultValues();
    values[kFailedPatrolType] = "2";
    values[kRestTime] = "012";
    values[kFirstDayTime + 1] = "05h00";
    writeList("Alpha", {"000001"}, values);
    editor().open(std::nullopt);
    EXPECT_TRUE(editor().scheduleCheck().autoCorrectShown);
    editor().autoCorrect();
    const auto stored = LoadCheckpointList(dir.path(), "Alpha").schedule;
    EXPECT_EQ(stored[kRestTime], "015");
    EXPECT_EQ(stored[kFirstDayTime + 1], "01h00");
    EXPECT_EQ(stored[kFirstDayTime + 13], "01h00");
    EXPECT_FALSE(editor().scheduleCheck().warningShown);
    editor().twentyFourHourPatrols();
    EXPECT_EQ(LoadCheckpointList(dir.path(), "Alpha").schedule[kFirstDayTime + 13], "01h00");
}

TEST_F(CheckpointEditorTest, ProgrammingFromThePanelUsesMondaysWindow) {
    auto values = defaultValues();
    values[kFailedPatrolType] = "1";
    values[kRestTime] = "000";
    values[kFirstDayTime] = "02h00";
    values[kFirstDayTime + 1] = "03h00";
    writeList("Alpha", {"000001", "000002", "000003"}, values);
    editor().open(std::nullopt);
    EXPECT_EQ(editor().programNextBaton().outcome, ProgramOutcome::Programmed);
    EXPECT_EQ(state.storeLen(), 1 + 2 + 3);
    EXPECT_NE(adminLog().find("FPType:Single Baton RT:015 ST:02h00 FT:03h00 TT:000 B:1"),
              std::string::npos);
}

TEST_F(CheckpointEditorTest, CreatingASiteGivesOlderSitesTheirMissingPieces) {
    fs::remove_all(dir / "Beta" / "Raw");
    fake.dialogs.inputAnswers = {"Gamma"};
    EXPECT_EQ(editor().CreateSite(), "Gamma");
    EXPECT_EQ(editor().siteNames(), (std::vector<std::string>{"Alpha", "Beta", "Gamma"}));
    for (const std::string site : {"Alpha", "Beta", "Gamma"}) {
        EXPECT_TRUE(fs::is_directory(dir / site / "Raw")) << site;
        EXPECT_EQ(list(site), "//Checkpoint list for Kestrova\r\n\r\n\r\n//End of file\r\n");
    }
    fake.dialogs.inputAnswers = {"alpha"};
    EXPECT_EQ(editor().CreateSite(), std::nullopt);
    EXPECT_EQ(fake.dialogs.errors, std::vector<std::string>{"Could Not Create the new site alpha"});
}

TEST_F(CheckpointEditorTest, ASiteWithoutCheckpointsIsDeletedAtOnce) {
    editor(1);
    EXPECT_EQ(editor().DeleteSite(), CheckpointEditor::DeleteStep::Deleted);
    EXPECT_EQ(fake.trash.trashed, std::vector<fs::path>{dir / "Beta"});
    EXPECT_EQ(fake.dialogs.information,
              std::vector<std::string>{
                  "The program needs to be closed and restarted for changes to take effect"});
    EXPECT_EQ(adminLog(), "\"2024/03/05 14:07.09\",\"Beta\",\"Site Deleted\"\r\n");
    EXPECT_EQ(editor().siteNames(), std::vector<std::string>{"Alpha"});
    EXPECT_TRUE(state.closeRequested());
    editor().close(); // nothing is written into the trashed site's place
    EXPECT_FALSE(fs::exists(dir / "Beta"));
}

TEST_F(CheckpointEditorTest, ASiteWithCheckpointsNeedsItsNameTyped) {
    writeList("Beta", {"000001"});
    struct Case {
        std::string typed;
        bool deleted;
    };
    for (const Case& c : {Case{"Beta ", false}, Case{"Alpha", false}, Case{"bETA", true}}) {
        SCOPED_TRACE(c.typed);
        editor(1);
        ASSERT_EQ(editor().DeleteSite(), CheckpointEditor::DeleteStep::Confirm);
        EXPECT_EQ(editor().confirmSiteDelete(c.typed), c.deleted);
        EXPECT_EQ(fs::exists(dir / "Beta"), !c.deleted);
        EXPECT_EQ(state.closeRequested(), c.deleted);
        if (!c.deleted) {
            EXPECT_EQ(fake.dialogs.information.back(), "Site could not be removed");
        }
    }
}

TEST_F(CheckpointEditorTest, ATrashThatRefusesDeletesNothingAndSaysSo) {
    fake.trash.succeed = false;
    editor(1);
    EXPECT_EQ(editor().DeleteSite(), CheckpointEditor::DeleteStep::Failed);
    EXPECT_EQ(fake.dialogs.errors,
              std::vector<std::string>{
                  "Site could not be removed \"Beta\": it could not be moved to the trash."});
    EXPECT_TRUE(fake.dialogs.information.empty());
    EXPECT_EQ(adminLog(), "");
    EXPECT_FALSE(state.closeRequested());
    EXPECT_EQ(editor().siteNames(), (std::vector<std::string>{"Alpha", "Beta"}));
}

// Buttons read on another thread reach the editor only through the queue the user-interface
// thread serves, so nothing of the editor runs on the reading thread.
TEST_F(CheckpointEditorTest, ButtonsFromTheCommsThreadAreAddedOnTheServingThread) {
    writeList("Alpha", {"000001"});
    editor().open(std::nullopt);
    std::mutex mutex;
    std::deque<std::function<void()>> queue;
    EditorIdButtons sink(editor(), fake.dialogs, [&](std::function<void()> step) {
        const std::lock_guard lock(mutex);
        queue.push_back(std::move(step));
    });
    std::thread comms([&] {
        sink.IdButtonRead("0000AA");
        sink.IdButtonRead("0000AA");
        sink.IdButtonRead("0000BB");
    });
    comms.join();
    EXPECT_EQ(editor().rows().size(), 1u);
    const auto uiThread = std::this_thread::get_id();
    std::thread::id ranOn;
    editor().setInputBoxCloser([&] { ranOn = std::this_thread::get_id(); });
    for (auto& step : queue)
        step();
    EXPECT_EQ(ranOn, uiThread);
    EXPECT_EQ(ids(), (std::vector<std::string>{"000001", "0000AA", "0000BB"}));
}

TEST_F(CheckpointEditorTest, AFailedReadInIsShownAsAnError) {
    editor().open(std::nullopt);
    fs::remove_all(dir / "Alpha");
    std::vector<std::function<void()>> queue;
    EditorIdButtons sink(editor(), fake.dialogs,
                         [&](std::function<void()> step) { queue.push_back(std::move(step)); });
    sink.IdButtonRead("0000AA");
    ASSERT_EQ(queue.size(), 1u);
    queue.front()();
    EXPECT_EQ(fake.dialogs.errors.size(), 1u);
}

} // namespace
} // namespace kestrova
