// Every file an upload run writes (the Done marker of the upload file, day files, reports and
// their PDFs, the checkpoint list an unknown checkpoint is added to, the admin log, the combined
// report of a request) is old or new, and whole, whichever write fails and wherever the process
// ends; a failed write ends the run with its error.
#include "core/testing/CrashSafety.h"

#include "ProcessingFixture.h"
#include "pdf/pdfprint.h"
#include "processing/PdfprintReport.h"
#include "processing/PreprocessUpload.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

void site(const fs::path& dir, const std::string& name, const std::string& lines) {
    fs::create_directories(dir / name / "Raw");
    writeFile(dir / name / "checkpt.lst",
              "//Checkpoint list for " + name + "\r\n\r\n" + lines + "\r\n//End of File\r\n");
}

void uploadFile(const fs::path& dir, const Lines& lines) {
    writeFile(dir / "Raw.txt", joinLines(lines));
    using namespace std::chrono;
    const sys_seconds when = sys_days{year{2024} / 3 / 5} + hours{13};
    fs::last_write_time(dir / "Raw.txt", file_clock::from_sys(when));
}

// Alpha's list ends its checkpoint section at a line of only an id, so that id becomes an
// unknown checkpoint appended to the list; Beta has a report of the same minute already.
void programDirectory(const fs::path& dir) {
    site(dir, "Alpha", "0000A1 = Front gate\r\n0000U1\r\n");
    site(dir, "Beta", "0000B1 = Boiler room\r\n");
    writeFile(dir / "Alpha" / "Raw" / "240305.txt", "0000000000A12403051200\r\n");
    writeFile(dir / "Beta" / "03051407.txt", "an earlier report of this minute\r\n");
    writeFile(dir / "LG202403.txt", "\"2024/03/01 10:00.00\",\"Alpha\",\"New Site created\"\r\n");
}

void run(const fs::path& dir, bool secure) {
    FakeDesktop desk;
    ProgramContext context(dir, desk.desktop, "1");
    context.messages.SetDefaultMessages();
    context.settings.update([&](Settings& s) { s.secureReports = secure; });
    desk.documents.pdfProgram = "viewer";
    context.sites.reset(BuildSiteList(dir));
    LoadSiteIndex(context);
    MainState state;
    pdf::PdfPrint print(desk.clock, desk.locale);
    PdfprintReport pdf(print);
    ScriptedChooser chooser;
    ProcessingServices services{context, state, chooser, pdf};
    DoRaw(services);
}

// The reports print the upload file's time, which its Done marker changes: the upload here has
// one already, and pre-processing alone shows the marker appended to an upload without one.
TEST(CrashSafety, AnUploadRunLeavesEveryFileOldOrNew) {
    expectEveryWriteStageLeavesOldOrNewFiles(
        [](const fs::path& dir) {
            programDirectory(dir);
            uploadFile(dir, {"Id : KEST0001", clocking("0000A1", "2403051405"),
                             clocking("0000U1", "2403051406"), clocking("0000B1", "2403051410"),
                             "Done"});
        },
        [](const fs::path& dir) { run(dir, false); }, {"LG202403.txt"});
}

TEST(CrashSafety, PreprocessingLeavesEveryFileOldOrNew) {
    expectEveryWriteStageLeavesOldOrNewFiles(
        [](const fs::path& dir) {
            programDirectory(dir);
            uploadFile(dir, {"Id : KEST0001", clocking("0000A1", "2403051405"),
                             clocking("0000A1", "2403061406"), clocking("0000B1", "2403051410")});
        },
        [](const fs::path& dir) {
            FakeDesktop desk;
            ProgramContext context(dir, desk.desktop, "1");
            context.sites.reset(BuildSiteList(dir));
            LoadSiteIndex(context);
            MainState state;
            PreprocessUpload(context, state, dir / "Raw.txt");
        },
        {"Raw.txt"});
}

TEST(CrashSafety, ARequestLeavesTheEarlierCombinedReportOrTheNewOne) {
    expectEveryWriteStageLeavesOldOrNewFiles(
        [](const fs::path& dir) {
            programDirectory(dir);
            writeFile(dir / "Processed.txt", "the earlier request\r\n");
            writeFile(dir / "Report.pdf", "%PDF the earlier request");
            uploadFile(dir, {"Id : From 08:00:00 01/03/2024 to 17:00:00 05/03/2024",
                             clocking("0000A1", "2403051405"), clocking("0000B1", "2403051410"),
                             "Done"});
        },
        [](const fs::path& dir) { run(dir, true); });
}

} // namespace
} // namespace kestrova::testing
