#include "core/testing/FakeDesktop.h"
#include "core/testing/ProgramFixture.h"
#include "link/windows/uDelay.h"
#include "link/windows/uIdNum.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace kestrova::windows {
namespace {

using testing::FakeDesktop;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

class LinkWindows : public ::testing::Test, protected testing::ProgramFixture {};

TEST_F(LinkWindows, IdNumberFieldTakesTheMaskAndConfirmsByKeyOrButton) {
    TfrmIdNum window(state, context.adminLog, context.messages, context.captions);
    auto* field = window.findChild<QLineEdit*>("MaskEdit1");
    window.show();
    EXPECT_EQ(field->text(), "0000");
    EXPECT_EQ(window.windowTitle(), "Enter in Id Number to set");

    field->selectAll();
    QTest::keyClicks(field, "B1x23"); // the mask refuses the letter after the first place
    EXPECT_EQ(field->text(), "B123");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(state.idToSet(), "B123");
    EXPECT_FALSE(state.autoIncrementId());
    EXPECT_EQ(adminLog(), ""); // Enter writes no entry
    EXPECT_FALSE(window.isVisible());

    window.show();
    QTest::keyClick(field, '~');
    EXPECT_TRUE(state.autoIncrementId());

    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>("btnOk"), Qt::LeftButton);
    EXPECT_NE(adminLog().find("Id of Baton changed to B123"), std::string::npos);
    EXPECT_FALSE(state.autoIncrementId());

    window.show();
    QTest::mouseClick(window.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_EQ(state.idToSet(), "");
    EXPECT_FALSE(window.isVisible());
}

TEST_F(LinkWindows, PortSetupStoresTheNumberOnlyOnOk) {
    writeFile(dir / "Kestrova.ini", "CommPort=1\r\n");
    TfrmDelay window(context, state);
    window.show();
    window.findChild<QSpinBox*>("SpinEdit1")->setValue(7);
    QTest::mouseClick(window.findChild<QPushButton*>("Button2"), Qt::LeftButton);
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), "CommPort=1\r\n");

    window.show();
    window.findChild<QSpinBox*>("SpinEdit1")->setValue(7);
    QTest::mouseClick(window.findChild<QPushButton*>("Button1"), Qt::LeftButton);
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), "CommPort=7\r\n");
    EXPECT_EQ(state.portNumber(), 7);
}

} // namespace
} // namespace kestrova::windows
