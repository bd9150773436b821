// The Port Setup window's "Ok": the chosen number becomes the CommPort setting (in the record
// and in the settings file) and PortNumber, and the change is logged. The running station
// search is not restarted; the number counts from the next start. May depend on core only.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"

namespace kestrova {

// The range of the window's number field.
inline constexpr int kPortSetupMin = 0;
inline constexpr int kPortSetupMax = 250;

// `number` is clamped to the field's range.
void PortSetupOk(ProgramContext& context, MainState& state, int number);

} // namespace kestrova
