#include "core/CheckpointList.h"
#include "core/ProgramContext.h"
#include "core/SiteSetup.h"
#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::FakeDesktop;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

class SiteStoreTest : public ::testing::Test {
protected:
    SiteStoreTest() : context(dir.path(), fake.desktop, "1") {
        context.messages.SetDefaultMessages();
    }
    TempDir dir;
    FakeDesktop fake;
    ProgramContext context;
};

TEST_F(SiteStoreTest, FirstSitePromptRepeatsUntilASiteExists) {
    std::filesystem::create_directory(dir / "Taken");
    fake.dialogs.inputAnswers = {std::nullopt, "", "Taken", "bad/name", "Main Gate"};
    AddFirstSite(context);
    EXPECT_EQ(context.sites.names(), std::vector<std::string>{"Main Gate"});
    EXPECT_TRUE(std::filesystem::is_directory(dir / "Main Gate" / "Raw"));
    EXPECT_EQ(fake.dialogs.errors,
              (std::vector<std::string>{"Could Not Create the new site Taken",
                                        "Could Not Create the new site bad/name"}));
    ASSERT_EQ(fake.dialogs.inputRequests.size(), 5u);
    EXPECT_EQ(fake.dialogs.inputRequests[0].title, "New Site");
    EXPECT_EQ(fake.dialogs.inputRequests[0].prompt, "Enter in the New Site Name");
    EXPECT_FALSE(std::filesystem::exists(dir / "LG202403.txt")); // no log entry for the first
}

TEST_F(SiteStoreTest, AddSiteAppendsUnsortedAndLogsButLeavesTheIndexAlone) {
    context.sites.reset({"b"});
    fake.dialogs.inputAnswers = {"a"};
    EXPECT_EQ(AddSite(context), "a");
    EXPECT_EQ(context.sites.names(), (std::vector<std::string>{"b", "a"}));
    EXPECT_FALSE(std::filesystem::exists(dir / "a" / "checkpt.lst"));
    EXPECT_TRUE(context.siteIndex.block(1).empty());
    EXPECT_EQ(readFile(dir / "LG202403.txt"),
              "\"2024/03/05 14:07.09\",\"a\",\"New Site created\"\r\n");
}

TEST_F(SiteStoreTest, AddSiteEndsQuietlyOnCancelAndReportsAnExistingName) {
    std::filesystem::create_directory(dir / "Gate");
    fake.dialogs.inputAnswers = {std::nullopt, "", "gate"};
    EXPECT_EQ(AddSite(context), std::nullopt);
    EXPECT_EQ(AddSite(context), std::nullopt);
    EXPECT_TRUE(fake.dialogs.errors.empty());
    EXPECT_EQ(AddSite(context), std::nullopt);
    EXPECT_EQ(fake.dialogs.errors, std::vector<std::string>{"Could Not Create the new site gate"});
}

TEST_F(SiteStoreTest, LoadSiteIndexCreatesMissingFilesAndLoadsIds) {
    for (const char* name : {"alpha", "Beta"})
        std::filesystem::create_directory(dir / name);
    writeFile(dir / "Beta" / "checkpt.lst", "//h\r\n\r\nA1B2C3 = Gate\r\n\r\n");
    context.sites.reset(BuildSiteList(dir.path()));
    LoadSiteIndex(context);
    EXPECT_EQ(readFile(dir / "alpha" / "checkpt.lst"),
              "//Checkpoint list for Kestrova\r\n\r\n\r\n//End of file\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "alpha" / "Raw"));
    EXPECT_TRUE(context.siteIndex.block(0).empty());
    EXPECT_EQ(context.siteIndex.block(1), std::vector<std::string>{"A1B2C3"});
    EXPECT_EQ(context.siteIndex.SiteIdsMatch(1, "A1B2C3"), std::vector<int>{1});
}

TEST_F(SiteStoreTest, ExistingRawDirectoryInAnotherCaseIsKept) {
    std::filesystem::create_directories(dir / "Gate" / "RAW");
    context.sites.reset(BuildSiteList(dir.path()));
    LoadSiteIndex(context);
    EXPECT_FALSE(std::filesystem::exists(dir / "Gate" / "Raw"));
}

} // namespace
} // namespace kestrova
