// Listing and opening the clocking reports of a site. Standard library, core and processing.
#include "reports/DownloadReports.h"

#include "core/Errors.h"
#include "core/FileNames.h"
#include "processing/FileTime.h"
#include "processing/ProcessUpload.h"

#include <algorithm>
#include <cstdio>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

constexpr std::size_t kStampLength = 8;
constexpr std::size_t kDateLength = 10;

bool startsWithNumber(const std::string& name) {
    try {
        toInteger(name.substr(0, kStampLength));
        return true;
    } catch (const ConversionError&) {
        return false;
    }
}

std::string yearText(int year) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", year < 2000 ? year + 2000 : year);
    return text;
}

} // namespace

std::vector<DownloadReportRow> FillReportList(ProgramContext& context, const std::string& site,
                                              bool pdfOption) {
    const fs::path siteDir = resolveInDirectory(context.programDir, site);
    const std::string extension = pdfOption ? ".pdf" : ".txt";
    std::vector<DownloadReportRow> rows;
    std::error_code ec;
    for (fs::directory_iterator it(siteDir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        const std::string name = it->path().filename().string();
        if (name.size() < extension.size() ||
            !equalsIgnoreCase(std::string_view(name).substr(name.size() - extension.size()),
                              extension))
            continue;
        DownloadReportRow row{{}, {}, name};
        if (startsWithNumber(name)) {
            const LocalDateTime modified = fileModifiedLocal(it->path());
            row.date = yearText(modified.year) + "/" + name.substr(0, 2) + "/" + name.substr(2, 2);
            row.time = name.substr(4, 2) + ":" + name.substr(6, 2);
        } else {
            const std::string dir = siteDir.string();
            context.desktop.dialogs.showInformation("File \"" + name +
                                                    "\" does not belong in the directory " + dir +
                                                    "\r" + dir + "\r" + " Please remove it");
        }
        rows.push_back(std::move(row));
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const auto& a, const auto& b) { return a.date < b.date; });
    return rows;
}

std::vector<fs::path> OpenSelectedReports(ProgramContext& context, const std::string& site,
                                          bool pdfOption,
                                          const std::vector<DownloadReportRow>& rows,
                                          const std::vector<std::size_t>& selected) {
    std::vector<std::size_t> order = selected;
    std::sort(order.begin(), order.end());
    order.erase(std::unique(order.begin(), order.end()), order.end());
    const fs::path siteDir = resolveInDirectory(context.programDir, site);
    std::vector<fs::path> opened;
    for (const std::size_t index : order) {
        if (index >= rows.size())
            continue;
        const DownloadReportRow& row = rows[index];
        if (row.date.size() < kDateLength || row.time.size() < 5)
            continue;
        const std::string stamp = row.date.substr(5, 2) + row.date.substr(8, 2) +
                                  row.time.substr(0, 2) + row.time.substr(3, 2);
        try {
            const fs::path text = resolveInDirectory(siteDir, stamp + ".txt");
            if (fileExists(text) && !pdfOption) {
                opened.push_back(text);
                context.desktop.documents.openDocument(text);
            } else if (FindPdfViewer(context.programDir, context.desktop.documents, ".pdf")
                           .empty()) {
                context.desktop.dialogs.showInformation(context.messages.MessageText(137) + "\r" +
                                                        std::string(kPdfViewerHelpAddress));
            } else {
                const fs::path pdf = resolveInDirectory(siteDir, stamp + ".pdf");
                opened.push_back(pdf);
                context.desktop.documents.openDocument(pdf);
            }
        } catch (const std::exception&) {
            // The system's open action reports its own failures; the list goes on.
        }
    }
    return opened;
}

} // namespace kestrova
