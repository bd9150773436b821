#include "ProcessingFixture.h"
#include "processing/UnknownCheckpointOption.h"

#include <sstream>

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

class Unknown : public ProcessingTest {
protected:
    Unknown() {
        site("Alpha", {"0000A1 = Front gate"});
        site("Beta", {"0000B1 = Boiler room"});
        loadSites();
        context.settings.update([&](Settings& s) { s.generateFrequencyReport = false; });
    }
    void process() {
        ProcessUpload(services,
                      upload({"Id : BATON7", clocking("0000B1", "2403051405"),
                              clocking("00000A", "2403051406"), clocking("00000B", "2403051407"),
                              clocking("00000A", "2403051409"), "Done"}));
    }
};

TEST_F(Unknown, PlacedInAnExistingSiteTheyFollowItsOwnClockings) {
    chooser.action = [](UnknownCheckpointPlacement& placement) {
        EXPECT_EQ(placement.siteNames(), (std::vector<std::string>{"Alpha", "Beta"}));
        EXPECT_TRUE(placement.placeInExistingSite(1));
    };
    process();
    EXPECT_EQ(chooser.count, 3u);
    EXPECT_EQ(chooser.ids, (std::vector<std::string>{"00000A", "00000B"}));
    const std::string text = report("Beta");
    EXPECT_NE(text.find("Location\r\n"
                        "2024/03/05 14:05  (0000B1)   Boiler room\r\n"
                        "2024/03/05 14:06  (00000A)   2 Unknown checkpoint\r\n"
                        "2024/03/05 14:07  (00000B)   3 Unknown checkpoint\r\n"
                        "2024/03/05 14:09  (00000A)   2 Unknown checkpoint\r\n\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(readFile(dir / "Beta" / "checkpt.lst"), "//Checkpoint list for Beta\r\n\r\n"
                                                      "0000B1 = Boiler room\r\n"
                                                      "00000A = 2 Unknown checkpoint\r\n"
                                                      "00000B = 3 Unknown checkpoint\r\n"
                                                      "\r\n//End of File\r\n");
    // The index learns nothing yet (the day files do: see below).
    EXPECT_FALSE(context.siteIndex.contains("00000A"));
}

TEST_F(Unknown, WithoutAChosenSiteTheWindowAsksAgain) {
    chooser.action = [](UnknownCheckpointPlacement& placement) {
        EXPECT_FALSE(placement.placeInExistingSite(std::nullopt));
        placement.ignore();
    };
    process();
    EXPECT_EQ(desk.dialogs.information,
              std::vector<std::string>{"If the checkpoints are to be placed in an\r"
                                       "existing site select the apropriate site\r"
                                       "and then click Ok"});
}

TEST_F(Unknown, ANewSiteReportsExactlyTheUnknownClockings) {
    desk.dialogs.inputAnswers = {std::string(), std::string("Alpha"), std::string("Stores")};
    chooser.action = [](UnknownCheckpointPlacement& placement) {
        EXPECT_FALSE(placement.placeInNewSite()); // empty answer
        EXPECT_FALSE(placement.placeInNewSite()); // exists already
        EXPECT_TRUE(placement.placeInNewSite());
    };
    process();
    EXPECT_EQ(desk.dialogs.inputRequests.at(0).title, "New Site");
    EXPECT_EQ(desk.dialogs.inputRequests.at(0).prompt, "Enter in the New Site Name");
    EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Could Not Create the new site Alpha"});
    EXPECT_TRUE(fs::is_directory(dir / "Stores" / "Raw"));
    EXPECT_EQ(context.sites.names(), (std::vector<std::string>{"Alpha", "Beta", "Stores"}));
    const std::string text = report("Stores");
    EXPECT_NE(text.find("Location\r\n"
                        "2024/03/05 14:06  (00000A)   1 Unknown checkpoint\r\n"
                        "2024/03/05 14:07  (00000B)   2 Unknown checkpoint\r\n"
                        "2024/03/05 14:09  (00000A)   1 Unknown checkpoint\r\n\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(readFile(dir / "Stores" / "checkpt.lst"), "//Checkpoint list for Kestrova\r\n\r\n"
                                                        "00000A = 1 Unknown checkpoint\r\n"
                                                        "00000B = 2 Unknown checkpoint\r\n"
                                                        "\r\n//End of file\r\n");
    EXPECT_EQ(report("Beta").find("00000A"), std::string::npos);
}

// The names "&Add New Site" refuses are refused here too, with the same message: a name that
// leaves the program directory, a hidden one, one Windows does not allow, and one that exists
// already in another letter case (it would make a second site of the same name there).
TEST_F(Unknown, ANewSiteNameFollowsTheRulesOfAddingASite) {
    const std::vector<std::string> refused = {"../Outside", ".hidden", "a:b*c", "BETA", "alpha"};
    chooser.action = [&](UnknownCheckpointPlacement& placement) {
        for (const auto& name : refused)
            EXPECT_FALSE(placement.placeInNewSite(name)) << name;
        placement.ignore();
    };
    process();
    std::vector<std::string> messages;
    for (const auto& name : refused)
        messages.push_back("Could Not Create the new site " + name);
    EXPECT_EQ(desk.dialogs.errors, messages);
    EXPECT_FALSE(fs::exists(dir.path().parent_path() / "Outside"));
    EXPECT_FALSE(fs::exists(dir / "a:b*c"));
    EXPECT_EQ(BuildSiteList(dir.path()), (std::vector<std::string>{"Alpha", "Beta"}));
    EXPECT_EQ(context.sites.size(), 2u);
}

TEST_F(Unknown, IgnoredTheyAreReportedNowhere) {
    process();
    EXPECT_EQ(chooser.shown, 1);
    const std::string beta = report("Beta");
    EXPECT_EQ(beta.find("00000A"), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "Alpha" / "03051407.txt"));
}

TEST_F(Unknown, DiscardUnknownCheckpointsAsksNothing) {
    context.settings.update([&](Settings& s) { s.discardUnknownCheckpoints = true; });
    process();
    EXPECT_EQ(chooser.shown, 0);
    EXPECT_EQ(report("Beta").find("00000A"), std::string::npos);
}

// The day file of Beta as pre-processing left it: its own clocking, an oddly placed line, a
// short line and no line end after the last one. Only the placed clockings may be added.
TEST_F(Unknown, PlacedClockingsJoinTheSitesDayFilesAndNothingElseChanges) {
    const std::string before = "00000000B124030514050\r\n"
                               "0000000000B12403051408\r\n"
                               "short\n"
                               "0000000000B12403051500";
    writeFile(dir / "Beta" / "Raw" / "240305.txt", before);
    chooser.action = [](UnknownCheckpointPlacement& placement) {
        EXPECT_TRUE(placement.placeInExistingSite(1));
    };
    process();
    EXPECT_EQ(readFile(dir / "Beta" / "Raw" / "240305.txt"), "00000000B124030514050\r\n"
                                                             "00000000000A2403051406\r\n"
                                                             "00000000000B2403051407\r\n"
                                                             "0000000000B12403051408\r\n"
                                                             "short\n"
                                                             "00000000000A2403051409\r\n"
                                                             "0000000000B12403051500");
    EXPECT_FALSE(fs::exists(dir / "Alpha" / "Raw" / "240305.txt"));
    // Processed again, the same upload adds nothing more.
    const std::string once = readFile(dir / "Beta" / "Raw" / "240305.txt");
    process();
    EXPECT_EQ(readFile(dir / "Beta" / "Raw" / "240305.txt"), once);
}

TEST_F(Unknown, ANewSitesDayFilesHoldThePlacedClockings) {
    chooser.action = [](UnknownCheckpointPlacement& placement) {
        EXPECT_TRUE(placement.placeInNewSite("Stores"));
    };
    process();
    EXPECT_EQ(readFile(dir / "Stores" / "Raw" / "240305.txt"),
              "00000000000A2403051406\r\n00000000000B2403051407\r\n00000000000A2403051409\r\n");
}

TEST_F(Unknown, AReportRequestAddsNothingToDayFiles) {
    chooser.action = [](UnknownCheckpointPlacement& placement) {
        EXPECT_TRUE(placement.placeInExistingSite(1));
    };
    ProcessUpload(services, upload({"Id : From 12:00:00 04/03/2024 to 12:00:00 05/03/2024",
                                    "00000000000A2403051406", "Done"}));
    EXPECT_EQ(chooser.shown, 1);
    EXPECT_FALSE(fs::exists(dir / "Beta" / "Raw" / "240305.txt"));
}

TEST_F(Unknown, NoUnknownClockingsNoQuestion) {
    ProcessUpload(services, upload({"Id : B", clocking("0000B1", "2403051405"), "Done"}));
    EXPECT_EQ(chooser.shown, 0);
}

struct OptionCase {
    const char* name;
    const char* value;
    bool valid;
    UnknownCheckpointAnswer::Kind kind;
    const char* site;
};

void PrintTo(const OptionCase& row, std::ostream* out) {
    *out << row.name;
}

class Option : public ::testing::TestWithParam<OptionCase> {};

TEST_P(Option, ParsesTheThreeForms) {
    const auto answer = parseUnknownCheckpointAnswer(GetParam().value);
    ASSERT_EQ(answer.has_value(), GetParam().valid);
    if (answer) {
        EXPECT_EQ(answer->kind, GetParam().kind);
        EXPECT_EQ(answer->site, GetParam().site);
    }
}

using Kind = UnknownCheckpointAnswer::Kind;
INSTANTIATE_TEST_SUITE_P(
    Values, Option,
    ::testing::Values(OptionCase{"Ignore", "ignore", true, Kind::Ignore, ""},
                      OptionCase{"Existing", "existing:Beta", true, Kind::ExistingSite, "Beta"},
                      OptionCase{"New", "new:Stores:2", true, Kind::NewSite, "Stores:2"},
                      OptionCase{"NoSite", "new:", false, Kind::Ignore, ""},
                      OptionCase{"Other", "keep", false, Kind::Ignore, ""}),
    [](const auto& row) { return std::string(row.param.name); });

class Answering : public Unknown {
protected:
    void answer(const std::string& value) {
        AnsweringChooser answering(*parseUnknownCheckpointAnswer(value), notices);
        ProcessingServices withAnswer{context, state, answering, pdf};
        ProcessUpload(withAnswer,
                      upload({"Id : BATON7", clocking("0000B1", "2403051405"),
                              clocking("00000A", "2403051406"), clocking("00000B", "2403051407"),
                              clocking("00000A", "2403051409"), "Done"}));
    }
    std::ostringstream notices;
};

TEST_F(Answering, ExistingSiteIsFoundWithoutRegardToCase) {
    answer("existing:alpha");
    EXPECT_NE(report("Alpha").find("(00000B)   3 Unknown checkpoint"), std::string::npos);
    EXPECT_EQ(notices.str(), "");
}

TEST_F(Answering, NewSiteIsCreated) {
    answer("new:Stores");
    EXPECT_NE(report("Stores").find("(00000B)   2 Unknown checkpoint"), std::string::npos);
}

TEST_F(Answering, IgnoringSaysHowManyAndWhichIds) {
    answer("ignore");
    EXPECT_EQ(notices.str(), "3 clockings of unknown checkpoints ignored: 00000A 00000B\n");
}

TEST_F(Answering, APlacementThatFailsIgnoresThem) {
    answer("existing:Nowhere");
    EXPECT_EQ(desk.dialogs.information.size(), 1u); // messages 32 to 34
    EXPECT_EQ(notices.str(), "3 clockings of unknown checkpoints ignored: 00000A 00000B\n");
    answer("new:Beta");
    EXPECT_EQ(desk.dialogs.errors, std::vector<std::string>{"Could Not Create the new site Beta"});
}

} // namespace
} // namespace kestrova::testing
