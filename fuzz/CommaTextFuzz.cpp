// The log viewer's comma text reader on any line, and its writer on what it read: writing the
// fields and reading them again gives the same fields. One case is left out: a line of one
// empty field is written as an empty line, which reads back as no field at all.
#include "reports/CommaText.h"

#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kestrova;
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    const auto fields = readCommaText(line);
    const auto again = readCommaText(writeCommaText(fields));
    const bool oneEmptyField = fields.size() == 1 && fields[0].empty();
    if (!fields.empty() && !oneEmptyField && again != fields)
        std::abort();
    return 0;
}
