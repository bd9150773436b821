// Every window the main window opens, registered by class name. A window module that lands
// adds its entry here; the main window needs nothing else.
#include "app/DesktopProgram.h"
#include "app/ProgramWindows.h"
#include "app/QtWeb.h"
#include "app/uAbout.h"
#include "app/uPref.h"
#include "link/windows/uDelay.h"
#include "link/windows/uIdNum.h"
#include "processing/windows/uUnknownP.h"

namespace kestrova::app {

namespace {
// A window made at start-up and kept, without start-up hooks.
WindowEntry kept(WindowEntry::Factory create) {
    WindowEntry entry;
    entry.create = std::move(create);
    return entry;
}
} // namespace

void registerProgramWindows(ProgramWindows& windows) {
    windows.add("TfrmPref", kept([](DesktopProgram& p, QWidget* parent) {
                    return std::make_unique<TfrmPref>(p.context(), parent);
                }));
    // Made when opened and gone when closed; its reach to the web lives with the registry.
    auto web = std::make_shared<std::pair<QtWebDownloader, QtWebBrowser>>();
    WindowEntry about;
    about.createdWhenOpened = true;
    about.create = [web](DesktopProgram& p, QWidget* parent) {
        MainState& state = p.state();
        return std::make_unique<TfrmAbout>(
            p.context(), web->first, web->second,
            [&state] {
                return StationLamp{!state.stationChecked(), state.portNumber()};
            },
            parent);
    };
    windows.add("TfrmAbout", std::move(about));
    windows.add("TfrmIdNum", kept([](DesktopProgram& p, QWidget* parent) {
                    ProgramContext& c = p.context();
                    return std::make_unique<kestrova::windows::TfrmIdNum>(
                        p.state(), c.adminLog, c.messages, c.captions, parent);
                }));
    windows.add("TfrmUnknownP", kept([](DesktopProgram& p, QWidget* parent) {
                    auto window = std::make_unique<kestrova::windows::TfrmUnknownP>(
                        p.context().captions, parent);
                    p.unknownChooser().setTarget(window.get());
                    return window;
                }));
    windows.add("TfrmDelay", kept([](DesktopProgram& p, QWidget* parent) {
                    return std::make_unique<kestrova::windows::TfrmDelay>(p.context(), p.state(),
                                                                          parent);
                }));
}

} // namespace kestrova::app
