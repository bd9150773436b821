// The preferences window's rules and the program's settings writer. The window shows the
// eight option check boxes, the report header, the list of language files and the report copy
// folder (ReportCopyFolder: after every processed upload each site's clocking report goes
// there as PDF and CSV; empty means no copies); its "&Ok" writes
// every value that differs from the settings record into the settings file in one save, logs
// each change under "All", stores the Reports window's current choices as its defaults, loads
// a newly chosen language at once and reloads the settings record. The Reports window runs the
// same writer whenever it loses activation. Standard library only.
#pragma once

#include "core/ReportsSelection.h"
#include "core/Settings.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class AdminLog;
class Dialogs;
class DocumentOpener;
class TraceSink;

// One option check box: its control, its settings key, the admin-log text of a change (followed
// by "Enabled" or "Disabled") and its field of the settings record.
struct PreferenceCheckBox {
    std::string_view control;
    std::string_view key;
    std::string_view logText;
    bool Settings::*member;
};

// CheckBox1 to CheckBox8, in the order the writer compares them.
std::span<const PreferenceCheckBox, 8> preferenceCheckBoxes();

// What the preferences window's controls hold.
struct PreferenceControls {
    std::array<bool, 8> checked{};               // CheckBox1 .. CheckBox8
    std::string reportHeader;                    // Edit1
    std::vector<std::string> languages;          // ListBox1: names without ".lng"
    std::optional<std::size_t> selectedLanguage; // index into `languages`
    std::string reportCopyFolder;                // Edit2: empty means no copies

    friend bool operator==(const PreferenceControls&, const PreferenceControls&) = default;
};

// The language files of the program directory that have exactly the language file's line
// count, by their names without the extension. The directory's own order depends on the file
// system, so the names are sorted without regard to case to keep the list stable.
std::vector<std::string> ListLanguageFiles(const std::filesystem::path& programDir);

// The controls as showing the window (and start-up) loads them from the settings record.
PreferenceControls LoadPreferenceControls(const Settings& settings,
                                          const std::filesystem::path& programDir);

// The message shown when CheckBox6 changes: only a tick given by the user while the window is
// the active window warns; unticking, or a tick set while loading, shows nothing.
inline constexpr std::string_view kDiscardUnknownWarning =
    "Warning this could result in loss of Data";
std::optional<std::string> discardUnknownWarning(bool ticked, bool windowActive, bool loading);

// The folder the report copy folder's "Choose..." (Button3) leaves in Edit2: the desktop's
// folder dialog opens at the current folder (a relative one lies under the program directory)
// or at the program directory; a cancelled dialog keeps `current`. The program directory and
// the folders inside it are refused with kCopyFolderInsideProgram, keeping `current`: every
// folder there is taken for a site, so the copies would turn up as a site of their own.
inline constexpr std::string_view kCopyFolderInsideProgram =
    "The report copy folder must lie outside the program directory: every folder in it is "
    "taken for a site.";
std::string chooseReportCopyFolder(Dialogs& dialogs, const std::string& current,
                                   const std::filesystem::path& programDir);

// One change the writer makes: the admin-log action (site "All") and the settings entry.
struct SettingChange {
    std::string logText;
    std::string key;
    std::string value;

    friend bool operator==(const SettingChange&, const SettingChange&) = default;
};

struct PreferencesPlan {
    std::vector<SettingChange> changes;        // in writing order
    std::optional<std::string> languageToLoad; // the new language file's name, with ".lng"
};

// Every change the controls and the Reports window's choices make to the settings record, in
// the writer's order: check boxes, report header, default site, report kind, shift, language,
// then the report copy folder (a key older installations ignore, so it comes last).
PreferencesPlan PlanPreferences(const PreferenceControls& controls, const ReportsSelection& reports,
                                const Settings& settings);

// What the writer changes besides the settings file.
struct PreferencesTargets {
    SettingsFile& settingsFile;
    Settings& settings; // reloaded from the file at the end
    AdminLog& adminLog;
    DocumentOpener& documents; // the PDF program lookup of the reload
    TraceSink* trace;          // may be null
    // Loads a language file (name with ".lng", in the program directory) into the message and
    // caption tables at once.
    std::function<void(const std::string& languageFile)> loadLanguage;
};

// The settings writer. Logs each change, loads a new language, saves the file once (also when
// nothing changed) and reloads the record. An I/O error on the settings file, or a value the
// reload cannot convert, propagates: nothing after that point is applied.
void SavePreferences(const PreferenceControls& controls, const ReportsSelection& reports,
                     PreferencesTargets& targets);

// The writer as the Reports window reaches it: the preferences window's controls as they stand
// and the Reports window's own choices.
class PreferencesWriter {
public:
    virtual ~PreferencesWriter() = default;
    virtual void SavePreferences() = 0;
};

} // namespace kestrova
