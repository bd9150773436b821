// kestrova-cli report list / overview / exceptions / downloads, and log: the Reports window's
// "Create/Open" and the log viewer without a display. The site and the range are given in ISO
// forms; the report itself follows the settings as the window does (the PDF follows
// SecureReports). `--csv FILE` adds the report's rows as CSV; `--out DIR` puts the report's
// files into DIR under names that carry the site and the range (scheduled runs), instead of
// leaving them only under the program directory's fixed names. Messages meant for a message
// box go to standard error; no document is ever opened.
#include "cli/Commands.h"
#include "core/Errors.h"
#include "core/FileNames.h"
#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/TextFile.h"
#include "pdf/pdfprint.h"
#include "processing/CsvExport.h"
#include "processing/DoRaw.h"
#include "processing/PdfprintReport.h"
#include "processing/ReportCopies.h"
#include "processing/UnknownCheckpointOption.h"
#include "reports/AdminLogViewer.h"
#include "reports/DayFileReading.h"
#include "reports/DownloadReports.h"
#include "reports/ExceptionFiles.h"
#include "reports/PdfOverviewChart.h"
#include "reports/ReportRequest.h"
#include "reports/ReportsWindowModel.h"
#include "reports/RequestChooser.h"

#include <cstdio>
#include <map>
#include <optional>
#include <system_error>

namespace kestrova::cli {
namespace fs = std::filesystem;

namespace {

// The options of a command: flags without a value, the others with one (repeatable ones keep
// every value).
struct Options {
    std::map<std::string, std::vector<std::string>> values;
    std::vector<std::string> flags;

    bool has(const std::string& name) const {
        return values.count(name) != 0 ||
               std::find(flags.begin(), flags.end(), name) != flags.end();
    }
    const std::string& one(const std::string& command, const std::string& name) const {
        const auto found = values.find(name);
        if (found == values.end())
            throw UsageError(command + ": " + name + " is required");
        return found->second.back();
    }
};

Options parseOptions(const std::string& command, const std::vector<std::string>& args,
                     std::size_t first, const std::vector<std::string>& withValue,
                     const std::vector<std::string>& flags) {
    Options options;
    for (std::size_t i = first; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (std::find(flags.begin(), flags.end(), arg) != flags.end()) {
            options.flags.push_back(arg);
        } else if (std::find(withValue.begin(), withValue.end(), arg) != withValue.end()) {
            if (i + 1 >= args.size())
                throw UsageError(command + ": " + arg + " needs a value");
            options.values[arg].push_back(args[++i]);
        } else {
            throw UsageError(command + ": unexpected argument " + arg);
        }
    }
    return options;
}

// "YYYY-MM-DD" (and, with a time, "YYYY-MM-DD HH:MM"): the calendar day and the window's time
// text "HHhMM".
struct DateAndTime {
    LocalDateTime day;
    std::string time;
};

DateAndTime parseDateTime(const std::string& command, const std::string& text, bool withTime) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    char end = 0;
    const int read = withTime
                         ? std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d%c", &year, &month, &day,
                                       &hour, &minute, &end)
                         : std::sscanf(text.c_str(), "%4d-%2d-%2d%c", &year, &month, &day, &end);
    const bool ok = read == (withTime ? 5 : 3) && month >= 1 && month <= 12 && day >= 1 &&
                    day <= daysInMonth(year, month) && hour >= 0 && hour <= 23 && minute >= 0 &&
                    minute <= 59;
    if (!ok)
        throw UsageError(command + ": \"" + text + "\" is not " +
                         (withTime ? "\"YYYY-MM-DD HH:MM\"" : "\"YYYY-MM-DD\""));
    char time[16];
    std::snprintf(time, sizeof time, "%02dh%02d", hour, minute);
    return {calendarDay(year, month, day), time};
}

// "--out DIR" and "--csv FILE", both taken as given (relative to the working directory).
struct ReportOutputs {
    std::optional<fs::path> outDir;
    std::optional<fs::path> csv;
};

ReportOutputs reportOutputs(const std::string& command, const Options& o) {
    ReportOutputs outputs;
    if (o.has("--out"))
        outputs.outDir = fs::path(o.one(command, "--out"));
    if (o.has("--csv"))
        outputs.csv = fs::path(o.one(command, "--csv"));
    return outputs;
}

// "2024-03-09" and, with a time, "2024-03-09_1200": the range in an output file's name.
std::string isoName(const DateAndTime& at, bool withTime) {
    const LocalDateTime& d = at.day;
    std::string name = isoDate(d.year, d.month, d.day);
    if (withTime)
        name += "_" + at.time.substr(0, 2) + at.time.substr(3, 2);
    return name;
}

void createFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (ec)
        throw makeIoError("create", folder);
}

// The program as a report needs it, and the Reports window's model over it.
struct ReportProgram {
    explicit ReportProgram(CliSession& session) : program(session) {
        program.loadSettingsAndMessages();
        program.loadSites();
        print.PdfSetMessages(context().messages.range(1, pdf::PdfPrint::kMessageCount));
    }
    ProgramContext& context() { return program.context(); }

    // The model with the site chosen and the window shown and active, in the advanced layout.
    ReportsWindowModel& open(const std::string& command, const std::string& site, ReportKind kind) {
        const auto position = existingSitePosition(context().sites, site);
        if (!position)
            throw UsageError(command + ": no site named \"" + site + "\"");
        model.FormShow();
        model.siteChosen(*position);
        // The kind first: activating the window on the overview it starts with would check
        // the PDF option, and so SecureReports, for a clocking list too.
        model.kindChosen(kind);
        model.FormActivate();
        if (!model.selection().advanced)
            model.advancedToggled();
        return model;
    }

    void choosePoint(const std::string& command, const std::string& id) {
        const auto& entries = model.pointSelector();
        for (std::size_t k = 0; k < entries.size(); ++k) {
            if (equalsIgnoreCase(selectedPointId(entries[k]), id)) {
                model.pointFilterToggled(true);
                model.choosePoint(k);
                return;
            }
        }
        throw UsageError(command + ": the site lists no checkpoint " + id);
    }

    // "Create/Open"; with `--out` the files written are copied into the folder as
    // `baseName` plus their extension. Prints the paths of the files the user asked for.
    int create(CliSession& session, const ReportOutputs& outputs, const std::string& baseName) {
        const DispatchOutcome outcome = model.createOpen({}, services, chart);
        if (outcome != DispatchOutcome::Reported)
            return 1;
        std::vector<fs::path> shown;
        if (outputs.outDir)
            createFolder(*outputs.outDir);
        for (const auto& written : model.written()) {
            if (!outputs.outDir) {
                shown.push_back(written.lexically_relative(context().programDir));
                continue;
            }
            const fs::path copy = *outputs.outDir / (baseName + written.extension().string());
            replaceFile(copy, readFileBytes(written));
            shown.push_back(copy);
        }
        if (outputs.csv) {
            const std::string site = *model.currentSite();
            writeCsvFile(*outputs.csv, clockingCsvHeader(),
                         clockingCsvRows(site, requestClockings(context().programDir),
                                         readLocationNames(context().programDir, site),
                                         context().messages));
            shown.push_back(*outputs.csv);
        }
        printPaths(session, shown);
        return 0;
    }

    static void printPaths(CliSession& session, const std::vector<fs::path>& paths) {
        for (const auto& path : paths)
            session.out << path.generic_string() << '\n';
    }

    // The site's name as the site list spells it.
    std::string siteNamed(const std::string& command, const std::string& site) {
        const auto position = existingSitePosition(context().sites, site);
        if (!position)
            throw UsageError(command + ": no site named \"" + site + "\"");
        return *context().sites.at(*position);
    }

    CliProgram program;
    MainState state;
    pdf::PdfPrint print{context().desktop.clock, context().desktop.locale};
    PdfprintReport report{print};
    PdfOverviewChart chart{print};
    IgnoreUnknownCheckpoints unknown;
    ProcessingServices services{context(), state, unknown, report};
    ReportsWindowModel model{context(), state};
};

int runList(CliSession& session) {
    const std::string command = "report list";
    const Options o =
        parseOptions(command, session.args, 1,
                     {"--site", "--from", "--to", "--point", "--csv", "--out"}, {"--sort"});
    const DateAndTime from = parseDateTime(command, o.one(command, "--from"), true);
    const DateAndTime to = parseDateTime(command, o.one(command, "--to"), true);
    const ReportOutputs outputs = reportOutputs(command, o);
    ReportProgram program(session);
    ReportsWindowModel& model =
        program.open(command, o.one(command, "--site"), ReportKind::ClockingList);
    model.datesChosen(from.day, to.day);
    model.timeEdited(false, from.time);
    model.timeEdited(true, to.time);
    model.selection().sortOption = o.has("--sort");
    if (o.has("--point"))
        program.choosePoint(command, o.one(command, "--point"));
    return program.create(session, outputs,
                          *model.currentSite() + "_list_" + isoName(from, true) + "_" +
                              isoName(to, true));
}

int runOverview(CliSession& session) {
    const std::string command = "report overview";
    const Options o =
        parseOptions(command, session.args, 1,
                     {"--site", "--shift", "--from", "--to", "--point", "--csv", "--out"}, {});
    const std::string& shift = o.one(command, "--shift");
    if (shift != "day" && shift != "night")
        throw UsageError(command + ": --shift takes day or night");
    const DateAndTime from = parseDateTime(command, o.one(command, "--from"), false);
    const DateAndTime to = parseDateTime(command, o.one(command, "--to"), false);
    const ReportOutputs outputs = reportOutputs(command, o);
    ReportProgram program(session);
    ReportsWindowModel& model =
        program.open(command, o.one(command, "--site"), ReportKind::Overview);
    model.shiftChosen(shift == "day" ? Shift::Day : Shift::Night);
    model.datesChosen(from.day, to.day);
    if (o.has("--point"))
        program.choosePoint(command, o.one(command, "--point"));
    return program.create(session, outputs,
                          *model.currentSite() + "_overview_" + shift + "_" + isoName(from, false) +
                              "_" + isoName(to, false));
}

CalendarDay calendarDayOf(const LocalDateTime& t) {
    return makeDay(t.year, t.month, t.day);
}

int runExceptions(CliSession& session) {
    const std::string command = "report exceptions";
    const Options o =
        parseOptions(command, session.args, 1, {"--site", "--from", "--to", "--csv", "--out"}, {});
    const DateAndTime from = parseDateTime(command, o.one(command, "--from"), false);
    const DateAndTime to = parseDateTime(command, o.one(command, "--to"), false);
    if (to.day < from.day)
        throw UsageError(command + ": --to is before --from");
    const ReportOutputs outputs = reportOutputs(command, o);
    ReportProgram program(session);
    ProgramContext& context = program.context();
    const LocalDateTime now = context.desktop.clock.now();
    const ExceptionRequest request{program.siteNamed(command, o.one(command, "--site")),
                                   calendarDayOf(from.day), calendarDayOf(to.day),
                                   minutesAt(calendarDayOf(now), now.hour * 60 + now.minute)};
    const std::vector<fs::path> written = createExceptionReport(
        context, request, program.print, {outputs.outDir, false, outputs.csv});
    if (written.empty())
        return 1;
    std::vector<fs::path> shown;
    for (const auto& file : written)
        shown.push_back(outputs.outDir || file == outputs.csv
                            ? file
                            : file.lexically_relative(context.programDir));
    ReportProgram::printPaths(session, shown);
    return 0;
}

int runDownloads(CliSession& session) {
    const std::string command = "report downloads";
    const Options o = parseOptions(command, session.args, 1, {"--site"}, {"--pdf"});
    CliProgram program(session);
    program.loadSettingsAndMessages();
    program.loadSites();
    ProgramContext& context = program.context();
    const std::string& site = o.one(command, "--site");
    const auto position = existingSitePosition(context.sites, site);
    if (!position)
        throw UsageError(command + ": no site named \"" + site + "\"");
    for (const auto& row : FillReportList(context, *context.sites.at(*position), o.has("--pdf")))
        session.out << row.date << '\t' << row.time << '\t' << row.fileName << '\n';
    return 0;
}

} // namespace

int runReportCommand(CliSession& session) {
    const std::string kind = session.args.empty() ? std::string() : session.args.front();
    if (kind == "list")
        return runList(session);
    if (kind == "overview")
        return runOverview(session);
    if (kind == "exceptions")
        return runExceptions(session);
    if (kind == "downloads")
        return runDownloads(session);
    throw UsageError("report: list, overview, exceptions or downloads, not \"" + kind + "\"");
}

int runLogCommand(CliSession& session) {
    const Options o = parseOptions("log", session.args, 0, {"--month", "--csv"}, {});
    const std::vector<LogMonth> months = listLogMonths(session.programDir);
    const auto wanted = o.values.find("--month");
    if (wanted == o.values.end() && !o.has("--csv")) {
        for (const auto& month : months)
            session.out << month.caption << '\t' << month.fileName << '\n';
        return 0;
    }
    std::vector<std::string> names;
    if (wanted != o.values.end()) {
        for (const auto& month : wanted->second) {
            if (month.size() != 6 || month.find_first_not_of("0123456789") != std::string::npos)
                throw UsageError("log: --month takes YYYYMM, not \"" + month + "\"");
            names.push_back("LG" + month + ".txt");
        }
    }
    // The months chosen, in the order of the month list, as the viewer loads them.
    std::vector<LogEntry> entries;
    for (const auto& month : months) {
        const bool chosen = std::any_of(names.begin(), names.end(), [&](const std::string& name) {
            return equalsIgnoreCase(name, month.fileName);
        });
        if (!chosen)
            continue;
        const auto loaded = loadLogEntries(session.programDir, month);
        entries.insert(entries.end(), loaded.begin(), loaded.end());
    }
    for (const auto& name : names) {
        const bool found = std::any_of(months.begin(), months.end(), [&](const LogMonth& m) {
            return equalsIgnoreCase(name, m.fileName);
        });
        if (!found)
            session.err << "log: there is no " << name << '\n';
    }
    for (const auto& entry : entries)
        session.out << entry.dateTime << '\t' << entry.site << '\t' << entry.action << '\n';
    if (o.has("--csv"))
        saveLogExport(fs::absolute(o.one("log", "--csv")), entries);
    return 0;
}

} // namespace kestrova::cli
