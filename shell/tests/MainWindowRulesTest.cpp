#include "shell/MainWindowRules.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

KeySequence type(const std::string& keys) {
    KeySequence sequence;
    for (const char key : keys)
        sequence = MainWindowKey(key, sequence).sequence;
    return sequence;
}

TEST(MainWindowRules, EmtyShowsTheLabelAndAnyOtherKeyRestoresIt) {
    struct Row {
        std::string keys;
        bool shown;
    };
    for (const Row& row :
         {Row{"Emty", true}, Row{"Emt", false}, Row{"EmtyE", false}, Row{"EEmty", true},
          Row{"Emxty", false}, Row{"emty", false}, Row{"EmtyEmty", true}})
        EXPECT_EQ(type(row.keys).showBadLuck, row.shown) << row.keys;
}

TEST(MainWindowRules, HiddenKeysAndTheWidthToggle) {
    EXPECT_EQ(MainWindowKey('!', {}).action, MainKeyAction::ToggleMenu);
    EXPECT_EQ(MainWindowKey('@', {}).action, MainKeyAction::ToggleTrace);
    EXPECT_EQ(MainWindowKey('#', {}).action, MainKeyAction::PortSetup);
    EXPECT_EQ(MainWindowKey('^', {}).action, MainKeyAction::ProcessFile);
    EXPECT_EQ(MainWindowKey('(', {}).action, MainKeyAction::AdminLogViewer);
    EXPECT_EQ(MainWindowKey('E', {}).action, MainKeyAction::None);
    EXPECT_EQ(ToggledWidth(kNormalWidth), kTraceWidth);
    EXPECT_EQ(ToggledWidth(ToggledWidth(kNormalWidth)), kNormalWidth);
    EXPECT_EQ(ToggledWidth(501), kNormalWidth);
    EXPECT_EQ(ToggledWidth(500), kTraceWidth);
}

} // namespace
} // namespace kestrova
