#include "reports/tests/ExceptionFixture.h"

#include "core/TextFile.h"
#include "processing/DayFiles.h"

#include <map>

namespace kestrova::testing {
namespace fs = std::filesystem;

ScheduleValues sampleSchedule() {
    ScheduleValues v;
    v[kRoundTime] = "015";
    v[kRestTime] = "015";
    v[kNumBatons] = "1";
    v[kFailedPatrolType] = "1";
    const std::vector<std::pair<std::string, std::string>> days = {
        {"09h00", "12h00"}, {"09h00", "12h00"}, {"20h00", "02h00"}, {"09h00", "12h00"},
        {"09h00", "12h00"}, {"10h00", "11h00"}, {"0", "0"}};
    for (std::size_t d = 0; d < days.size(); ++d) {
        v[kFirstDayTime + 2 * d] = days[d].first;
        v[kFirstDayTime + 2 * d + 1] = days[d].second;
    }
    return v;
}

std::string pointId(int k) {
    return "AAAAA" + std::to_string(k);
}

ExceptionSiteDir::ExceptionSiteDir() = default;

void ExceptionSiteDir::addSite(const std::string& site, int checkpoints,
                               const ScheduleValues& schedule) {
    fs::create_directories(programDir() / site / "Raw");
    std::vector<Checkpoint> list;
    for (int k = 1; k <= checkpoints; ++k)
        list.push_back({pointId(k), '=', "Point " + std::to_string(k)});
    SaveCheckpointList(programDir(), site, list, schedule);
}

void ExceptionSiteDir::addClockings(const std::string& site,
                                    const std::vector<std::string>& clockings) {
    std::map<std::string, Lines> byDate;
    for (const auto& c : clockings) {
        const std::string date = c.substr(0, 6), time = c.substr(7, 4);
        std::string id = c.substr(12);
        if (id.size() < 6)
            id = pointId(std::stoi(id));
        byDate[date].push_back("000000" + id + date + time);
    }
    for (const auto& [date, lines] : byDate)
        appendToFile(programDir() / site / "Raw" / (date + ".txt"), joinLines(lines));
}

void ExceptionSiteDir::addEmptyDay(const std::string& site, const std::string& date) {
    createEmptyFileIfMissing(programDir() / site / "Raw" / (date + ".txt"));
}

ExceptionReportData ExceptionSiteDir::load(const std::string& site, const std::string& first,
                                           const std::string& last, const std::string& now) const {
    return loadExceptionReport(programDir(),
                               {site, dayFromText(first), dayFromText(last), minutesFromText(now)});
}

CalendarDay dayFromText(const std::string& t) {
    return makeDay(2000 + std::stoi(t.substr(0, 2)), std::stoi(t.substr(2, 2)),
                   std::stoi(t.substr(4, 2)));
}

Minutes minutesFromText(const std::string& t) {
    return minutesAt(dayFromText(t), std::stoi(t.substr(7, 2)) * 60 + std::stoi(t.substr(9, 2)));
}

MessageTable defaultMessages() {
    MessageTable m;
    m.SetDefaultMessages();
    return m;
}

} // namespace kestrova::testing
