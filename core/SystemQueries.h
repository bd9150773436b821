// What both desktop layers (the command line's and the windowed one) ask of the running system
// itself: the milliseconds since boot for the trace log's tick column, and the desktop's default
// application for a document type. POSIX and the standard library only.
#pragma once

#include <cstdint>
#include <string>

namespace kestrova {

// Milliseconds since the machine booted, counting time spent suspended, so tick columns of a
// trace read across a suspend stay in order.
std::uint64_t TickCountSinceBoot();

// The desktop file of the default application for `mimeType` ("application/pdf"), as
// `xdg-mime query default` reports it; empty when xdg-mime is missing, fails, does not answer
// within a few seconds, or the type is not a plain MIME name. The query runs without a shell.
std::string DefaultApplicationFor(const std::string& mimeType);

} // namespace kestrova
