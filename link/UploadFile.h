// The upload file "Raw.txt" as the comms thread writes it:
//
//   Id : KEST0042                    header: the baton's ident text as lblID shows it
//   000000A1B2C3240315083012         clocking lines (one per memory record after record 0)
//   ...
//   Done                             written by processing once the file is processed
//
// A clocking line: "000000", the checkpoint id (data bytes 1-3 in hexadecimal), the last two
// digits of the year (from the PC's date, see clockingYear), month (byte 4 AND 1F), day (byte
// 5 AND 3F), hour (byte 6) and minute (byte 7, bit 7 kept) each as two hexadecimal digits of
// their BCD, and the packet number modulo 100 without leading zero. After a baton write the
// file holds only the four characters "Done", without a line end. Standard library only.
#pragma once

#include "core/DateTime.h"
#include "link/Frames.h"

#include <filesystem>
#include <string>

namespace kestrova {

// The record carries no year: a month later than the PC's month lies in the previous year.
int clockingYear(std::uint8_t monthByte, const LocalDateTime& now);

std::string clockingLine(const RecordData& data, std::int64_t packetNumber,
                         const LocalDateTime& now);

// The file in the program directory, found whatever the case of its name.
std::filesystem::path rawUploadFile(const std::filesystem::path& programDir);

// A new file holding only the header line (any previous content is gone); returns its path,
// for the lines that follow.
std::filesystem::path startUploadFile(const std::filesystem::path& programDir,
                                      const std::string& header);
void appendClockingLine(const std::filesystem::path& file, const std::string& line);
void writeBareDoneMarker(const std::filesystem::path& programDir);

} // namespace kestrova
