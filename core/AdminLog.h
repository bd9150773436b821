// The administration log: one file per month ("LG<yyyymm>.txt"), one appended line per change of
// sites, checkpoints, settings or baton programming. Standard library only.
#pragma once

#include <filesystem>
#include <mutex>
#include <string>

namespace kestrova {

class Clock;
struct LocalDateTime;

class AdminLog {
public:
    AdminLog(std::filesystem::path programDir, const Clock& clock);

    // Appends "<time>","<site>","<action>" to the current month's file.
    void WriteAdminLog(const std::string& site, const std::string& action);

    // The month file for a moment: LG, four-digit year, two-digit month, ".txt".
    std::filesystem::path fileFor(const LocalDateTime& time) const;

private:
    std::filesystem::path programDir_;
    const Clock& clock_;
    std::mutex mutex_;
};

// The entry's time field: yyyy/mm/dd hh:nn.ss.
std::string adminLogTime(const LocalDateTime& time);

} // namespace kestrova
