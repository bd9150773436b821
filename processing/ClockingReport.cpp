// Building one site's clocking report section. Standard library only.
#include "processing/ClockingReport.h"

#include "processing/UploadLine.h"

#include <unordered_map>

namespace kestrova {

namespace {

std::string c(std::string_view line, std::size_t first, std::size_t last) {
    return std::string(columns(line, first, last));
}

std::string dateText(std::string_view line) {
    return "20" + c(line, 13, 14) + "/" + c(line, 15, 16) + "/" + c(line, 17, 18);
}

std::string timeText(std::string_view line) {
    return c(line, 19, 20) + ":" + c(line, 21, 22);
}

std::string padRight(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

class SectionWriter {
public:
    SectionWriter(const ReportRun& run, const SiteSection& section, LocationBook& book,
                  const AppendUnknownCheckpoint& appendUnknown, ReportPdf& pdf)
        : run_(run), section_(section), book_(book), appendUnknown_(appendUnknown), pdf_(pdf),
          m_(run.messages) {}

    Lines write() {
        heading();
        for (const auto& line : section_.bucket)
            clocking(line);
        frequencyReport();
        warnings();
        out_.emplace_back();
        out_.push_back(text(61));
        out_.push_back(text(62) + " " + std::string(kProgramVersion));
        out_.push_back(run_.settings.aboutWeb);
        return std::move(out_);
    }

private:
    std::string text(int number) const { return m_.MessageText(number); }

    void heading() {
        const Settings& s = run_.settings;
        const std::string footer = s.reportFooter + "   Ver " + std::string(kProgramVersion);
        out_.push_back(s.reportHeader);
        out_.emplace_back();
        out_.push_back(text(22) + " " + section_.site);
        out_.emplace_back();
        if (run_.combined) {
            const std::string title = text(171) + " " + s.reportHeader;
            if (section_.firstSection)
                pdf_.beginReport(title, footer, section_.site);
            else
                pdf_.beginSection(title, footer, section_.site);
            out_.push_back(text(45) + " " + run_.uploadTimeText);
            out_.push_back(run_.identText);
            if (run_.sorted)
                out_.push_back(text(46));
        } else {
            out_.push_back(text(21) + " " + run_.uploadTimeText);
            out_.push_back(text(38) + " (" + run_.identText + ")  Ver" + run_.batonVersion);
            pdf_.beginReport(text(170) + " " + s.reportHeader, footer,
                             section_.site + " - (" + run_.identText + ")");
        }
        out_.emplace_back();
        out_.push_back(text(39));
    }

    void clocking(const std::string& line) {
        if (line.size() < kDayFileLength)
            return;
        if (isSpecialRecord(line)) {
            specialRecord(line);
            return;
        }
        const std::string id = c(line, 7, 12);
        Location location;
        if (const auto found = book_.find(id)) {
            location = *found;
        } else {
            location.name =
                std::to_string(book_.nextNumber()) + " " + (id == "000000" ? text(81) : text(23));
            appendUnknown_(id, location.name);
            book_.addToSite(id, location.name);
        }
        if (location.separator && !run_.sorted && !run_.noSeparator && !run_.pointFilter)
            out_.push_back(text(44));

        const HourMarks marks = readHourMarks(line);
        const std::string when = dateText(marks.line) + " " + timeText(marks.line);
        if (marks.angle) {
            out_.push_back(when + "  <" + id + ">   " + location.name);
            out_.push_back(text(82));
        } else if (marks.bracket) {
            out_.push_back(when + "  [" + id + "]   " + location.name);
        } else {
            pdf_.addClocking(dateText(marks.line), timeText(marks.line), location.name,
                             location.separator && !run_.sorted);
            out_.push_back(when + "  (" + id + ")   " + location.name);
        }
    }

    // The minute byte of a special record carries bit 7: its first digit, less 8, is the tens.
    void specialRecord(const std::string& line) {
        static constexpr std::string_view hex = "0123456789ABCDEF";
        const auto minute = minuteValue(line).value_or(0x80);
        out_.push_back(text(44));
        out_.push_back(dateText(line) + " " + c(line, 19, 20) + ":" +
                       hex[static_cast<std::size_t>((minute >> 4) - 8)] + c(line, 22, 22) + "  " +
                       text(38) + " (" + c(line, 9, 12) + ")");
        out_.push_back(text(44));
    }

    void frequencyReport() {
        if (!run_.settings.generateFrequencyReport || run_.pointFilter)
            return;
        std::unordered_map<std::string, std::int64_t> counts;
        for (const auto& line : section_.bucket) {
            if (const auto id = clockingId(line))
                ++counts[std::string(*id)];
        }
        const auto countOf = [&](const std::string& id) {
            const auto found = counts.find(id);
            return found == counts.end() ? std::int64_t{0} : found->second;
        };
        const auto frequencyLine = [](std::int64_t count, const LocationEntry& entry) {
            return padRight(std::to_string(count), 11) + "(" + entry.id + ")   " + entry.name;
        };

        out_.emplace_back();
        out_.emplace_back();
        out_.push_back(text(24));
        out_.emplace_back();
        out_.push_back(text(25));
        std::int64_t total = 0;
        std::vector<std::string> names;
        std::vector<std::string> countTexts;
        for (const auto& entry : book_.siteEntries()) {
            const std::int64_t count = countOf(entry.id);
            out_.push_back(frequencyLine(count, entry));
            names.push_back(entry.name);
            countTexts.push_back(std::to_string(count));
            total += count;
        }
        pdf_.addFrequencyTable(text(24), text(152), text(153), names, countTexts);
        if (book_.common()) {
            for (const auto& entry : book_.common()->entries) {
                const std::int64_t count = countOf(entry.id);
                if (count <= 0)
                    continue;
                out_.push_back(frequencyLine(count, entry));
                total += count;
            }
        }
        out_.push_back("-----------");
        out_.push_back(std::to_string(total));
    }

    void warnings() {
        const bool wrap = run_.outOfSequence == 1 && run_.matched > 4000;
        if (section_.corruptCount <= 0 && !wrap && run_.outOfSequence <= 0)
            return;
        out_.emplace_back();
        out_.emplace_back();
        out_.push_back(" " + text(72));
        out_.emplace_back();
        pdf_.addText("");
        pdf_.addText(text(72));
        const auto warn = [&](const std::string& line) {
            out_.push_back(line);
            pdf_.addText(line);
        };
        if (section_.corruptCount > 0)
            warn(std::to_string(section_.corruptCount) + " " + text(26));
        if (wrap) {
            for (const int number : {154, 155, 156})
                warn(text(number));
        } else if (run_.outOfSequence > 0) {
            for (const int number : {157, 158})
                warn(text(number));
        }
    }

    static constexpr std::size_t kDayFileLength = 22;

    const ReportRun& run_;
    const SiteSection& section_;
    LocationBook& book_;
    const AppendUnknownCheckpoint& appendUnknown_;
    ReportPdf& pdf_;
    const MessageTable& m_;
    Lines out_;
};

} // namespace

Lines buildSiteReport(const ReportRun& run, const SiteSection& section, LocationBook& book,
                      const AppendUnknownCheckpoint& appendUnknown, ReportPdf& pdf) {
    return SectionWriter(run, section, book, appendUnknown, pdf).write();
}

} // namespace kestrova
