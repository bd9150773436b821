// The log viewer's comma text reader on any line, and its writer on what it read: writing the
// fields and reading them again gives the same fields.
#include "reports/CommaText.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrova;
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto fields = readCommaText(line);
    const auto again = readCommaText(writeCommaText(fields));
    if (!fields.empty() && again != fields)
        std::abort();
    return 0;
}
