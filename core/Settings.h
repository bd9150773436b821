// The settings file "Kestrova.ini" and the in-memory settings record that every other layer
// reads. The file is a list of name=value lines without sections; unknown lines survive every
// write in their place. Standard library only.
#pragma once

#include "core/TextFile.h"

#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrova {

class DocumentOpener;
class TraceSink;

// The address printed in report footers and on the printed checkpoint list by default.
inline constexpr std::string_view kMakerWebAddress = "www.kestrova.example";

inline constexpr std::string_view kSettingsFileName = "Kestrova.ini";

struct Settings {
    bool updateDateTimeAutomatically = true;
    bool uploadKestrovaData = true;
    bool clearKestrovaMemory = true;
    bool generateFrequencyReport = true;
    bool openReportAfterProcessing = true;
    bool discardUnknownCheckpoints = false;
    bool removeDuplicatePoints = true;
    bool secureReports = false;
    std::string reportHeader = "Kestrova";
    std::string reportFooter = std::string(kMakerWebAddress);
    std::string aboutWeb = std::string(kMakerWebAddress);
    std::string languageFile = "English.lng";
    std::string commPort = "0";
    bool nightShift = true; // DayorNight: "Night" selects the night-shift overview
    int defaultReport = 3;
    int defaultSite = 0;
    // A folder that receives a copy of each site's clocking report (PDF and CSV) after every
    // processed upload; empty: no copies. Older installations do not know the key.
    std::string reportCopyFolder;

    friend bool operator==(const Settings&, const Settings&) = default;
};

// The settings record the comms thread and the user interface share: each reads a whole copy
// and each change replaces the whole record, under one guard, so neither ever sees half of
// the other's change.
class SharedSettings {
public:
    Settings get() const {
        const std::lock_guard lock(mutex_);
        return settings_;
    }
    void set(Settings settings) {
        const std::lock_guard lock(mutex_);
        settings_ = std::move(settings);
    }
    // Changes the record in one step: `change` receives the record under the guard.
    template <typename Change> void update(Change&& change) {
        const std::lock_guard lock(mutex_);
        change(settings_);
    }

private:
    mutable std::mutex mutex_;
    Settings settings_;
};

// The keys in the order they are read, for display and for the preferences window.
const std::vector<std::string_view>& settingKeys();

// One settings record entry formatted as the file stores it (booleans "T"/"F", DayorNight
// "Night"/"Day", numbers in decimal, texts as they stand).
std::string settingValueText(const Settings& settings, std::string_view key);

// The settings file of one program directory. Every write loads, changes and saves the whole
// file under one lock, so the comms thread and the user interface never interleave their
// rewrites; share one object between them.
class SettingsFile {
public:
    explicit SettingsFile(std::filesystem::path programDir);

    std::filesystem::path path() const;

    // Creates the file empty when it is missing, then fills `settings` from defaults and the
    // file. A DefaultReport or DefaultSite that is not a number throws ConversionError; the keys
    // read before it stay in `settings`.
    void LoadSettings(Settings& settings, DocumentOpener& documents, TraceSink* trace) const;

    // Replaces the first entry named `key` (any case) by "key=value", or appends it.
    void SetSetting(std::string_view key, std::string_view value);
    // Several entries applied to one loaded copy and saved once.
    void SetSettings(const std::vector<std::pair<std::string, std::string>>& entries);

    // The value of the first entry named `key`, for entries outside the record (such as the
    // port-to-device entries "COM<n>=...").
    std::optional<std::string> value(std::string_view key) const;

private:
    std::filesystem::path programDir_;
    mutable std::mutex mutex_;
};

// The program registered for files with this extension; "forced" when "pdf.txt" exists in the
// program directory; empty when there is none. May throw when the lookup fails.
std::string FindPdfViewer(const std::filesystem::path& programDir, DocumentOpener& documents,
                          const std::string& extension = ".pdf");

// The value of the first line whose name is `key` (without regard to case), if any.
std::optional<std::string> findEntry(const Lines& lines, std::string_view key);

} // namespace kestrova
