// Report writers that draw nothing, for tests and tools that look at what a request or a window
// does rather than at the pages it draws: each leaves a stub file where the document would be.
// Standard library, core, processing and reports only.
#pragma once

#include "core/TextFile.h"
#include "processing/ReportPdf.h"
#include "reports/Overview.h"

#include <filesystem>
#include <string>
#include <vector>

namespace kestrova::testing {

class NoPdf : public ReportPdf {
public:
    void beginReport(const std::string&, const std::string&, const std::string&) override {}
    void beginSection(const std::string&, const std::string&, const std::string&) override {}
    void addClocking(const std::string&, const std::string&, const std::string&, bool) override {}
    void addText(const std::string&) override {}
    void addFrequencyTable(const std::string&, const std::string&, const std::string&,
                           const std::vector<std::string>&,
                           const std::vector<std::string>&) override {}
    void save(const std::filesystem::path& file) override { writeFile(file, "%PDF"); }
};

class NoChart : public OverviewChart {
public:
    void beginChart(const std::string&, const std::string&, const std::string&) override {}
    void chartPage(const std::string&, const std::string&, bool) override {}
    void chartRow(const std::vector<std::string>&, const std::string&, int) override {}
    void save(const std::filesystem::path& file) override { writeFile(file, "%PDF"); }
};

} // namespace kestrova::testing
