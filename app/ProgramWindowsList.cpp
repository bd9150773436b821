// Every window the main window opens, registered by class name. A window module that lands
// adds its entry here; the main window needs nothing else.
#include "app/DesktopProgram.h"
#include "app/ProgramWindows.h"
#include "app/QtWeb.h"
#include "app/uAbout.h"
#include "app/uPref.h"
#include "link/windows/uDelay.h"
#include "link/windows/uIdNum.h"
#include "processing/PdfprintReport.h"
#include "processing/windows/uUnknownP.h"
#include "reports/PdfOverviewChart.h"
#include "reports/windows/uLogfile.h"
#include "reports/windows/uNew.h"
#include "reports/windows/uOpen.h"
#include "sites/windows/SitesWindows.h"
#include "sites/windows/uSiteDel.h"
#include "sites/windows/ufpsetup.h"
#include "sites/windows/uinpubox.h"
#include "sites/windows/upoints.h"

namespace kestrova::app {

namespace {
// A window made at start-up and kept, without start-up hooks.
WindowEntry kept(WindowEntry::Factory create) {
    WindowEntry entry;
    entry.create = std::move(create);
    return entry;
}

std::optional<std::size_t> defaultSite(const Settings& settings) {
    if (settings.defaultSite < 0)
        return std::nullopt;
    return static_cast<std::size_t>(settings.defaultSite);
}

// The Reports window with what "Create/Open" builds with, alive as long as the window.
struct ReportsWindow {
    explicit ReportsWindow(DesktopProgram& p, QWidget* parent)
        : report(p.print()),
          chart(p.print()), processing{p.context(), p.state(), p.unknownChooser(), report},
          window(reports_windows::ReportServices{p.context(), p.state(), processing, chart},
                 parent) {}
    PdfprintReport report;
    PdfOverviewChart chart;
    ProcessingServices processing;
    reports_windows::TfrmNew window;
};

void registerReportsWindows(ProgramWindows& windows) {
    windows.add("TfrmOpen", kept([](DesktopProgram& p, QWidget* parent) {
                    return std::make_unique<reports_windows::TfrmOpen>(p.context(), parent);
                }));
    WindowEntry reports = kept([](DesktopProgram& p, QWidget* parent) {
        const auto holder = std::make_shared<ReportsWindow>(p, parent);
        return std::shared_ptr<QDialog>(holder, &holder->window);
    });
    reports.preselect = [](QDialog& window, const Settings&) {
        static_cast<reports_windows::TfrmNew&>(window).model().applyStartupSettings();
    };
    // The settings writer reads the window's choices and runs on its every deactivation.
    reports.connect = [](QDialog& window, ProgramWindows& all) {
        auto& reportsWindow = static_cast<reports_windows::TfrmNew&>(window);
        auto* preferences = dynamic_cast<TfrmPref*>(all.window("TfrmPref"));
        if (preferences == nullptr)
            return;
        preferences->setReportsSelection(&reportsWindow);
        reportsWindow.setPreferencesWriter(preferences);
        preferences->setAfterLanguageLoad(
            [&reportsWindow](const MessageTable&) { reportsWindow.model().languageApplied(); });
    };
    reports.open = [](QDialog& window, ProgramWindows& all) {
        // A language chosen since the last processing run reaches the report's texts too.
        all.program().print().PdfSetMessages(
            all.program().context().messages.range(1, pdf::PdfPrint::kMessageCount));
        window.exec();
    };
    windows.add("TfrmNew", std::move(reports));
    WindowEntry logViewer;
    logViewer.createdWhenOpened = true;
    logViewer.create = [](DesktopProgram& p, QWidget* parent) {
        return std::make_unique<reports_windows::TfrmLogFile>(p.context(), parent);
    };
    windows.add("TfrmLogFile", std::move(logViewer));
}

// The checkpoint editor (with its Id input box and site deletion window) and the failed-patrol
// window are built together; the first of them to be created builds them all.
void registerSitesWindows(ProgramWindows& windows) {
    auto sites = std::make_shared<std::shared_ptr<kestrova::windows::SitesWindows>>();
    const auto built = [sites](DesktopProgram& p, QWidget* parent) {
        if (!*sites) {
            *sites = std::make_shared<kestrova::windows::SitesWindows>(p.context(), p.state(),
                                                                       std::nullopt, parent);
            // Id buttons read at the station reach the editor, whether or not it shows.
            p.idButtons().setTarget(&(*sites)->idButtons());
        }
        return *sites;
    };
    WindowEntry points = kept([built](DesktopProgram& p, QWidget* parent) {
        const auto owner = built(p, parent);
        return std::shared_ptr<QDialog>(owner, &owner->checkpointWindow());
    });
    points.preselect = [sites](QDialog&, const Settings& settings) {
        (*sites)->preselect(defaultSite(settings));
    };
    points.open = [sites](QDialog&, ProgramWindows& all) {
        const auto* reports = dynamic_cast<const ReportsSelection*>(all.window("TfrmNew"));
        std::optional<std::size_t> reportsSite;
        if (reports != nullptr)
            if (const auto position = reports->selectedSitePosition())
                reportsSite = static_cast<std::size_t>(*position);
        (*sites)->openCheckpointEditor(reportsSite);
    };
    windows.add("Tfrmpoints", std::move(points));
    windows.add("TfrmFPSetup", kept([built](DesktopProgram& p, QWidget* parent) {
                    const auto owner = built(p, parent);
                    return std::shared_ptr<QDialog>(owner, &owner->failedPatrolWindow());
                }));
    windows.add("TfrmInputBox", kept([built](DesktopProgram& p, QWidget* parent) {
                    const auto owner = built(p, parent);
                    return std::shared_ptr<QDialog>(owner, &owner->checkpointWindow().inputBox());
                }));
    windows.add("TfrmSiteDel", kept([built](DesktopProgram& p, QWidget* parent) {
                    const auto owner = built(p, parent);
                    return std::shared_ptr<QDialog>(owner, &owner->checkpointWindow().siteDel());
                }));
}

} // namespace

void registerProgramWindows(ProgramWindows& windows) {
    registerReportsWindows(windows);
    registerSitesWindows(windows);
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
