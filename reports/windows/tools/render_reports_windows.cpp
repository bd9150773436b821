// Renders the Reports window (simple and advanced layout, each report kind), the log viewer and
// the hidden report browser to PNG files over a small program directory, for eyes (not a test).
//
//   render_reports_windows OUTPUT_DIR
#include "core/SiteList.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "reports/RequestChooser.h"
#include "reports/testing/StubReports.h"
#include "reports/windows/uLogfile.h"
#include "reports/windows/uNew.h"
#include "reports/windows/uOpen.h"

#include <QApplication>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <filesystem>
#include <iostream>

namespace {

using namespace kestrova;
using namespace kestrova::testing;

// A window grows to what its layout needs but keeps the size it opens with.
void grab(QWidget& window, const std::filesystem::path& file) {
    window.resize(window.size().expandedTo(window.sizeHint()));
    QApplication::processEvents();
    window.grab().save(QString::fromStdString(file.string()));
    std::cout << file.string() << '\n';
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: render_reports_windows OUTPUT_DIR\n";
        return 2;
    }
    const std::filesystem::path out = argv[1];
    std::filesystem::create_directories(out);
    TempDir dir;
    std::filesystem::create_directories(dir / "Depot" / "Raw");
    writeFile(dir / "Depot" / "checkpt.lst", "//Checkpoint list for Depot\r\n\r\n"
                                             "00A1F3 = Front gate\r\n00B2C4 # Yard\r\n"
                                             "\r\n//End of File\r\n");
    writeFile(dir / "Depot" / "08141530.txt", "x");
    writeFile(dir / "Depot" / "09021205.txt", "x");
    // Processing writes both forms; an older report may be left as text only.
    writeFile(dir / "Depot" / "09021205.pdf", "x");
    writeFile(dir / "LG201202.txt", "\"2012/02/05 14:07.22\",\"Depot\",\"New Site created\"\r\n");
    writeFile(dir / "LG201203.txt", "\"2012/03/05 09:12.01\",\"All\",\"Setting changed\"\r\n");
    FakeDesktop fake;
    fake.clock.time = {2024, 3, 10, 9, 0, 0, 0};
    ProgramContext context{dir.path(), fake.desktop, "1"};
    context.messages.SetDefaultMessages();
    for (const auto& [n, text] :
         std::vector<std::pair<int, std::string>>{{159, "Date of the report"},
                                                  {163, "Advanced >>"},
                                                  {164, "<< Simple"},
                                                  {172, "Create/Open"},
                                                  {173, "&Open Report"}})
        context.messages.setText(n, text);
    context.sites.reset(BuildSiteList(dir.path()));
    LoadSiteIndex(context);
    MainState state;
    NoPdf pdf;
    NoChart chart;
    IgnoreUnknownCheckpoints unknown;
    ProcessingServices processing{context, state, unknown, pdf};

    reports_windows::TfrmNew window({context, state, processing, chart});
    window.show();
    for (const auto& [kind, name] :
         std::vector<std::pair<const char*, const char*>>{{"RadioButton3", "overview"},
                                                          {"RadioButton2", "list"},
                                                          {"RadioButton1", "download"}}) {
        window.findChild<QRadioButton*>(kind)->click();
        grab(window, out / (std::string("reports-simple-") + name + ".png"));
        if (std::string(kind) != "RadioButton1") {
            window.findChild<QPushButton*>("Button1")->click();
            grab(window, out / (std::string("reports-advanced-") + name + ".png"));
            window.findChild<QPushButton*>("Button1")->click();
        }
    }
    // The exception report exists in the advanced layout only.
    window.findChild<QRadioButton*>("RadioButton2")->click();
    window.findChild<QPushButton*>("Button1")->click();
    window.findChild<QRadioButton*>("RadioButton6")->click();
    grab(window, out / "reports-advanced-exception.png");
    reports_windows::TfrmLogFile viewer(context);
    viewer.show();
    auto* months = viewer.findChild<QTreeWidget*>("ListView1");
    for (int k = 0; k < months->topLevelItemCount(); ++k)
        months->topLevelItem(k)->setSelected(true);
    viewer.ListView1MouseUp();
    grab(viewer, out / "logfile.png");
    // Never shown by the program; drawn to see that its list follows the site list.
    reports_windows::TfrmOpen browser(context);
    browser.show();
    grab(browser, out / "open.png");
    return 0;
}
