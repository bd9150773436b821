// The clocking report's PDF drawn by the program's report drawing module: one PdfPrint, owned
// by whoever keeps the message copy up to date, serves every run. Standard library and the PDF
// module only.
#pragma once

#include "pdf/pdfprint.h"
#include "processing/ReportPdf.h"

namespace kestrova {

class PdfprintReport : public ReportPdf {
public:
    explicit PdfprintReport(pdf::PdfPrint& print) : print_(print) {}

    void beginReport(const std::string& title, const std::string& footer,
                     const std::string& subtitle) override;
    void beginSection(const std::string& title, const std::string& footer,
                      const std::string& subtitle) override;
    void addClocking(const std::string& date, const std::string& time, const std::string& location,
                     bool separator) override;
    void addText(const std::string& text) override;
    void addFrequencyTable(const std::string& title, const std::string& nameHeading,
                           const std::string& countHeading, const std::vector<std::string>& names,
                           const std::vector<std::string>& counts) override;
    void save(const std::filesystem::path& file) override;

private:
    pdf::PdfPrint& print_;
};

} // namespace kestrova
