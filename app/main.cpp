// kestrova: the desktop program.
//
//   kestrova [DIR]
//
// DIR is the program directory (default: the current directory); the program works in it as
// its current directory. Only one copy runs per user: a second start brings the running
// copy's window to the front and ends with status 0.
#include "app/DesktopProgram.h"
#include "app/Installation.h"
#include "app/QtDesktop.h"
#include "app/SingleInstance.h"
#include "app/uMain.h"
#include "app/uSimulator.h"

#include <QApplication>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

using namespace kestrova;
using namespace kestrova::app;

class NoBusy : public BusyIndicator {
public:
    void setBusy(bool) override {}
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("Kestrova");
    QApplication::setApplicationDisplayName("Kestrova");
    if (argc > 2) {
        std::cerr << "usage: kestrova [DIR]\n";
        return 2;
    }
    if (argc == 2) {
        std::error_code error;
        std::filesystem::current_path(argv[1], error);
        if (error) {
            std::cerr << "kestrova: cannot work in " << argv[1] << ": " << error.message() << '\n';
            return 1;
        }
    }

    SingleInstance single;
    if (single.askRunningCopy())
        return 0;

    QtDialogs dialogs;
    QtEventPump events;
    NoBusy busy;
    QtDocuments documents;
    QtBeeper beeper;
    QtClock clock;
    QtLocale locale;
    QtTrash trash;
    const Desktop desktop{dialogs, events, busy, documents, beeper, clock, locale, trash};

    DesktopProgram program(desktop, ProgramOptions{std::filesystem::current_path()});
    TfrmMain main(program, Installation{installationPrefix(), vitalFiles()});
    dialogs.setParent(&main);
    single.listen([&main] {
        main.showNormal();
        main.raise();
        main.activateWindow();
    });

    std::unique_ptr<TfrmSimulator> simulator;
    main.setStartedHook([&] {
        if (program.station() == nullptr)
            return;
        simulator = std::make_unique<TfrmSimulator>(*program.station(), clock, dialogs,
                                                    program.simulatorPortNumber().value_or(0));
        simulator->move(main.geometry().topRight() + QPoint(16, 0));
        simulator->show();
    });
    main.show();
    const int status = QApplication::exec();
    simulator.reset();
    return status;
}
