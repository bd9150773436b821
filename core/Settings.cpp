#include "core/Settings.h"

#include "core/Desktop.h"
#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/TraceLog.h"

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kForcedPdfMarker = "pdf.txt";

bool readBoolean(const std::string& value) {
    return value == "T"; // only an exact upper-case T counts as true
}

std::string booleanText(bool value) {
    return value ? "T" : "F";
}

template <typename Field> struct KeyedField {
    std::string_view key;
    Field Settings::*member;
};

constexpr KeyedField<bool> kBooleanFields[] = {
    {"UpdateDateTimeAutomatically", &Settings::updateDateTimeAutomatically},
    {"UploadKestrovaData", &Settings::uploadKestrovaData},
    {"ClearKestrovaMemory", &Settings::clearKestrovaMemory},
    {"GenerateFrequencyReport", &Settings::generateFrequencyReport},
    {"OpenReportAfterProcessing", &Settings::openReportAfterProcessing},
    {"DiscardUnknownCheckpoints", &Settings::discardUnknownCheckpoints},
    {"RemoveDuplicatePoints", &Settings::removeDuplicatePoints},
    {"SecureReports", &Settings::secureReports},
};

constexpr KeyedField<std::string> kTextFields[] = {
    {"ReportHeader", &Settings::reportHeader}, {"ReportFooter", &Settings::reportFooter},
    {"AboutWeb", &Settings::aboutWeb},         {"LanguageFile", &Settings::languageFile},
    {"CommPort", &Settings::commPort},         {"ReportCopyFolder", &Settings::reportCopyFolder},
};

// The record's field for a key, for the record and for a read-only record alike; null for a
// key of another kind.
template <typename Field, std::size_t N, typename Record>
auto fieldFor(const KeyedField<Field> (&table)[N], Record& record, std::string_view key)
    -> decltype(&(record.*(table[0].member))) {
    for (const auto& entry : table) {
        if (entry.key == key)
            return &(record.*(entry.member));
    }
    return nullptr;
}

template <typename Record> auto booleanField(Record& record, std::string_view key) {
    return fieldFor(kBooleanFields, record, key);
}

template <typename Record> auto textField(Record& record, std::string_view key) {
    return fieldFor(kTextFields, record, key);
}

// The name of an entry line: the text before its first "=", or nothing for a line without one.
std::optional<std::string_view> entryName(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return line.substr(0, equals);
}

void applyEntry(Lines& lines, std::string_view key, std::string_view value) {
    std::string entry = std::string(key) + "=" + std::string(value);
    for (auto& line : lines) {
        const auto name = entryName(line);
        if (name && equalsIgnoreCase(*name, key)) {
            line = std::move(entry);
            return;
        }
    }
    lines.push_back(std::move(entry));
}

} // namespace

const std::vector<std::string_view>& settingKeys() {
    static const std::vector<std::string_view> keys = {
        "UpdateDateTimeAutomatically",
        "UploadKestrovaData",
        "ClearKestrovaMemory",
        "GenerateFrequencyReport",
        "OpenReportAfterProcessing",
        "DiscardUnknownCheckpoints",
        "RemoveDuplicatePoints",
        "SecureReports",
        "ReportHeader",
        "ReportFooter",
        "AboutWeb",
        "LanguageFile",
        "CommPort",
        "DayorNight",
        "DefaultReport",
        "DefaultSite",
        "ReportCopyFolder",
    };
    return keys;
}

std::string settingValueText(const Settings& settings, std::string_view key) {
    if (const bool* b = booleanField(settings, key))
        return booleanText(*b);
    if (const std::string* t = textField(settings, key))
        return *t;
    if (key == "DayorNight")
        return settings.nightShift ? "Night" : "Day";
    if (key == "DefaultReport")
        return std::to_string(settings.defaultReport);
    if (key == "DefaultSite")
        return std::to_string(settings.defaultSite);
    return {};
}

std::optional<std::string> findEntry(const Lines& lines, std::string_view key) {
    for (const auto& line : lines) {
        const auto name = entryName(line);
        if (name && equalsIgnoreCase(*name, key))
            return line.substr(name->size() + 1);
    }
    return std::nullopt;
}

SettingsFile::SettingsFile(fs::path programDir) : programDir_(std::move(programDir)) {}

fs::path SettingsFile::path() const {
    return resolveInDirectory(programDir_, kSettingsFileName);
}

void SettingsFile::LoadSettings(Settings& settings, DocumentOpener& documents,
                                TraceSink* trace) const {
    auto traceLine = [trace](const std::string& text) {
        if (trace)
            trace->WriteTrace(text);
    };
    traceLine("Start loadsetup");
    Lines lines;
    {
        const std::lock_guard lock(mutex_);
        const fs::path file = path();
        createEmptyFileIfMissing(file);
        traceLine("finished created kestrova ini");
        lines = readLines(file);
    }

    settings = Settings{};
    traceLine("Set defaults");

    const auto& keys = settingKeys();
    for (std::size_t i = 0; i < 7; ++i) {
        if (const auto value = findEntry(lines, keys[i]))
            *booleanField(settings, keys[i]) = readBoolean(*value);
    }

    try {
        if (FindPdfViewer(programDir_, documents).empty()) {
            settings.secureReports = false;
            settings.defaultReport = 2;
        } else {
            settings.secureReports = true;
        }
    } catch (const std::exception&) {
        settings.secureReports = false; // the report kind keeps its default
    }

    for (std::size_t i = 7; i < keys.size(); ++i) {
        const auto value = findEntry(lines, keys[i]);
        if (!value)
            continue;
        const std::string_view key = keys[i];
        if (bool* b = booleanField(settings, key))
            *b = readBoolean(*value);
        else if (std::string* t = textField(settings, key))
            *t = *value;
        else if (key == "DayorNight")
            settings.nightShift = *value == "Night";
        else if (key == "DefaultReport")
            settings.defaultReport = toInteger(*value);
        else if (key == "DefaultSite")
            settings.defaultSite = toInteger(*value);
    }
    traceLine("finished ini file load");
}

void SettingsFile::SetSetting(std::string_view key, std::string_view value) {
    SetSettings({{std::string(key), std::string(value)}});
}

void SettingsFile::SetSettings(const std::vector<std::pair<std::string, std::string>>& entries) {
    const std::lock_guard lock(mutex_);
    const fs::path file = path();
    Lines lines = fileExists(file) ? readLines(file) : Lines{};
    for (const auto& [key, value] : entries)
        applyEntry(lines, key, value);
    replaceFileLines(file, lines);
}

std::optional<std::string> SettingsFile::value(std::string_view key) const {
    const std::lock_guard lock(mutex_);
    const fs::path file = path();
    if (!fileExists(file))
        return std::nullopt;
    return findEntry(readLines(file), key);
}

std::string FindPdfViewer(const fs::path& programDir, DocumentOpener& documents,
                          const std::string& extension) {
    if (fileExists(resolveInDirectory(programDir, kForcedPdfMarker)))
        return "forced";
    std::string command = documents.programFor(extension);
    if (!command.empty() && command.front() == '"') {
        const auto close = command.find('"', 1);
        command = command.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    }
    return command;
}

} // namespace kestrova
