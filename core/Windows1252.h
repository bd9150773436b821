// Conversion between the program's 8-bit texts (Windows-1252, as the data files hold them) and
// UTF-8, for the desktop side that shows and takes texts in Unicode. The logic never converts.
// Standard library only.
#pragma once

#include <string>
#include <string_view>

namespace kestrova {

std::string windows1252ToUtf8(std::string_view bytes);

// Characters that Windows-1252 cannot hold become '?'; malformed UTF-8 bytes likewise.
std::string utf8ToWindows1252(std::string_view utf8);

} // namespace kestrova
