// Writing a request file or a bucket line by line, with CR LF line ends and without holding
// the whole file in memory: a year of clockings passes through it. Failures raise IoError.
// Standard library and core only.
#pragma once

#include <filesystem>
#include <fstream>
#include <string_view>

namespace kestrova {

class LineWriter {
public:
    // Creates the file anew (its previous content is lost).
    explicit LineWriter(std::filesystem::path file);
    void write(std::string_view line);
    // Flushes and closes; a failure raises IoError. The destructor closes quietly.
    void close();

private:
    std::filesystem::path file_;
    std::ofstream out_;
};

} // namespace kestrova
