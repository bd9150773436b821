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

// Field lookups by key, for the record and for a read-only record alike.
template <typename Record> auto booleanField(Record& s, std::string_view key) {
    using Field = decltype(&s.secureReports);
    if (key == "UpdateDateTimeAutomatically")
        return Field{&s.updateDateTimeAutomatically};
    if (key == "UploadKestrovaData")
        return Field{&s.uploadKestrovaData};
    if (key == "ClearKestrovaMemory")
        return Field{&s.clearKestrovaMemory};
    if (key == "GenerateFrequencyReport")
        return Field{&s.generateFrequencyReport};
    if (key == "OpenReportAfterProcessing")
        return Field{&s.openReportAfterProcessing};
    if (key == "DiscardUnknownCheckpoints")
        return Field{&s.discardUnknownCheckpoints};
    if (key == "RemoveDuplicatePoints")
        return Field{&s.removeDuplicatePoints};
    if (key == "SecureReports")
        return Field{&s.secureReports};
    return Field{nullptr};
}

template <typename Record> auto textField(Record& s, std::string_view key) {
    using Field = decltype(&s.reportHeader);
    if (key == "ReportHeader")
        return Field{&s.reportHeader};
    if (key == "ReportFooter")
        return Field{&s.reportFooter};
    if (key == "AboutWeb")
        return Field{&s.aboutWeb};
    if (key == "LanguageFile")
        return Field{&s.languageFile};
    if (key == "CommPort")
        return Field{&s.commPort};
    return Field{nullptr};
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
