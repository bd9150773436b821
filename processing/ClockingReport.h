// One site's section of a clocking report, as text lines and as PDF: heading, a line (or three)
// per clocking with its location name, patrol separators, hour marks and special records, the
// frequency report and the warnings. Standard library only.
#pragma once

#include "core/MessageTable.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "processing/LocationBook.h"
#include "processing/ReportPdf.h"

#include <cstdint>
#include <functional>
#include <string>

namespace kestrova {

inline constexpr std::string_view kProgramVersion = "5.28l";
inline constexpr std::string_view kReportSeparatorLine =
    "   ---   ---   ---   ---   ---   ---   ---   ---";

// What every section of one run shares.
struct ReportRun {
    const MessageTable& messages;
    const Settings& settings;
    bool combined = false;    // a report request of the Reports window
    bool sorted = false;      // the request is sorted by id
    bool noSeparator = false; // the request leaves out patrol separators
    bool pointFilter = false; // the Reports window's point filter is checked
    std::string identText;
    std::string uploadTimeText;
    std::string batonVersion;
    std::int64_t outOfSequence = 0; // whole upload
    std::int64_t matched = 0;       // whole upload
};

struct SiteSection {
    std::string site;
    const Lines& bucket;
    std::int64_t corruptCount = 0;
    // The PDF starts a document (the first section) or a new section of the same document.
    bool firstSection = true;
};

// Called for each id the lists do not name, before its location is used: the site's list file
// gains the checkpoint.
using AppendUnknownCheckpoint = std::function<void(const std::string& id, const std::string& name)>;

Lines buildSiteReport(const ReportRun& run, const SiteSection& section, LocationBook& book,
                      const AppendUnknownCheckpoint& appendUnknown, ReportPdf& pdf);

} // namespace kestrova
