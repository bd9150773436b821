#include "core/TextFile.h"

#include "core/Errors.h"

#include <atomic>
#include <cerrno>
#include <fstream>
#include <optional>
#include <system_error>
#include <unistd.h>

namespace kestrova {
namespace fs = std::filesystem;

Lines splitLines(std::string_view bytes) {
    Lines lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.emplace_back(bytes.substr(start, i - start));
            i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2u : 1u;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < bytes.size())
        lines.emplace_back(bytes.substr(start));
    return lines;
}

std::string joinLines(const Lines& lines) {
    std::string out;
    std::size_t size = 0;
    for (const auto& line : lines)
        size += line.size() + kLineEnd.size();
    out.reserve(size);
    for (const auto& line : lines) {
        out += line;
        out += kLineEnd;
    }
    return out;
}

bool fileExists(const fs::path& file) {
    std::error_code ec;
    return fs::is_regular_file(file, ec);
}

bool directoryExists(const fs::path& dir) {
    std::error_code ec;
    return fs::is_directory(dir, ec);
}

std::string readFileBytes(const fs::path& file) {
    errno = 0;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw makeIoError("open", file);
    std::string bytes;
    char buffer[65536];
    // A directory opens but fails its first read; every failure of a read is an IoError.
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad() || !in.eof())
        throw makeIoError("read", file);
    return bytes;
}

Lines readLines(const fs::path& file) {
    return splitLines(readFileBytes(file));
}

namespace {

// A name for the temporary copy that no other writer in this process or another one uses.
fs::path temporarySibling(const fs::path& file) {
    static std::atomic<unsigned> counter{0};
    const auto name = "." + file.filename().string() + "." + std::to_string(::getpid()) + "." +
                      std::to_string(counter++) + ".tmp";
    return file.parent_path() / name;
}

WriteHook& writeHook() {
    static WriteHook hook;
    return hook;
}

void stage(WriteStage at, const fs::path& file) {
    if (const WriteHook& hook = writeHook())
        hook(at, file);
}

// Failures name `shownAs`: the user knows the file, not its temporary copy. The bytes go out in
// two halves, so that a test can stop a write in its middle.
void writeAll(const fs::path& file, std::string_view bytes, std::ios::openmode mode,
              const fs::path& shownAs) {
    stage(WriteStage::Open, shownAs);
    errno = 0;
    std::ofstream out(file, std::ios::binary | mode);
    if (!out)
        throw makeIoError("create", shownAs);
    const std::size_t half = bytes.size() / 2;
    out.write(bytes.data(), static_cast<std::streamsize>(half));
    out.flush();
    stage(WriteStage::HalfWritten, shownAs);
    out.write(bytes.data() + half, static_cast<std::streamsize>(bytes.size() - half));
    out.flush();
    if (!out)
        throw makeIoError("write", shownAs);
    stage(WriteStage::Written, shownAs);
}

} // namespace

void setWriteHookForTesting(WriteHook hook) {
    writeHook() = std::move(hook);
}

void replaceFile(const fs::path& file, std::string_view bytes) {
    const fs::path temporary = temporarySibling(file);
    try {
        writeAll(temporary, bytes, std::ios::trunc, file);
    } catch (...) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        throw;
    }
    std::error_code ec;
    fs::rename(temporary, file, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        errno = ec.value();
        throw makeIoError("replace", file);
    }
}

void replaceFileLines(const fs::path& file, const Lines& lines) {
    replaceFile(file, joinLines(lines));
}

void appendToFile(const fs::path& file, std::string_view bytes) {
    std::error_code ec;
    const bool existed = fs::is_regular_file(file, ec);
    std::optional<std::uintmax_t> before;
    if (existed) {
        const std::uintmax_t size = fs::file_size(file, ec);
        if (!ec)
            before = size;
    }
    try {
        writeAll(file, bytes, std::ios::app, file);
    } catch (...) {
        // Take back what reached the file: a half line would run into the next entry.
        std::error_code ignored;
        if (before)
            fs::resize_file(file, *before, ignored);
        else if (!existed)
            fs::remove(file, ignored);
        throw;
    }
}

void appendLine(const fs::path& file, std::string_view line) {
    std::string bytes(line);
    bytes += kLineEnd;
    appendToFile(file, bytes);
}

void createEmptyFileIfMissing(const fs::path& file) {
    if (!fileExists(file))
        writeAll(file, {}, std::ios::app, file);
}

} // namespace kestrova
