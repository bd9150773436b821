#include "core/LanguageFile.h"

#include "core/Errors.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace kestrova {
namespace {

using testing::FakeDialogs;
using testing::TempDir;
using testing::writeFile;

class RecordingTrace : public TraceSink {
public:
    void WriteTrace(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

const std::vector<std::string> kTraceOfALoad = {"Load Language file start",
                                                "Load language file end"};

// A language file whose line N reads "line N", ended by CR LF, with `count` lines.
std::string numberedLines(int count) {
    std::string bytes;
    for (int line = 1; line <= count; ++line)
        bytes += "line " + std::to_string(line) + "\r\n";
    return bytes;
}

std::string lineText(int line) {
    return "line " + std::to_string(line);
}

// For every caption, the last line of the table that feeds it: the line whose text it shows.
std::map<CaptionKey, int> lastFeedingLines() {
    std::map<CaptionKey, int> last;
    for (const LanguageCaptionLine& row : languageCaptionLines())
        last[CaptionKey{std::string(row.window), std::string(row.control), row.index}] = row.line;
    return last;
}

class LanguageFileTest : public ::testing::Test {
protected:
    LanguageFileTest() {
        messages.SetDefaultMessages();
        for (int number = 175; number <= 200; ++number)
            messages.setText(number, "untouched " + std::to_string(number));
    }

    bool load(const std::filesystem::path& file) {
        return LoadLanguageFile(
            file, messages, captions, dialogs, trace,
            [this](const MessageTable& m) { handedOver.push_back(m.range(1, 199)); });
    }

    TempDir dir;
    MessageTable messages;
    CaptionTable captions;
    FakeDialogs dialogs;
    RecordingTrace trace;
    std::vector<std::vector<std::string>> handedOver;
};

TEST(CaptionTable, StartsWithTheWindowsOwnTexts) {
    const CaptionTable captions;
    EXPECT_EQ(captions.text("TfrmNew", "CheckBox1"), "Sort by checkpoints");
    EXPECT_EQ(captions.text("TfrmMain", "lblID"), "Id : ");
    EXPECT_EQ(captions.text("Tfrmpoints", "Label3"), " wish to work with");
    EXPECT_EQ(captions.title("TfrmPref"), "&Preferences");
    EXPECT_EQ(captions.title("TfrmInputBox"), "frmInputBox");
    EXPECT_EQ(captions.text("TfrmMain", "OpenDialog1"), "Open file to be processed");
    EXPECT_EQ(captions.text("TfrmOpen", "ListView1", 0), "Date");
    EXPECT_EQ(captions.text("TfrmOpen", "ListView1", 1), "Time");
    EXPECT_EQ(captions.text("Tfrmpoints", "ComboBox2", 0), "none");
    EXPECT_EQ(captions.text("Tfrmpoints", "ComboBox2", 2), "Multiple Baton");
    EXPECT_EQ(captions.text("TfrmFPSetup", "TabControl1", 1), "Multiple Baton FP (Fenric B)");
    EXPECT_EQ(captions.text("TfrmSiteDel", "Memo1", 0), "You are atempting to remove a site ");
    EXPECT_EQ(captions.text("TfrmSiteDel", "Memo1", 4), "the box below and press Enter.");
    // Unknown keys, and a known control asked for an index it does not have.
    EXPECT_EQ(captions.text("TfrmNew", "NoSuchControl"), "");
    EXPECT_EQ(captions.text("TfrmNew", "CheckBox1", 0), "");
    EXPECT_EQ(captions.languageEffects().loads, 0);
    EXPECT_FALSE(captions.languageEffects().failedPatrolMenuVisible);
}

struct CountCase {
    const char* name;
    std::string bytes;
    int count;
};

void PrintTo(const CountCase& row, std::ostream* out) {
    *out << row.name;
}

class WrongLineCount : public LanguageFileTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(WrongLineCount, IsRefusedWithTheCountAndChangesNothing) {
    const auto file = dir / "Bad.lng";
    writeFile(file, GetParam().bytes);
    const MessageTable messagesBefore = messages;
    const auto captionsBefore = captions.entries();

    EXPECT_FALSE(load(file));

    ASSERT_EQ(dialogs.errors.size(), 1u);
    EXPECT_EQ(dialogs.errors[0], "Error(" + std::to_string(GetParam().count) + ") " +
                                     file.string() +
                                     " Languauge file corupt please contact You program vendor");
    EXPECT_EQ(messages.range(1, 200), messagesBefore.range(1, 200));
    EXPECT_EQ(captions.entries(), captionsBefore);
    EXPECT_EQ(captions.languageEffects().loads, 0);
    EXPECT_TRUE(handedOver.empty());
    EXPECT_EQ(trace.lines, kTraceOfALoad);
}

INSTANTIATE_TEST_SUITE_P(
    Counts, WrongLineCount,
    ::testing::Values(CountCase{"OneShort", numberedLines(346), 346},
                      CountCase{"OneOver", numberedLines(348), 348},
                      // A reader that reads before it looks for the end sees one line.
                      CountCase{"EmptyFile", "", 1},
                      // An empty line after the last line end is a line of its own.
                      CountCase{"ExtraEmptyLine", numberedLines(347) + "\r\n", 348}),
    [](const auto& row) { return std::string(row.param.name); });

struct LineEndCase {
    const char* name;
    std::string bytes;
};

void PrintTo(const LineEndCase& row, std::ostream* out) {
    *out << row.name;
}

class AcceptedLineEnds : public LanguageFileTest,
                         public ::testing::WithParamInterface<LineEndCase> {};

TEST_P(AcceptedLineEnds, CountAs347Lines) {
    const auto file = dir / "Ok.lng";
    writeFile(file, GetParam().bytes);
    EXPECT_EQ(CountLanguageFileLines(file), 347);
    EXPECT_TRUE(load(file));
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_EQ(messages.MessageText(174), "line 347");
}

std::string withLineEnd(const std::string& end, bool lastEnded) {
    std::string bytes;
    for (int line = 1; line <= 347; ++line) {
        bytes += lineText(line);
        if (line < 347 || lastEnded)
            bytes += end;
    }
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Ends, AcceptedLineEnds,
                         ::testing::Values(LineEndCase{"CrLf", withLineEnd("\r\n", true)},
                                           LineEndCase{"Lf", withLineEnd("\n", true)},
                                           LineEndCase{"Cr", withLineEnd("\r", true)},
                                           LineEndCase{"LastLineUnended",
                                                       withLineEnd("\r\n", false)}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(LanguageFileTest, EveryLineFeedsItsTargetsAndTheLaterLineWins) {
    const auto file = dir / "Test.lng";
    writeFile(file, numberedLines(347));
    ASSERT_TRUE(load(file));
    EXPECT_TRUE(dialogs.errors.empty());

    for (int line = 1; line <= 347; ++line) {
        if (const auto number = messageFedByLine(line)) {
            EXPECT_EQ(messages.MessageText(*number), lineText(line)) << "line " << line;
        }
    }
    // Lines that feed messages out of number order.
    EXPECT_EQ(messages.MessageText(35), "line 91");
    EXPECT_EQ(messages.MessageText(56), "line 74");
    EXPECT_EQ(messages.MessageText(145), "line 61");
    EXPECT_EQ(messages.MessageText(147), "line 253");
    EXPECT_EQ(messages.MessageText(173), "line 44");
    EXPECT_EQ(messages.MessageText(174), "line 347");
    for (int number = 175; number <= 200; ++number)
        EXPECT_EQ(messages.MessageText(number), "untouched " + std::to_string(number));

    for (const auto& [key, line] : lastFeedingLines())
        EXPECT_EQ(captions.text(key.window, key.control, key.index), lineText(line))
            << key.window << "." << key.control << " " << key.index;
    EXPECT_EQ(captions.text("TfrmNew", "CheckBox1"), "line 135");
    EXPECT_EQ(captions.text("TfrmNew", "Label5"), "line 253");
    EXPECT_EQ(captions.title("TfrmInputBox"), "line 91");
    EXPECT_EQ(captions.text("TfrmSiteDel", "Memo1", 2), "line 210");
    EXPECT_EQ(captions.text("TfrmFPSetup", "TabControl1", 0), "line 139");
    EXPECT_EQ(trace.lines, kTraceOfALoad);
}

TEST_F(LanguageFileTest, EmptyLinesEmptyEverythingTheyFeed) {
    const auto file = dir / "Blank.lng";
    writeFile(file, [] {
        std::string bytes;
        for (int line = 1; line <= 347; ++line)
            bytes += "\r\n";
        return bytes;
    }());
    ASSERT_TRUE(load(file));

    for (int number = 1; number <= 174; ++number)
        EXPECT_EQ(messages.MessageText(number), "") << "message " << number;
    for (int number = 175; number <= 200; ++number)
        EXPECT_EQ(messages.MessageText(number), "untouched " + std::to_string(number));
    for (const auto& [key, text] : captions.entries())
        EXPECT_EQ(text, "") << key.window << "." << key.control;
}

TEST_F(LanguageFileTest, TakesLinesWithTheirSpacesAndBytes) {
    std::string bytes;
    for (int line = 1; line <= 347; ++line) {
        if (line == 145) // message 59
            bytes += "  leading and trailing   ";
        else if (line == 36) // TfrmMain.lblID
            bytes += "\tN\xfamero : ";
        else
            bytes += lineText(line);
        bytes += "\r\n";
    }
    const auto file = dir / "Spaces.lng";
    writeFile(file, bytes);
    ASSERT_TRUE(load(file));
    EXPECT_EQ(messages.MessageText(59), "  leading and trailing   ");
    EXPECT_EQ(captions.text("TfrmMain", "lblID"), "\tN\xfamero : ");
}

TEST_F(LanguageFileTest, HandsTheNewMessagesToTheCallbackAndRecordsTheEffects) {
    const auto file = dir / "Test.lng";
    writeFile(file, numberedLines(347));
    messages.setText(199, "kept 199");
    ASSERT_TRUE(load(file));

    ASSERT_EQ(handedOver.size(), 1u);
    const auto& copy = handedOver[0];
    ASSERT_EQ(copy.size(), 199u);
    EXPECT_EQ(copy[0], "line 1");
    EXPECT_EQ(copy[164], "line 340"); // message 165, printed under the banner
    EXPECT_EQ(copy[173], "line 347"); // message 174
    EXPECT_EQ(copy[198], "kept 199");

    const LanguageEffects& effects = captions.languageEffects();
    EXPECT_EQ(effects.loads, 1);
    EXPECT_TRUE(effects.uncheckSortByCheckpoints);
    EXPECT_TRUE(effects.failedPatrolMenuVisible);
    EXPECT_EQ(effects.fpSetupLabel5Width, 285);
    EXPECT_EQ(effects.fpSetupLabel6Width, 156);

    // Every load counts, so the windows re-apply the effects after a change of language.
    ASSERT_TRUE(load(file));
    EXPECT_EQ(captions.languageEffects().loads, 2);
    EXPECT_EQ(handedOver.size(), 2u);
}

TEST_F(LanguageFileTest, WorksWithoutACallback) {
    const auto file = dir / "Test.lng";
    writeFile(file, numberedLines(347));
    EXPECT_TRUE(LoadLanguageFile(file, messages, captions, dialogs, trace, {}));
    EXPECT_EQ(messages.MessageText(1), "line 1");
}

TEST_F(LanguageFileTest, FindsTheFileWhateverTheCaseOfItsName) {
    writeFile(dir / "english.LNG", numberedLines(347));
    EXPECT_TRUE(load(dir / "English.lng"));
    EXPECT_EQ(messages.MessageText(1), "line 1");

    writeFile(dir / "short.lng", numberedLines(10));
    EXPECT_FALSE(load(dir / "Short.lng"));
    ASSERT_EQ(dialogs.errors.size(), 1u);
    // The message names the file as the caller gave it.
    EXPECT_EQ(dialogs.errors[0], languageFileCountError(10, dir / "Short.lng"));
}

TEST_F(LanguageFileTest, AnUnreadableFileRaisesAndChangesNothing) {
    const MessageTable messagesBefore = messages;
    const auto captionsBefore = captions.entries();

    EXPECT_THROW(load(dir / "Missing.lng"), IoError);

    EXPECT_EQ(messages.range(1, 200), messagesBefore.range(1, 200));
    EXPECT_EQ(captions.entries(), captionsBefore);
    EXPECT_TRUE(dialogs.errors.empty());
    EXPECT_TRUE(handedOver.empty());
    EXPECT_EQ(captions.languageEffects().loads, 0);
}

// The shipped English file.

const std::filesystem::path kEnglish =
    std::filesystem::path(KESTROVA_SOURCE_DIR) / "data" / "English.lng";

TEST(EnglishLanguageFile, Has347CrLfLines) {
    const std::string bytes = readFileBytes(kEnglish);
    EXPECT_EQ(CountLanguageFileLines(kEnglish), 347);
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    // Every line end is CR LF: no bare CR or LF that another reader would count differently.
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        if (bytes[at] == '\r') {
            EXPECT_TRUE(at + 1 < bytes.size() && bytes[at + 1] == '\n') << "offset " << at;
        }
        if (bytes[at] == '\n') {
            EXPECT_TRUE(at > 0 && bytes[at - 1] == '\r') << "offset " << at;
        }
    }
}

TEST(EnglishLanguageFile, AgreesWithTheDefaultsAndFillsTheRest) {
    MessageTable defaults;
    defaults.SetDefaultMessages();
    MessageTable messages = defaults;
    CaptionTable captions;
    FakeDialogs dialogs;
    RecordingTrace trace;
    ASSERT_TRUE(LoadLanguageFile(kEnglish, messages, captions, dialogs, trace, {}));

    for (int number = 1; number <= 114; ++number)
        EXPECT_EQ(messages.MessageText(number), defaults.MessageText(number))
            << "message " << number;
    for (int number = 115; number <= 174; ++number)
        EXPECT_FALSE(messages.MessageText(number).empty()) << "message " << number;
}

TEST(EnglishLanguageFile, CaptionLinesCarryTheWindowsOwnTexts) {
    const Lines lines = readLines(kEnglish);
    ASSERT_EQ(lines.size(), 347u);
    for (const LanguageCaptionLine& row : languageCaptionLines()) {
        // Where a line also feeds a message, the message's English text decides the line.
        if (messageFedByLine(row.line))
            continue;
        EXPECT_EQ(lines[static_cast<std::size_t>(row.line - 1)], row.formText)
            << "line " << row.line << " " << row.window << "." << row.control;
    }
}

} // namespace
} // namespace kestrova
