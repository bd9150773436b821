// Line-by-line writing of request files. Standard library and core only.
#include "reports/RequestFile.h"

#include "core/Errors.h"
#include "core/TextFile.h"

namespace kestrova {

LineWriter::LineWriter(std::filesystem::path file) : file_(std::move(file)) {
    out_.open(file_, std::ios::binary | std::ios::trunc);
    if (!out_)
        throw makeIoError("create", file_);
}

void LineWriter::write(std::string_view line) {
    out_.write(line.data(), static_cast<std::streamsize>(line.size()));
    out_.write(kLineEnd.data(), static_cast<std::streamsize>(kLineEnd.size()));
    if (!out_)
        throw makeIoError("write", file_);
}

void LineWriter::close() {
    out_.close();
    if (!out_)
        throw makeIoError("write", file_);
}

} // namespace kestrova
