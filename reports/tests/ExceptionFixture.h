// A small program directory for the exception report tests: sites with a checkpoint list and a
// failed-patrol schedule, and day files written from compact clocking texts.
#pragma once

#include "core/CheckpointList.h"
#include "core/MessageTable.h"
#include "core/testing/FakeDesktop.h"
#include "reports/ExceptionData.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestrova::testing {

// Round 15 + rest 15 minutes; Monday to Friday 09h00-12h00 except Wednesday 20h00-02h00 (past
// midnight); Saturday 10h00-11h00; Sunday no patrol. 4 March 2024 is a Monday.
ScheduleValues sampleSchedule();

class ExceptionSiteDir {
public:
    ExceptionSiteDir();
    const std::filesystem::path& programDir() const { return dir_.path(); }

    // A site with the checkpoints "AAAAA1", "AAAAA2", … (named "Point 1", …).
    void addSite(const std::string& site, int checkpoints,
                 const ScheduleValues& schedule = sampleSchedule());
    // Clockings as "yymmdd hhmm id" (id: a six-character id, or 1, 2, … for the site's
    // checkpoints); each date's lines go to that date's day file, in the order given.
    void addClockings(const std::string& site, const std::vector<std::string>& clockings);
    // An empty day file, so that the range has data.
    void addEmptyDay(const std::string& site, const std::string& date);

    ExceptionReportData load(const std::string& site, const std::string& first,
                             const std::string& last, const std::string& now = "991231 2359") const;

private:
    TempDir dir_;
};

// "yymmdd" as a day; "yymmdd hhmm" as minutes.
CalendarDay dayFromText(const std::string& yymmdd);
Minutes minutesFromText(const std::string& yymmddhhmm);

std::string pointId(int k);

MessageTable defaultMessages();

} // namespace kestrova::testing
