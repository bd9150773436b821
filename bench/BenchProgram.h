// What the report benchmarks share: a program directory over the fake desktop interfaces, with
// the report writers drawing real PDF documents, and the size of the year they are measured on.
// Standard library, core, processing, pdf and reports.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/testing/FakeDesktop.h"
#include "pdf/pdfprint.h"
#include "processing/PdfprintReport.h"
#include "reports/RequestChooser.h"

#include <cstdio>
#include <string>

namespace kestrova::bench {

struct BenchProgram {
    testing::TempDir dir;
    testing::FakeDesktop desk;
    ProgramContext context{dir.path(), desk.desktop, "1"};
    MainState state;
    pdf::PdfPrint print{desk.clock, desk.locale};
    PdfprintReport pdf{print};
    IgnoreUnknownCheckpoints ignore;
};

// The year of day files the report goals speak of: one site of 255 checkpoints, 500 clockings
// a day over the 366 days of 2024.
inline constexpr int kCheckpoints = 255;
inline constexpr int kClockingsPerDay = 500;
inline constexpr int kDays = 366;
inline const std::string kSite = "Yard";

// The k-th checkpoint's id: "A00000", "A00001", ...
inline std::string checkpointId(int k) {
    char id[8];
    std::snprintf(id, sizeof id, "%06X", 0xA00000 + k);
    return id;
}

} // namespace kestrova::bench
