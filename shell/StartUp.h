// The program's start-up, the first activation of the main window: settings, default
// messages, the installation check, the language file, the site list (asking for a first site
// when there is none), the per-site files and the index, then the comms thread. The sequence
// is plain logic; what it does to widgets it asks of a StartUpWindow, which the main window
// implements and the tests fake. The single steps are public too, for kestrova-cli, which
// loads what each command needs the same way. May depend on core, link and the installation
// check.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "shell/InstallationCheck.h"

#include <filesystem>
#include <span>
#include <string>

namespace kestrova {

// The status line while the installation check runs.
inline constexpr std::string_view kCheckingStatus =
    "Initializing please wait  (Checking MD5 checksums)";

// The widget side of start-up, called in this order.
class StartUpWindow {
public:
    virtual ~StartUpWindow() = default;
    // Step 1: "logo.gif" exists; show it in Image1.
    virtual void showLogo(const std::filesystem::path& file) = 0;
    // Step 8: the current date and time in lblDateTime.
    virtual void showClockLine() = 0;
    // Step 9: lblStatus directly (the timer shows StatusText later).
    virtual void showStatusLine(const std::string& text) = 0;
    // A fatal error: the main window is asked to close; the sequence runs on.
    virtual void closeMainWindow() = 0;
    // Step 17: the Reports window and the checkpoint editor preselect DefaultSite, the report
    // kind and the shift.
    virtual void preselectWindows(const Settings& settings) = 0;
    // Step 18: the preferences window loads its controls from the record.
    virtual void loadPreferences(const Settings& settings) = 0;
    // Step 20: the title (message 4).
    virtual void showTitle(const std::string& title) = 0;
    // Step 21: create and start the comms thread.
    virtual void startComms() = 0;
    // Step 22: enable the "Setup" menu, hide Panel1.
    virtual void startUpFinished() = 0;
};

// Where the installation's own files are, and which of them are vital.
struct Installation {
    std::filesystem::path directory;
    std::span<const VitalFile> vitalFiles;
};

struct StartUpResult {
    bool fatal = false; // the main window was asked to close
};

// The whole sequence. The site list's listeners (the windows' site lists) hear of the list
// when it is built (step 14) and when the first site is added (step 15).
StartUpResult RunStartUp(ProgramContext& context, MainState& state, StartUpWindow& window,
                         const Installation& installation);

// Step 4: the settings record from the file (created empty when missing). A value that does
// not convert raises ConversionError; the record then holds the keys read before it.
void LoadProgramSettings(ProgramContext& context);
// Step 5: PortNumber from the CommPort setting; a setting that is not a number counts as 0
// (the station search then starts at port 1) and is traced.
int PortNumberFromSettings(ProgramContext& context);
// Step 7: the message table's default texts.
void LoadDefaultMessages(ProgramContext& context);
// Step 11: the language file the settings name, when it exists. False when there is none.
bool LoadProgramLanguage(ProgramContext& context);
// Step 14: the site list from the program directory's subdirectories.
void LoadSiteList(ProgramContext& context);

} // namespace kestrova
