// The overview chart drawn by the program's report drawing module. Standard library and the
// PDF module only.
#pragma once

#include "pdf/pdfprint.h"
#include "reports/Overview.h"

namespace kestrova {

class PdfOverviewChart : public OverviewChart {
public:
    explicit PdfOverviewChart(pdf::PdfPrint& print) : print_(print) {}

    void beginChart(const std::string& title, const std::string& footer,
                    const std::string& subtitle) override {
        print_.PdfBeginChart(title, footer, subtitle);
    }
    void chartPage(const std::string& heading1, const std::string& heading2, bool night) override {
        print_.PdfChartPage(heading1, heading2, night);
    }
    void chartRow(const std::vector<std::string>& times, const std::string& name,
                  int lineCount) override {
        print_.PdfChartRow(times, name, lineCount);
    }
    void save(const std::filesystem::path& file) override { print_.PdfSave(file); }

private:
    pdf::PdfPrint& print_;
};

} // namespace kestrova
