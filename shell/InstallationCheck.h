// The installation check of start-up: every vital file of the installation must be there and,
// where the list gives a checksum, have the MD5 digest the build recorded. The marker file
// "nomd5.txt" in the program directory switches the check to listing mode, which judges
// nothing and rewrites "nomd5.txt" with every file's digest. May depend on core and OpenSSL's
// libcrypto.
#pragma once

#include "core/Desktop.h"

#include <filesystem>
#include <span>
#include <string>

namespace kestrova {

struct VitalFile {
    std::string name;               // as the messages and the listing name it
    std::string expectedMd5;        // 32 upper-case hexadecimal digits; empty: presence only
    std::filesystem::path location; // below the installation directory; empty: `name`
};

// What listing mode writes for a file that is missing: no digest can be computed.
inline constexpr std::string_view kMissingDigest = "missing";

// The MD5 digest (RFC 1321) of the file's bytes as 32 upper-case hexadecimal digits, first byte
// first. Raises IoError when the file cannot be read.
std::string FileMd5Hex(const std::filesystem::path& file);

// Checks (or lists) `files` below `installDir`. The messages go through `dialogs`; pending
// events run before each digest. Returns false when the program must close: a file is missing
// or corrupt (one message per file, in list order) or could not be read (one message, and the
// check ends there).
bool RunInstallationCheck(const std::filesystem::path& programDir,
                          const std::filesystem::path& installDir, std::span<const VitalFile> files,
                          Dialogs& dialogs, EventPump& events);

} // namespace kestrova
