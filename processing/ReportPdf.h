// The PDF side of a clocking report, as the report builder hands it over: a banner per report
// (or per site section of a combined report), clocking rows, free text lines and the frequency
// table. The PDF module implements it; tests record it. Standard library only.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kestrova {

class ReportPdf {
public:
    virtual ~ReportPdf() = default;

    // Starts a new document; a document begun and not saved is abandoned.
    virtual void beginReport(const std::string& title, const std::string& footer,
                             const std::string& subtitle) = 0;
    // The next site section of a combined report: a new page of the same document, with the
    // section's own banner, so that every section reaches the one file.
    virtual void beginSection(const std::string& title, const std::string& footer,
                              const std::string& subtitle) = 0;
    virtual void addClocking(const std::string& date, const std::string& time,
                             const std::string& location, bool separator) = 0;
    // An empty text is an empty line.
    virtual void addText(const std::string& text) = 0;
    virtual void addFrequencyTable(const std::string& title, const std::string& nameHeading,
                                   const std::string& countHeading,
                                   const std::vector<std::string>& names,
                                   const std::vector<std::string>& counts) = 0;
    // Writes the current document and releases it. Failures raise IoError.
    virtual void save(const std::filesystem::path& file) = 0;
};

} // namespace kestrova
