#include "core/ProgramContext.h"
#include "core/testing/FakeDesktop.h"
#include "core/testing/ProgramFixture.h"
#include "link/IdNumber.h"
#include "link/PortSetup.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::FakeDesktop;
using testing::readFile;
using testing::TempDir;
using testing::writeFile;

class WindowActions : public ::testing::Test, protected testing::ProgramFixture {};

TEST(IdNumberMask, TakesALetterOrDigitThenThreeDigits) {
    struct Row {
        std::string text;
        bool valid;
    };
    for (const Row& row : {Row{"0000", true}, Row{"A123", true}, Row{"z999", true},
                           Row{"12A4", false}, Row{"123", false}, Row{"12345", false},
                           Row{"-123", false}, Row{"1 23", false}, Row{"", false}})
        EXPECT_EQ(isIdNumber(row.text), row.valid) << row.text;
}

// Each way of confirming the field, and what it leaves behind.
struct EntryRow {
    const char* name;
    IdEntry entry;
    bool logged;
    bool autoIncrement;
};

class IdEntries : public WindowActions, public ::testing::WithParamInterface<EntryRow> {};

TEST_P(IdEntries, SetTheIdForTheNextBaton) {
    state.setAutoIncrementId(!GetParam().autoIncrement);
    ASSERT_TRUE(IdNumberOk(state, context.adminLog, context.messages, "B042", GetParam().entry));
    EXPECT_EQ(state.idToSet(), "B042");
    EXPECT_EQ(state.idFieldText(), "B042");
    EXPECT_EQ(state.label(Label::Id).text, "Id : B042");
    EXPECT_EQ(state.autoIncrementId(), GetParam().autoIncrement);
    EXPECT_EQ(adminLog(), GetParam().logged ? "\"2024/03/05 14:07.09\",\"unknown\",\"Id of Baton "
                                              "changed to B042\"\r\n"
                                            : "");
}

INSTANTIATE_TEST_SUITE_P(IdNumber, IdEntries,
                         ::testing::Values(EntryRow{"OkButton", IdEntry::OkButton, true, false},
                                           EntryRow{"EnterKey", IdEntry::EnterKey, false, false},
                                           EntryRow{"TildeKey", IdEntry::TildeKey, false, true}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(WindowActions, AnIncompleteIdChangesNothingAndCancelDropsTheWaitingId) {
    state.setIdToSet("0007");
    EXPECT_FALSE(IdNumberOk(state, context.adminLog, context.messages, "12", IdEntry::OkButton));
    EXPECT_EQ(state.idToSet(), "0007");
    EXPECT_EQ(adminLog(), "");
    IdNumberCancel(state);
    EXPECT_EQ(state.idToSet(), "");
}

TEST_F(WindowActions, PortSetupReplacesTheCommPortLineOrAddsIt) {
    writeFile(dir / "Kestrova.ini", "Language=x\r\ncommport=3\r\nCOM5=/dev/ttyUSB0\r\n");
    PortSetupOk(context, state, 12);
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), "Language=x\r\nCommPort=12\r\nCOM5=/dev/ttyUSB0\r\n");
    EXPECT_EQ(context.settings.get().commPort, "12");
    EXPECT_EQ(state.portNumber(), 12);
    EXPECT_EQ(adminLog(), "\"2024/03/05 14:07.09\",\"unknown\",\"Set the Port Number to12\"\r\n");

    writeFile(dir / "Kestrova.ini", "Language=x\r\n");
    PortSetupOk(context, state, 999); // beyond the field's range
    EXPECT_EQ(readFile(dir / "Kestrova.ini"), "Language=x\r\nCommPort=250\r\n");
}

} // namespace
} // namespace kestrova
