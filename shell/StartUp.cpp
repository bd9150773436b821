// The start-up sequence, step by step with its trace texts.
#include "shell/StartUp.h"

#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/LanguageFile.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"
#include "link/PortDirectory.h"

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr int kInitializing = 1;
constexpr int kMainTitle = 4;

class StartUp {
public:
    StartUp(ProgramContext& context, MainState& state, StartUpWindow& window)
        : c_(context), state_(state), window_(window) {}

    StartUpResult run(const Installation& installation) {
        showLogo();
        trace("form activated");
        state_.setCloseRequested(false);
        state_.setWritePending(false);
        loadSettings();
        state_.setPortNumber(PortNumberFromSettings(c_));
        LoadDefaultMessages(c_);
        trace("flinished language file defaults");
        window_.showClockLine();
        window_.showStatusLine(std::string(kCheckingStatus));
        if (!RunInstallationCheck(c_.programDir, installation.directory, installation.vitalFiles,
                                  c_.desktop.dialogs, c_.desktop.events))
            fail();
        loadLanguage();
        trace("language file loaded");
        state_.setStatusText(c_.messages.MessageText(kInitializing));
        state_.setIdToSet("");
        trace("got current directory " + c_.programDir.string());
        LoadSiteList(c_);
        trace("filtered out root dir");
        trace("finished loading all sites liteboxes");
        if (c_.sites.size() == 0 && !fatal_)
            AddFirstSite(c_);
        trace("finished getting new site");
        const Settings settings = c_.settings.get();
        window_.preselectWindows(settings);
        window_.loadPreferences(settings);
        if (!fatal_)
            LoadSiteIndex(c_);
        trace("finished creating lst files if nesisarry");
        window_.showTitle(c_.messages.MessageText(kMainTitle));
        trace("make menu invisible");
        state_.setAutoIncrementId(false);
        trace("started second thread");
        // A program that is closing has no use for the station, and must not write Raw.txt.
        if (!fatal_)
            window_.startComms();
        window_.startUpFinished();
        trace("setup compleated");
        return {fatal_};
    }

private:
    void trace(const std::string& text) { c_.trace.WriteTrace(text); }

    void showLogo() {
        const fs::path logo = resolveInDirectory(c_.programDir, "logo.gif");
        if (fileExists(logo))
            window_.showLogo(logo);
    }

    // A value that does not convert is shown as any other error, and start-up goes on with
    // the keys read before it: stopping here would leave a program without a station.
    void loadSettings() {
        try {
            LoadProgramSettings(c_);
        } catch (const ConversionError& error) {
            c_.desktop.dialogs.showError(generalErrorMessage(error));
        }
    }

    void loadLanguage() {
        if (LoadProgramLanguage(c_))
            return;
        c_.desktop.dialogs.showInformation(
            "Fatal Error: Missing Language File\rPlease re-install the application");
        fail();
    }

    void fail() {
        if (!fatal_)
            window_.closeMainWindow();
        fatal_ = true;
    }

    ProgramContext& c_;
    MainState& state_;
    StartUpWindow& window_;
    bool fatal_ = false;
};

} // namespace

StartUpResult RunStartUp(ProgramContext& context, MainState& state, StartUpWindow& window,
                         const Installation& installation) {
    return StartUp(context, state, window).run(installation);
}

void LoadProgramSettings(ProgramContext& context) {
    Settings settings;
    try {
        context.settingsFile.LoadSettings(settings, context.desktop.documents, &context.trace);
    } catch (...) {
        context.settings.set(settings);
        throw;
    }
    context.settings.set(settings);
}

int PortNumberFromSettings(ProgramContext& context) {
    const std::string setting = context.settings.get().commPort;
    const int port = commPortNumber(setting);
    if (port == 0 && setting.find_first_not_of(' ') != std::string::npos &&
        setting.find_first_not_of(" 0") != std::string::npos)
        context.trace.WriteTrace("CommPort is not a port number: " + setting);
    return port;
}

void LoadDefaultMessages(ProgramContext& context) {
    context.messages.SetDefaultMessages();
}

bool LoadProgramLanguage(ProgramContext& context) {
    const fs::path language =
        resolveInDirectory(context.programDir, context.settings.get().languageFile);
    if (!fileExists(language))
        return false;
    LoadLanguageFile(language, context.messages, context.captions, context.desktop.dialogs,
                     context.trace, {});
    return true;
}

void LoadSiteList(ProgramContext& context) {
    context.sites.reset(BuildSiteList(context.programDir));
}

} // namespace kestrova
