#include "core/SiteIndex.h"

#include "core/SiteList.h"
#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using Occurrence = SiteIndex::Occurrence;
using testing::TempDir;

TEST(BuildSiteList, SortsWithoutRegardToCaseAndSkipsHiddenAndFiles) {
    TempDir dir;
    for (const char* name : {"Beta", "alpha", "Common", ".hidden"})
        std::filesystem::create_directory(dir / name);
    testing::writeFile(dir / "Kestrova.ini", "");
    const auto sites = BuildSiteList(dir.path());
    EXPECT_EQ(sites, (std::vector<std::string>{"alpha", "Beta", "Common"}));
    EXPECT_TRUE(isCommonSite(sites[2]));
    EXPECT_TRUE(isCommonSite("COMMON"));
    EXPECT_FALSE(isCommonSite("Commons"));
}

TEST(SiteList, AppendGoesToTheEndAndTellsListeners) {
    SiteList list;
    int calls = 0;
    const int id = list.subscribe([&calls] { ++calls; });
    list.reset({"b", "c"});
    list.append("a");
    EXPECT_EQ(list.names(), (std::vector<std::string>{"b", "c", "a"}));
    EXPECT_EQ(list.positionOf("a"), 2u);
    EXPECT_EQ(calls, 2);
    list.unsubscribe(id);
    list.append("d");
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(list.at(9), std::nullopt);
}

TEST(SiteIndex, MatchesGiveSlotsInOrderAndOccurrencesInScanOrder) {
    SiteIndex index;
    index.setBlock(2, {"A1B2C3", "D4E5F6", "A1B2C3"});
    index.setBlock(0, {"A1B2C3"});
    EXPECT_EQ(index.SiteIdsMatch(2, "A1B2C3"), (std::vector<int>{1, 3}));
    EXPECT_EQ(index.SiteIdsMatch(2, "a1b2c3"), std::vector<int>{});
    EXPECT_EQ(index.occurrences("A1B2C3"), (std::vector<Occurrence>{{0, 1}, {2, 1}, {2, 3}}));
    EXPECT_TRUE(index.SiteIdsMatch(1, "A1B2C3").empty());
}

TEST(SiteIndex, ReloadingABlockReplacesItsOccurrences) {
    SiteIndex index;
    index.setBlock(1, {"A1B2C3", "D4E5F6"});
    index.setBlock(1, {"D4E5F6"});
    EXPECT_FALSE(index.contains("A1B2C3"));
    EXPECT_EQ(index.occurrences("D4E5F6"), (std::vector<Occurrence>{{1, 1}}));
    index.clear();
    EXPECT_FALSE(index.contains("D4E5F6"));
}

TEST(SiteIndex, CapacityAndTheEndMarker) {
    SiteIndex index;
    std::vector<std::string> ids;
    for (int i = 0; i < 300; ++i)
        ids.push_back("ID" + std::to_string(1000 + i));
    EXPECT_EQ(index.setBlock(0, ids), 45u);
    EXPECT_EQ(index.block(0).size(), 255u);
    EXPECT_FALSE(index.contains("ID1255"));
    EXPECT_EQ(index.setBlock(256, {"X"}), 1u);
    // A list holding the marker itself ends there, as a scan would stop at it.
    index.setBlock(3, {"AAAAAA", "zzzzzz", "BBBBBB"});
    EXPECT_EQ(index.block(3), (std::vector<std::string>{"AAAAAA"}));
    EXPECT_FALSE(index.contains("BBBBBB"));
}

TEST(SiteIndex, LookupAgreesWithTheSlotScan) {
    SiteIndex index;
    for (int p = 0; p < 20; ++p) {
        std::vector<std::string> ids;
        for (int s = 0; s < 30; ++s)
            ids.push_back("I" + std::to_string((p * 7 + s * 3) % 40));
        index.setBlock(p, ids);
    }
    for (int p = 0; p < 21; ++p) {
        for (int k = 0; k < 41; ++k) {
            const std::string id = "I" + std::to_string(k);
            EXPECT_EQ(index.SiteIdsMatch(p, id), index.siteIdsMatchByScan(p, id)) << p << id;
        }
    }
}

} // namespace
} // namespace kestrova
