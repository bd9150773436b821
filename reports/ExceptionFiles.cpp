// Writing the exception report's files. Standard library, core and pdf only.
#include "reports/ExceptionFiles.h"

#include "core/Errors.h"
#include "core/TextFile.h"
#include "processing/ClockingReport.h"
#include "reports/ExceptionLayout.h"

#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

namespace {

std::string isoDay(CalendarDay day) {
    const std::chrono::year_month_day ymd{day};
    return isoDate(static_cast<int>(ymd.year()),
                   static_cast<int>(static_cast<unsigned>(ymd.month())),
                   static_cast<int>(static_cast<unsigned>(ymd.day())));
}

std::string isoClock(Minutes minute) {
    const int m = minuteOfDay(minute);
    return isoTime(m / 60, m % 60);
}

pdf::PdfPrint::ListingLine listingKind(ReportLine::Kind kind) {
    switch (kind) {
    case ReportLine::Kind::Heading:
        return pdf::PdfPrint::ListingLine::Heading;
    case ReportLine::Kind::Row:
        return pdf::PdfPrint::ListingLine::Row;
    case ReportLine::Kind::Text:
        break;
    }
    return pdf::PdfPrint::ListingLine::Text;
}

void writePdf(const fs::path& file, const ExceptionReportData& data,
              const std::vector<ReportLine>& body, const Settings& settings, pdf::PdfPrint& print) {
    print.PdfBeginListing(settings.reportHeader,
                          settings.reportFooter + "   Ver " + std::string(kProgramVersion),
                          data.request.site);
    for (const ReportLine& line : body)
        print.PdfAddListingLine(line.text, listingKind(line.kind));
    print.PdfSave(file);
}

} // namespace

fs::path exceptionReportPath(const fs::path& programDir, const std::optional<fs::path>& outDir,
                             const ExceptionRequest& request, std::string_view extension) {
    if (!outDir)
        return programDir / ("Exceptions" + std::string(extension));
    std::string name = request.site + "_exceptions_" + isoDay(request.first);
    if (request.last != request.first)
        name += "_" + isoDay(request.last);
    return *outDir / (name + std::string(extension));
}

CsvRow exceptionCsvHeader() {
    return {"Date", "Time", "Site", "Type", "Interval", "Checkpoint Id", "Location", "Shift Share"};
}

std::vector<CsvRow> exceptionCsvRows(const ExceptionReportData& data,
                                     const MessageTable& messages) {
    std::vector<CsvRow> rows;
    for (const PatrolException& e : data.findings.exceptions) {
        const ShiftOutcome& shift = data.findings.shifts[static_cast<std::size_t>(e.shift)];
        const auto share = shift.share();
        const Checkpoint* point =
            e.checkpoint >= 0 ? &data.checkpoints[static_cast<std::size_t>(e.checkpoint)] : nullptr;
        rows.push_back({isoDay(dayOf(e.time)), isoClock(e.time), data.request.site,
                        exceptionKindName(e.kind, messages),
                        isoTime(e.interval / 60, e.interval % 60), point ? point->id : "",
                        point ? point->name : "", share ? std::to_string(*share) : ""});
    }
    return rows;
}

std::vector<fs::path> writeExceptionReport(const fs::path& programDir,
                                           const ExceptionReportData& data,
                                           const MessageTable& messages, const Settings& settings,
                                           pdf::PdfPrint& print,
                                           const ExceptionFileOptions& options) {
    const auto path = [&](std::string_view extension) {
        return exceptionReportPath(programDir, options.outDir, data.request, extension);
    };
    const std::vector<ReportLine> body = layoutExceptionReport(data, messages);
    std::vector<fs::path> written;
    replaceFileLines(path(".txt"), exceptionReportText(body, messages, settings));
    written.push_back(path(".txt"));
    writePdf(path(".pdf"), data, body, settings, print);
    written.push_back(path(".pdf"));
    if (options.csv || options.csvFile) {
        const fs::path csv = options.csvFile ? *options.csvFile : path(".csv");
        writeCsvFile(csv, exceptionCsvHeader(), exceptionCsvRows(data, messages));
        written.push_back(csv);
    }
    return written;
}

std::string exceptionNothingInRangeText(const ExceptionRequest& request,
                                        const MessageTable& messages) {
    return messages.MessageText(150) + "\n\r" + messages.MessageText(47) + " " +
           reportDate(request.first) + " " + messages.MessageText(48) + " " +
           reportDate(request.last);
}

std::vector<fs::path> createExceptionReport(ProgramContext& context,
                                            const ExceptionRequest& request, pdf::PdfPrint& print,
                                            const ExceptionFileOptions& options) {
    const ExceptionReportData data = loadExceptionReport(context.programDir, request);
    if (data.outcome == ExceptionOutcome::NoDayFiles) {
        context.desktop.dialogs.showInformation(
            exceptionNothingInRangeText(request, context.messages));
        return {};
    }
    if (options.outDir) {
        std::error_code ec;
        fs::create_directories(*options.outDir, ec);
        if (ec)
            throw makeIoError("create", *options.outDir);
    }
    return writeExceptionReport(context.programDir, data, context.messages, context.settings.get(),
                                print, options);
}

} // namespace kestrova
