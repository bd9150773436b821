#include "core/Preferences.h"

#include "core/AdminLog.h"
#include "core/Desktop.h"
#include "core/FileNames.h"
#include "core/LanguageFile.h"
#include "core/TextFile.h"

#include <algorithm>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSettingsSite = "All";
constexpr std::string_view kLanguageExtension = ".lng";

constexpr std::array<PreferenceCheckBox, 8> kCheckBoxes = {{
    {"CheckBox1", "UpdateDateTimeAutomatically", "Update Date Time Automatically Changed to ",
     &Settings::updateDateTimeAutomatically},
    {"CheckBox2", "UploadKestrovaData", "Upload Kestrova Data Changed to ",
     &Settings::uploadKestrovaData},
    {"CheckBox3", "ClearKestrovaMemory", "Clear Kestrova Memory Changed to ",
     &Settings::clearKestrovaMemory},
    {"CheckBox4", "GenerateFrequencyReport", "Generate Frequency Report Changed to ",
     &Settings::generateFrequencyReport},
    {"CheckBox5", "OpenReportAfterProcessing", "Open Report After Processing Changed to ",
     &Settings::openReportAfterProcessing},
    {"CheckBox6", "DiscardUnknownCheckpoints", "Discard Unknown Checkponts Changed to ",
     &Settings::discardUnknownCheckpoints},
    {"CheckBox7", "RemoveDuplicatePoints", "Remove Duplicate Points Changed to ",
     &Settings::removeDuplicatePoints},
    {"CheckBox8", "SecureReports", "Secure Reports Changed to ", &Settings::secureReports},
}};

std::string enabledText(bool on) {
    return on ? "Enabled" : "Disabled";
}

bool hasLanguageExtension(std::string_view name) {
    return name.size() > kLanguageExtension.size() &&
           equalsIgnoreCase(name.substr(name.size() - kLanguageExtension.size()),
                            kLanguageExtension);
}

// The LanguageFile setting as the list names it.
std::string withoutLanguageExtension(const std::string& file) {
    if (!hasLanguageExtension(file))
        return file;
    return file.substr(0, file.size() - kLanguageExtension.size());
}

void addChange(PreferencesPlan& plan, std::string logText, std::string_view key,
               std::string value) {
    plan.changes.push_back({std::move(logText), std::string(key), std::move(value)});
}

} // namespace

std::span<const PreferenceCheckBox, 8> preferenceCheckBoxes() {
    return kCheckBoxes;
}

std::vector<std::string> ListLanguageFiles(const fs::path& programDir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(programDir)) {
        const std::string fileName = entry.path().filename().string();
        if (!hasLanguageExtension(fileName) || !entry.is_regular_file())
            continue;
        if (CountLanguageFileLines(entry.path()) == kLanguageFileLines)
            names.push_back(withoutLanguageExtension(fileName));
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        const auto la = toLowerAscii(a), lb = toLowerAscii(b);
        return la != lb ? la < lb : a < b;
    });
    return names;
}

PreferenceControls LoadPreferenceControls(const Settings& settings, const fs::path& programDir) {
    PreferenceControls controls;
    for (std::size_t i = 0; i < kCheckBoxes.size(); ++i)
        controls.checked[i] = settings.*(kCheckBoxes[i].member);
    controls.reportHeader = settings.reportHeader;
    controls.reportCopyFolder = settings.reportCopyFolder;
    controls.languages = ListLanguageFiles(programDir);
    const std::string current = withoutLanguageExtension(settings.languageFile);
    for (std::size_t i = 0; i < controls.languages.size(); ++i) {
        if (equalsIgnoreCase(controls.languages[i], current)) {
            controls.selectedLanguage = i;
            break;
        }
    }
    return controls;
}

std::optional<std::string> discardUnknownWarning(bool ticked, bool windowActive, bool loading) {
    if (!ticked || !windowActive || loading)
        return std::nullopt;
    return std::string(kDiscardUnknownWarning);
}

PreferencesPlan PlanPreferences(const PreferenceControls& controls, const ReportsSelection& reports,
                                const Settings& settings) {
    PreferencesPlan plan;
    for (std::size_t i = 0; i < kCheckBoxes.size(); ++i) {
        const auto& box = kCheckBoxes[i];
        const bool ticked = controls.checked[i];
        if (ticked != settings.*(box.member))
            addChange(plan, std::string(box.logText) + enabledText(ticked), box.key,
                      ticked ? "T" : "F");
    }

    if (controls.reportHeader != settings.reportHeader)
        addChange(plan, "ReportHeader Changed to " + controls.reportHeader, "ReportHeader",
                  controls.reportHeader);

    if (const auto site = reports.selectedSitePosition(); site && *site != settings.defaultSite)
        addChange(plan, "Default report site changed to " + std::to_string(*site), "DefaultSite",
                  std::to_string(*site));

    if (const auto kind = reports.selectedReportKind(); kind && *kind != settings.defaultReport)
        addChange(plan, "Default report type changed to " + std::to_string(*kind), "DefaultReport",
                  std::to_string(*kind));

    if (const bool night = reports.nightShiftChosen(); night != settings.nightShift)
        addChange(plan, "Default report Day or Night changed to " + enabledText(night),
                  "DayorNight", night ? "Night" : "Day");

    if (controls.selectedLanguage && *controls.selectedLanguage < controls.languages.size()) {
        const std::string file =
            controls.languages[*controls.selectedLanguage] + std::string(kLanguageExtension);
        // File names are compared without regard to case: "english.lng" is the file in use.
        if (!equalsIgnoreCase(file, settings.languageFile)) {
            addChange(plan, "Language file Changed to " + file, "LanguageFile", file);
            plan.languageToLoad = file;
        }
    }

    if (controls.reportCopyFolder != settings.reportCopyFolder)
        addChange(plan,
                  controls.reportCopyFolder.empty()
                      ? std::string("Report copies Disabled")
                      : "Report copy folder Changed to " + controls.reportCopyFolder,
                  "ReportCopyFolder", controls.reportCopyFolder);
    return plan;
}

std::string chooseReportCopyFolder(Dialogs& dialogs, const std::string& current,
                                   const fs::path& programDir) {
    const fs::path start = current.empty() ? programDir : programDir / current;
    const auto chosen = dialogs.chooseFolder({"Report copy folder", "", "", "", start});
    if (!chosen)
        return current;
    std::error_code ec;
    const fs::path folder = fs::weakly_canonical(*chosen, ec);
    const fs::path program = fs::weakly_canonical(programDir, ec);
    const fs::path inside = folder.lexically_relative(program);
    if (!inside.empty() && *inside.begin() != "..") {
        dialogs.showError(std::string(kCopyFolderInsideProgram));
        return current;
    }
    return chosen->string();
}

void SavePreferences(const PreferenceControls& controls, const ReportsSelection& reports,
                     PreferencesTargets& targets) {
    // The file is read first, so a file that cannot be read ends the action before anything is
    // logged or loaded.
    if (const fs::path file = targets.settingsFile.path(); fileExists(file))
        readLines(file);

    const PreferencesPlan plan = PlanPreferences(controls, reports, targets.settings);
    std::vector<std::pair<std::string, std::string>> entries;
    for (const auto& change : plan.changes) {
        targets.adminLog.WriteAdminLog(std::string(kSettingsSite), change.logText);
        entries.emplace_back(change.key, change.value);
    }
    if (plan.languageToLoad && targets.loadLanguage)
        targets.loadLanguage(*plan.languageToLoad);

    // One save for every entry of the run, then the record is read back from the file.
    targets.settingsFile.SetSettings(entries);
    targets.settingsFile.LoadSettings(targets.settings, targets.documents, targets.trace);
}

} // namespace kestrova
