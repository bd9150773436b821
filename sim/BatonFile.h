// The text form of a simulated baton, one item per line ("#" starts a comment line, blank
// lines are ignored):
//
//   name KEST0001                 the eight name bytes, padded with spaces
//   version 27 20                 the two version bytes in hexadecimal
//   clock 2025-01-05 08:30:15     or "clock unset"; without the line: the program's now
//   delay 0                       the checkpoint delay of its clock reply
//   chip 14                       the records below belong to memory chip 14
//   A1 B2 C3 03 15 08 30          one record: seven data bytes in hexadecimal
//
// The header record of every chip is implicit. Standard library only.
#pragma once

#include "core/DateTime.h"
#include "sim/SimBaton.h"

#include <stdexcept>
#include <string>

namespace kestrova::sim {

class BatonFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the text; a baton without a clock line gets `now`. BatonFileError names the line of a
// mistake.
SimBaton parseBatonFile(const std::string& text, const LocalDateTime& now);
std::string formatBatonFile(const SimBaton& baton);

} // namespace kestrova::sim
