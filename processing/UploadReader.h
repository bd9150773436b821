// The walk over an upload file's lines that pre-processing and processing share: the header
// line, the Done marker, unit records travelling with the clocking after them, and the gap
// markers an old writer left. Every line reaches the caller, the last one included, so an
// upload that has no Done marker yet loses nothing. Standard library only.
#pragma once

#include "core/TextFile.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace kestrova {

struct UploadReadRules {
    // The shortest line taken as a unit record (see isUnitRecord).
    std::size_t unitRecordMinimum = 23;
    // "MissingLine", "Missing Line", "ExtraLine" and "Extra Line" are skipped (processing).
    bool skipGapMarkers = false;
};

struct UploadVisitor {
    // Called once for each line taken from the top of the loop (the gauge's step).
    std::function<void()> onLine;
    std::function<void(std::string_view header)> onHeader;
    // A clocking line with the unit record before it, or null.
    std::function<void(const std::string* unit, const std::string& line)> onClocking;
};

void readUpload(const Lines& lines, const UploadReadRules& rules, const UploadVisitor& visitor);

// Whether the file's last line is the Done marker (processing appends one otherwise).
bool endsWithDoneMarker(const Lines& lines);

} // namespace kestrova

namespace kestrova {

// An upload file as read, with whether its bytes end in a line end: the Done marker appended
// to a file whose last line has none must not run into that line.
struct UploadFile {
    Lines lines;
    bool endsWithLineEnd = true;
};

UploadFile readUploadFile(const std::filesystem::path& file);

// Appends the Done marker as a line of its own unless the file's last line is one already.
void markUploadDone(const std::filesystem::path& file, const UploadFile& upload);

} // namespace kestrova
