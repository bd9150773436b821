// The overview report: the clockings of a range regrouped by page (one per day shift or per
// night shift, noon to noon) and checkpoint, then drawn as a landscape chart with one row per
// checkpoint and 24 hour columns, saved as "Report.pdf" in the program directory and opened.
//
//   Night shift 09/03/2024 ...           overview request file: message 161 or 162 and the range
//   000000A1B2C32403091205               page by page, checkpoint by checkpoint, time order
//   ...
//   Done
//
// Standard library, core and pdf only.
#pragma once

#include "reports/ReportRequest.h"

#include <memory>
#include <string>
#include <vector>

namespace kestrova {

// The landscape chart as the overview draws it; the PDF module implements it, tests record it.
class OverviewChart {
public:
    virtual ~OverviewChart() = default;
    virtual void beginChart(const std::string& title, const std::string& footer,
                            const std::string& subtitle) = 0;
    virtual void chartPage(const std::string& heading1, const std::string& heading2,
                           bool night) = 0;
    virtual void chartRow(const std::vector<std::string>& times, const std::string& name,
                          int lineCount) = 0;
    virtual void save(const std::filesystem::path& file) = 0;
};

struct OverviewOptions {
    Shift shift = Shift::Night;
    bool pointFilter = false;
    std::string selectedId; // with the point filter: the one checkpoint taken
};

// The page days of a range: every day from start to end (day shift), from start + 1 to end
// (night shift: the night that ends at noon of that day).
std::vector<LocalDateTime> pageDays(const ReportRange& range, Shift shift);

// Whether a clocking time lies in the shift window of the page of `day`.
bool inShiftWindow(const LocalDateTime& time, const LocalDateTime& day, Shift shift);

// Rewrites the request file: the overview heading, then the clockings of each page's window
// grouped by checkpoint in list order, immediate repeats left out.
void SelectShifts(ProgramContext& context, const ReportRequest& request,
                  const OverviewOptions& options);

// Draws the chart from the request file, saves "Report.pdf" and opens it (message 137 when no
// program opens PDF files). Returns the path written.
std::filesystem::path DrawOverview(ProgramContext& context, const ReportRequest& request,
                                   const OverviewOptions& options, OverviewChart& chart);

} // namespace kestrova
