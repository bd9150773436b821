// The shared walk over an upload file. Standard library only.
#include "processing/UploadReader.h"

#include "processing/UploadLine.h"

#include <array>

namespace kestrova {

namespace {

bool isGapMarker(std::string_view line) {
    static constexpr std::array<std::string_view, 4> markers = {"MissingLine", "Missing Line",
                                                                "ExtraLine", "Extra Line"};
    for (const auto marker : markers) {
        if (line == marker)
            return true;
    }
    return false;
}

} // namespace

void readUpload(const Lines& lines, const UploadReadRules& rules, const UploadVisitor& visitor) {
    const auto skipped = [&](const std::string& line) {
        return rules.skipGapMarkers && isGapMarker(line);
    };
    std::size_t next = 0;
    while (next < lines.size()) {
        const std::string* line = &lines[next++];
        if (skipped(*line))
            continue;
        if (visitor.onLine)
            visitor.onLine();
        if (isHeaderLine(*line)) {
            visitor.onHeader(*line);
            // The line after the header belongs to the same pass and is never taken for a
            // second header.
            if (next >= lines.size())
                break;
            line = &lines[next++];
            if (skipped(*line))
                continue;
        }
        if (isDoneMarker(*line))
            continue;
        const std::string* unit = nullptr;
        if (isUnitRecord(*line, rules.unitRecordMinimum)) {
            // A unit record names the clocking after it; with none after it (end of file, or the
            // Done marker) it names nothing and is dropped.
            if (next >= lines.size() || isDoneMarker(lines[next]))
                continue;
            unit = line;
            line = &lines[next++];
        }
        visitor.onClocking(unit, *line);
    }
}

bool endsWithDoneMarker(const Lines& lines) {
    return !lines.empty() && isDoneMarker(lines.back());
}

} // namespace kestrova

namespace kestrova {

UploadFile readUploadFile(const std::filesystem::path& file) {
    const std::string bytes = readFileBytes(file);
    UploadFile upload{splitLines(bytes)};
    upload.endsWithLineEnd = bytes.empty() || bytes.back() == '\n' || bytes.back() == '\r';
    return upload;
}

void markUploadDone(const std::filesystem::path& file, const UploadFile& upload) {
    if (endsWithDoneMarker(upload.lines))
        return;
    std::string marker = upload.endsWithLineEnd ? std::string() : std::string(kLineEnd);
    marker += kDoneMarker;
    marker += kLineEnd;
    appendToFile(file, marker);
}

} // namespace kestrova
