// Shared by the fuzz targets: one scratch directory per fuzzing process, on a memory file system
// where there is one, and writing the fuzzer's bytes into a file there. Standard library only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace kestrova::fuzz {

// A directory of its own for this process, created on first use and emptied by the caller as
// it needs.
const std::filesystem::path& scratchDirectory();

// Replaces `file` with the bytes (plainly, without the temporary copy the program uses).
void writeBytes(const std::filesystem::path& file, const std::uint8_t* data, std::size_t size);
void writeText(const std::filesystem::path& file, const std::string& text);

} // namespace kestrova::fuzz
