// The vital file list against what the build lays out as the installation: every file the
// installation ships in share/kestrova is listed, and the check passes over the build tree.
#include "app/Installation.h"

#include "core/testing/FakeDesktop.h"

#include <gtest/gtest.h>
#include <set>

namespace kestrova::app {
namespace {

namespace fs = std::filesystem;

TEST(Installation, TheVitalListNamesEveryShippedFileAndTheBuildTreePassesTheCheck) {
    const fs::path share = KESTROVA_SHARE_DIR;
    std::set<std::string> listed;
    for (const VitalFile& file : vitalFiles())
        listed.insert(file.location.generic_string());
    EXPECT_TRUE(listed.count("bin/kestrova"));
    int shipped = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(share)) {
        // Language files are checked by start-up in the program directory, not here.
        if (entry.path().extension() == ".lng")
            continue;
        ++shipped;
        EXPECT_TRUE(listed.count("share/kestrova/" + entry.path().filename().string()))
            << entry.path().filename().string() << " is shipped but not checked";
    }
    EXPECT_GT(shipped, 0);

    testing::FakeDesktop fake;
    testing::TempDir programDir;
    EXPECT_TRUE(RunInstallationCheck(programDir.path(), share.parent_path().parent_path(),
                                     vitalFiles(), fake.dialogs, fake.events));
    EXPECT_TRUE(fake.dialogs.information.empty()) << fake.dialogs.information.front();
}

} // namespace
} // namespace kestrova::app
