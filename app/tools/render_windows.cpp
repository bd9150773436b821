// Renders the desktop program's windows to PNG files over a fresh copy of the demo program
// directory, offscreen, so that they can be looked at without a display.
//
//   render_windows OUTDIR
#include "app/DesktopProgram.h"
#include "app/uMain.h"
#include "app/uSimulator.h"
#include "core/testing/FakeDesktop.h"
#include "link/windows/uDelay.h"
#include "link/windows/uIdNum.h"
#include "processing/windows/uUnknownP.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QTest>
#include <filesystem>
#include <iostream>

namespace fs = std::filesystem;
using namespace kestrova;

namespace {
void save(QWidget& widget, const fs::path& file) {
    widget.show();
    QTest::qWait(50);
    widget.grab().save(QString::fromStdString(file.string()));
    std::cout << file.string() << '\n';
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 2) {
        std::cerr << "usage: render_windows OUTDIR\n";
        return 2;
    }
    const fs::path out = fs::absolute(argv[1]);
    fs::create_directories(out);
    testing::TempDir dir;
    fs::copy(fs::path(KESTROVA_SOURCE_DIR) / "demo", dir.path(), fs::copy_options::recursive);
    fs::copy_file(fs::path(KESTROVA_SOURCE_DIR) / "data" / "English.lng", dir / "English.lng");

    testing::FakeDesktop fake;
    sim::VirtualClock time;
    app::DesktopProgram program(fake.desktop, app::ProgramOptions{dir.path(), &time});
    const std::vector<VitalFile> none;
    app::TfrmMain main(program, Installation{KESTROVA_BINARY_DIR, none});
    main.show();
    if (!QTest::qWaitFor([&] { return main.started(); }, 10000)) {
        std::cerr << "render_windows: the main window did not start\n";
        return 1;
    }
    program.state().setLabelText(Label::Id, "Id : KEST0001");
    program.state().setLabelText(Label::Version, "Version : 2720");
    program.state().setLed(LedColour::Lime);
    program.state().setGaugeMaximum(100);
    program.state().setGaugeProgress(60);
    QTest::qWait(1200);
    save(main, out / "TfrmMain.png");
    main.FormKeyPress('@');
    main.FormKeyPress('!');
    save(main, out / "TfrmMain-menu-trace.png");

    // The windows of the other modules as the main window made them (captions applied, site
    // lists filled by start-up), shown without their modal loop.
    for (const char* name : {"TfrmNew", "Tfrmpoints", "TfrmFPSetup", "TfrmSiteDel"})
        if (QDialog* window = main.windows().window(name)) {
            save(*window, out / (std::string(name) + ".png"));
            window->hide();
        }

    ProgramContext& c = program.context();
    windows::TfrmIdNum idNum(program.state(), c.adminLog, c.messages, c.captions);
    save(idNum, out / "TfrmIdNum.png");
    windows::TfrmDelay delay(c, program.state());
    save(delay, out / "TfrmDelay.png");
    windows::TfrmUnknownP unknown(c.captions);
    unknown.findChild<QComboBox*>("ComboBox1")->addItems({"North Gate", "Warehouse"});
    save(unknown, out / "TfrmUnknownP.png");
    if (program.station() != nullptr) {
        app::TfrmSimulator simulator(*program.station(), fake.clock, fake.dialogs, 1);
        save(simulator, out / "TfrmSimulator.png");
    }
    main.close();
    return 0;
}
