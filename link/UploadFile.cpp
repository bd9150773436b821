// Writing "Raw.txt".
#include "link/UploadFile.h"

#include "core/FileNames.h"
#include "core/TextFile.h"

namespace kestrova {

int clockingYear(std::uint8_t monthByte, const LocalDateTime& now) {
    int month = monthByte & 0x1F;
    if (month > 10)
        month -= 6; // BCD 0x10 … 0x12 as 10 … 12
    return month > now.month ? now.year - 1 : now.year;
}

std::string clockingLine(const RecordData& data, std::int64_t packetNumber,
                         const LocalDateTime& now) {
    const int year = clockingYear(data[3], now);
    std::string line = "000000";
    line += hexByte(data[0]) + hexByte(data[1]) + hexByte(data[2]);
    const int yy = ((year % 100) + 100) % 100;
    line += static_cast<char>('0' + yy / 10);
    line += static_cast<char>('0' + yy % 10);
    line += hexByte(static_cast<std::uint8_t>(data[3] & 0x1F));
    line += hexByte(static_cast<std::uint8_t>(data[4] & 0x3F));
    line += hexByte(data[5]);
    line += hexByte(data[6]);
    line += std::to_string(packetNumber % 100);
    return line;
}

std::filesystem::path rawUploadFile(const std::filesystem::path& programDir) {
    return resolveInDirectory(programDir, "Raw.Txt");
}

std::filesystem::path startUploadFile(const std::filesystem::path& programDir,
                                      const std::string& header) {
    const std::filesystem::path file = rawUploadFile(programDir);
    replaceFileLines(file, {header});
    return file;
}

// Opened, written and closed for each line, so that whatever was downloaded is on disk.
void appendClockingLine(const std::filesystem::path& file, const std::string& line) {
    appendLine(file, line);
}

void writeBareDoneMarker(const std::filesystem::path& programDir) {
    replaceFile(rawUploadFile(programDir), "Done");
}

} // namespace kestrova
