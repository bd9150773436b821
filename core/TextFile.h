// Reading and writing the program's 8-bit text files. Bytes are kept exactly as they are
// (Windows-1252 on disk, no conversion); lines are written with CR LF, and read with CR LF, LF
// or CR as the line end, the last line also without one. Standard library only.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

using Lines = std::vector<std::string>;

inline constexpr std::string_view kLineEnd = "\r\n";

// Splits a file's bytes into lines. An empty text has no lines; a text that ends with a line
// end has no empty line after it.
Lines splitLines(std::string_view bytes);

// Lines joined with CR LF, each line ended.
std::string joinLines(const Lines& lines);

bool fileExists(const std::filesystem::path& file);
bool directoryExists(const std::filesystem::path& dir);

// Whole-file access. Failures raise IoError.
std::string readFileBytes(const std::filesystem::path& file);
Lines readLines(const std::filesystem::path& file);

// Replaces the file with these bytes: written to a temporary file in the same directory, then
// renamed over the old one, so a crash leaves the old or the new file, never half of one. A
// crash before the rename can leave the temporary file (a hidden name) behind.
void replaceFile(const std::filesystem::path& file, std::string_view bytes);
void replaceFileLines(const std::filesystem::path& file, const Lines& lines);

// Appends bytes (or CR LF ended lines) to a file, creating it when it is missing. A write that
// fails is taken back, so the file keeps exactly its old bytes; only a crash in the middle of
// the write can leave the appended bytes (at most the last line or record) partly written.
void appendToFile(const std::filesystem::path& file, std::string_view bytes);
void appendLine(const std::filesystem::path& file, std::string_view line);

// Creates an empty file when it does not exist yet.
void createEmptyFileIfMissing(const std::filesystem::path& file);

// The stages of every write above, where a test makes the write fail (the hook throws) or the
// process end (the hook exits): before the file is opened, with half of the bytes written, and
// with all of them written (before the rename of a replacement).
enum class WriteStage { Open, HalfWritten, Written };
using WriteHook = std::function<void(WriteStage, const std::filesystem::path& file)>;
// Installs the hook for the writes that follow (an empty one removes it). For tests only: the
// program never sets it.
void setWriteHookForTesting(WriteHook hook);

// Reads lines one by one from a file held in memory, as the line-by-line readers of the data
// formats expect: atEnd() once every line has been taken.
class LineReader {
public:
    explicit LineReader(Lines lines) : lines_(std::move(lines)) {}
    static LineReader fromFile(const std::filesystem::path& file) {
        return LineReader(readLines(file));
    }
    bool atEnd() const { return next_ >= lines_.size(); }
    // The next line, or the empty text at the end.
    std::string next() { return atEnd() ? std::string() : lines_[next_++]; }

private:
    Lines lines_;
    std::size_t next_ = 0;
};

} // namespace kestrova
