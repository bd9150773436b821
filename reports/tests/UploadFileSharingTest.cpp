// "Raw.txt" shared by the upload session and report requests, with the simulated station
// running: a request made while a baton is read is refused and leaves the upload whole; an
// upload whose baton arrives while a request holds the file waits, then reads it all.
#include "ReportsFixture.h"
#include "core/SiteSetup.h"
#include "link/tests/LinkHarness.h"
#include "processing/ReportPdf.h"
#include "reports/ReportsWindowModel.h"
#include "sim/UploadScript.h"

namespace kestrova::testing {
namespace {

sim::SimBaton batonWithClockings(int count) {
    sim::SimBaton baton;
    baton.name = "KEST0042";
    baton.clock = LocalDateTime{2025, 3, 14, 9, 0, 0, 0};
    for (int i = 0; i < count; ++i)
        baton.addClocking(14, {0xA1, 0xB2, 0xC3, 0x03, 0x14, 0x09, static_cast<std::uint8_t>(i)});
    return baton;
}

struct UploadFileSharingTest : ::testing::Test {
    UploadFileSharingTest() {
        h.settings.clearKestrovaMemory = true;
        std::filesystem::create_directories(h.dir / "Depot" / "Raw");
        writeFile(h.dir / "Depot" / "checkpt.lst",
                  "//Checkpoint list for Depot\r\n\r\nA1B2C3 = Gate\r\n\r\n//End of File\r\n");
        writeFile(h.dir / "Depot" / "Raw" / "250313.txt", "000000A1B2C32503131300\r\n");
        context.messages.SetDefaultMessages();
        context.sites.reset({"Depot"});
        LoadSiteIndex(context);
        model.kindChosen(ReportKind::ClockingList);
        model.datesChosen(calendarDay(2025, 3, 13), calendarDay(2025, 3, 14));
    }
    void visit(sim::SimBaton baton) {
        script.emplace(h.state, h.station, h.messages, std::move(baton), h.stop);
        h.run();
        ASSERT_TRUE(script->finished()) << "last status " << h.state.statusText();
    }
    DispatchOutcome request() { return model.createOpen({}, processing, chart); }

    LinkHarness h;
    FakeDesktop fake;
    ProgramContext context{h.dir.path(), fake.desktop, "1"};
    ReportsWindowModel model{context, h.state};
    NoPdf pdf;
    IgnoreUnknownCheckpoints unknown;
    ProcessingServices processing{context, h.state, unknown, pdf};
    RecordingChart chart;
    std::optional<sim::UploadScript> script;
};

TEST_F(UploadFileSharingTest, ARequestDuringADownloadIsRefusedAndTheUploadStaysWhole) {
    std::optional<DispatchOutcome> outcome;
    std::string rawDuringRequest;
    h.state.subscribe([&](MainField) {
        if (!outcome && h.state.statusText().starts_with("Downloading Data") &&
            fileExists(rawUploadFile(h.dir.path())) &&
            readLines(rawUploadFile(h.dir.path())).size() > 2) {
            rawDuringRequest = h.raw();
            outcome = request();
            EXPECT_EQ(h.raw(), rawDuringRequest);
        }
    });
    visit(batonWithClockings(6));
    ASSERT_TRUE(outcome);
    EXPECT_EQ(*outcome, DispatchOutcome::Refused);
    EXPECT_TRUE(fake.dialogs.information.empty());
    ASSERT_EQ(h.processor.seen.size(), 1u);
    EXPECT_EQ(h.processor.seen[0].size(), 7u); // the header and all six clockings
    EXPECT_EQ(h.processor.seen[0][0], "Id : KEST0042");
    // The session has given the file back: the next request runs.
    EXPECT_EQ(h.state.uploadFileUser(), UploadFileUser::None);
    EXPECT_EQ(request(), DispatchOutcome::Reported);
}

TEST_F(UploadFileSharingTest, AnUploadWaitsWhileARequestHoldsTheFile) {
    ASSERT_TRUE(h.state.claimUploadFile(UploadFileUser::Request));
    bool checked = false;
    h.station.at(30'000, [&] {
        // Long after the baton was put down: nothing read yet, the request's file untouched.
        EXPECT_TRUE(framesWithCode(h.station, code::kGetSize).empty());
        EXPECT_FALSE(fileExists(rawUploadFile(h.dir.path())));
        checked = true;
        h.state.releaseUploadFile(UploadFileUser::Request);
    });
    visit(batonWithClockings(3));
    EXPECT_TRUE(checked);
    ASSERT_EQ(h.processor.seen.size(), 1u);
    EXPECT_EQ(h.processor.seen[0].size(), 4u);
}

} // namespace
} // namespace kestrova::testing
