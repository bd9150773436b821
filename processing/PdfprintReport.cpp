// Clocking reports through pdfprint.
#include "processing/PdfprintReport.h"

namespace kestrova {

void PdfprintReport::beginReport(const std::string& title, const std::string& footer,
                                 const std::string& subtitle) {
    print_.PdfBeginReport(title, footer, subtitle);
}

void PdfprintReport::beginSection(const std::string& title, const std::string& footer,
                                  const std::string& subtitle) {
    print_.PdfBeginSection(title, footer, subtitle);
}

void PdfprintReport::addClocking(const std::string& date, const std::string& time,
                                 const std::string& location, bool separator) {
    print_.PdfAddClocking(date, time, location, separator, 0);
}

void PdfprintReport::addText(const std::string& text) {
    print_.PdfAddText(text);
}

void PdfprintReport::addFrequencyTable(const std::string& title, const std::string& nameHeading,
                                       const std::string& countHeading,
                                       const std::vector<std::string>& names,
                                       const std::vector<std::string>& counts) {
    print_.PdfAddFrequencyTable(title, nameHeading, countHeading, names, counts);
}

void PdfprintReport::save(const std::filesystem::path& file) {
    print_.PdfSave(file);
}

} // namespace kestrova
