// An upload file of any bytes through pre-processing and processing (DoRaw) into a small program
// directory: three sites, one of them common, reports as text and drawn PDF. The directory is
// made afresh for every input, so inputs do not depend on each other.
#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/SiteList.h"
#include "core/SiteSetup.h"
#include "core/testing/FakeDesktop.h"
#include "fuzz/FuzzSupport.h"
#include "pdf/pdfprint.h"
#include "processing/DoRaw.h"
#include "processing/PdfprintReport.h"

namespace {

namespace fs = std::filesystem;
using namespace kestrova;

class IgnoringChooser : public UnknownCheckpointChooser {
public:
    void choose(UnknownCheckpointPlacement& placement) override {
        placement.placeInExistingSite(0);
    }
};

void site(const fs::path& dir, const std::string& name, const std::string& lines) {
    fs::create_directories(dir / name / "Raw");
    fuzz::writeText(dir / name / "checkpt.lst",
                    "//Checkpoint list for " + name + "\r\n\r\n" + lines + "\r\n//End of File\r\n");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fs::path dir = fuzz::scratchDirectory() / "program";
    fs::remove_all(dir);
    site(dir, "Alpha", "0000A1 = Front gate\r\n0000A2 # Back door\r\n0000S1 = Shared\r\n");
    site(dir, "Beta", "0000B1 = Boiler room\r\n0000S1 = Shared B\r\n0000B1\r\n");
    site(dir, "Common", "0000C1 = Lobby\r\n");
    fuzz::writeBytes(dir / "Raw.txt", data, size);

    testing::FakeDesktop desk;
    ProgramContext context(dir, desk.desktop, "1");
    context.messages.SetDefaultMessages();
    context.settings.update([](Settings& s) { s.openReportAfterProcessing = false; });
    context.sites.reset(BuildSiteList(dir));
    LoadSiteIndex(context);
    MainState state;
    pdf::PdfPrint print(desk.clock, desk.locale);
    PdfprintReport report(print);
    IgnoringChooser chooser;
    ProcessingServices services{context, state, chooser, report};
    DoRaw(services);
    return 0;
}
