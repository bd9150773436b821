// Scratch files of the fuzz targets.
#include "fuzz/FuzzSupport.h"

#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <system_error>
#include <unistd.h>

namespace kestrova::fuzz {
namespace fs = std::filesystem;

const fs::path& scratchDirectory() {
    static const fs::path dir = [] {
        std::error_code ec;
        const fs::path base =
            fs::is_directory("/dev/shm", ec) ? fs::path("/dev/shm") : fs::temp_directory_path();
        const fs::path made = base / ("kestrova-fuzz-" + std::to_string(::getpid()));
        fs::create_directories(made);
        return made;
    }();
    return dir;
}

void writeBytes(const fs::path& file, const std::uint8_t* data, std::size_t size) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out)
        throw std::runtime_error("cannot write the fuzz input to " + file.string());
}

void writeText(const fs::path& file, const std::string& text) {
    writeBytes(file, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

} // namespace kestrova::fuzz
