#include "core/windows/Captions.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace kestrova::windows {
namespace {

template <typename T> T* named(QWidget& parent, const char* name) {
    auto* object = new T(&parent);
    object->setObjectName(name);
    return object;
}

// A window with one object of each kind the table feeds.
struct Window {
    Window() {
        root.setObjectName("TfrmTest");
        label = named<QLabel>(root, "Label1");
        button = named<QPushButton>(root, "btnOk");
        group = named<QGroupBox>(root, "GroupBox1");
        menu = named<QMenu>(root, "File1");
        action = new QAction(menu);
        action->setObjectName("Exit1");
        menu->addAction(action);
        combo = named<QComboBox>(root, "ComboBox2");
        tree = named<QTreeWidget>(root, "ListView1");
        memo = named<QPlainTextEdit>(root, "Memo1");
        memo->setPlainText("one\ntwo");
    }
    QWidget root;
    QLabel* label;
    QPushButton* button;
    QGroupBox* group;
    QMenu* menu;
    QAction* action;
    QComboBox* combo;
    QTreeWidget* tree;
    QPlainTextEdit* memo;
};

void set(CaptionTable& table, const char* window, const char* control, int index,
         const char* text) {
    table.setText(CaptionKey{window, control, index}, text);
}

TEST(Captions, EveryKindOfControlTakesItsCaptionAndOtherWindowsAreLeftAlone) {
    Window w;
    CaptionTable table;
    set(table, "TfrmTest", "", CaptionKey::kWhole, "Titel");
    set(table, "TfrmTest", "Label1", CaptionKey::kWhole, "Etikett \xe9");
    set(table, "TfrmTest", "btnOk", CaptionKey::kWhole, "&Gut");
    set(table, "TfrmTest", "GroupBox1", CaptionKey::kWhole, "Gruppe");
    set(table, "TfrmTest", "File1", CaptionKey::kWhole, "Datei");
    set(table, "TfrmTest", "Exit1", CaptionKey::kWhole, "&Ende");
    set(table, "TfrmTest", "ComboBox2", 1, "zwei");
    set(table, "TfrmTest", "ListView1", 1, "Zeit");
    set(table, "TfrmTest", "Memo1", 1, "zwei");
    set(table, "TfrmOther", "Label1", CaptionKey::kWhole, "not this window's");

    const auto missed = applyCaptions(w.root, table, "TfrmTest");

    EXPECT_TRUE(missed.empty());
    EXPECT_EQ(w.root.windowTitle(), "Titel");
    EXPECT_EQ(w.label->text(), QString::fromUtf8("Etikett é"));
    EXPECT_EQ(w.button->text(), "&Gut");
    EXPECT_EQ(w.group->title(), "Gruppe");
    EXPECT_EQ(w.menu->title(), "Datei");
    EXPECT_EQ(w.action->text(), "&Ende");
    ASSERT_EQ(w.combo->count(), 2);
    EXPECT_EQ(w.combo->itemText(1), "zwei");
    EXPECT_EQ(w.tree->headerItem()->text(1), "Zeit");
    EXPECT_EQ(w.memo->toPlainText(), "one\nzwei");
}

// Accelerator marks act in buttons and menus; a title bar and a label without a buddy show
// the text without them ("&&" is one "&").
struct AcceleratorCase {
    const char* name;
    const char* caption;
    const char* title;
    const char* label;
    const char* labelWithBuddy;
    const char* button;
};

class Accelerators : public ::testing::TestWithParam<AcceleratorCase> {};

TEST_P(Accelerators, GoWhereNoAcceleratorActs) {
    const AcceleratorCase& c = GetParam();
    Window w;
    auto* withBuddy = named<QLabel>(w.root, "Label2");
    withBuddy->setBuddy(w.button);
    CaptionTable table;
    for (const char* control : {"", "Label1", "Label2", "btnOk"})
        set(table, "TfrmTest", control, CaptionKey::kWhole, c.caption);
    EXPECT_TRUE(applyCaptions(w.root, table, "TfrmTest").empty());
    EXPECT_EQ(w.root.windowTitle(), c.title);
    EXPECT_EQ(w.label->text(), c.label);
    EXPECT_EQ(withBuddy->text(), c.labelWithBuddy);
    EXPECT_EQ(w.button->text(), c.button);
}

INSTANTIATE_TEST_SUITE_P(
    Captions, Accelerators,
    ::testing::Values(
        AcceleratorCase{"Mark", "&Checkpoints", "Checkpoints", "Checkpoints", "&Checkpoints",
                        "&Checkpoints"},
        AcceleratorCase{"MarkInside", "E&xit", "Exit", "Exit", "E&xit", "E&xit"},
        AcceleratorCase{"DoubledMark", "Save && Print", "Save & Print", "Save & Print",
                        "Save && Print", "Save && Print"},
        AcceleratorCase{"TrailingMark", "Ends &", "Ends &", "Ends &", "Ends &", "Ends &"},
        AcceleratorCase{"NoMark", "Reports", "Reports", "Reports", "Reports", "Reports"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(Captions, KeysWithoutAControlAreReturned) {
    Window w;
    CaptionTable table;
    set(table, "TfrmTest", "OpenDialog1", CaptionKey::kWhole, "Open file");
    set(table, "TfrmTest", "Label1", 3, "an index a label has not");
    const auto missed = applyCaptions(w.root, table, "TfrmTest");
    ASSERT_EQ(missed.size(), 2u);
    EXPECT_EQ(missed[0].control, "Label1");
    EXPECT_EQ(missed[1].control, "OpenDialog1");
}

} // namespace
} // namespace kestrova::windows
