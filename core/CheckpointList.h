// The checkpoint list file "checkpt.lst" of a site: its checkpoints (id, mark, location name)
// and the eighteen values of its failed-patrol schedule. This is the one place that knows the
// layout and the rules by which every reader takes it apart. Standard library only.
//
//   //Checkpoint list for <site>
//   <empty>
//   A1B2C3 = Front gate            id in columns 1-6, mark in column 8, name from column 10
//   D4E5F6 # Back gate             "#" marks the patrol separator
//   <empty>                        any line of 9 characters or fewer ends the section
//   Round Time  = 015              eighteen schedule lines, each value from column 15
//   ...
//   <empty>
//   //End of File
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

inline constexpr std::string_view kCheckpointListName = "checkpt.lst";
inline constexpr char kOrdinaryMark = '=';
inline constexpr char kSeparatorMark = '#';

struct Checkpoint {
    std::string id; // six characters
    char mark = kOrdinaryMark;
    std::string name; // location name

    friend bool operator==(const Checkpoint&, const Checkpoint&) = default;
};

// The schedule values in file order: round time, rest time, number of batons, failed-patrol
// type, then start and finish time for Monday to Sunday.
inline constexpr std::size_t kScheduleValueCount = 18;
using ScheduleValues = std::array<std::string, kScheduleValueCount>;

enum ScheduleField : std::size_t {
    kRoundTime = 0,
    kRestTime = 1,
    kNumBatons = 2,
    kFailedPatrolType = 3,
    kFirstDayTime = 4, // ST Mon; day d (0 = Monday) starts at 4 + 2d, finishes at 5 + 2d
};

// The fourteen-character keys of the schedule lines, in file order.
const std::array<std::string_view, kScheduleValueCount>& scheduleKeys();

struct CheckpointListContents {
    std::vector<Checkpoint> checkpoints;
    ScheduleValues schedule; // raw values, "0" where the file had none
};

enum class EmptyListForm {
    NamedForSite, // header names the site, "//End of File"
    Generic,      // "//Checkpoint list for Kestrova", "//End of file"
};

// The site's list file, found without regard to the case of its name.
std::filesystem::path checkpointListPath(const std::filesystem::path& programDir,
                                         const std::string& site);
bool checkpointListExists(const std::filesystem::path& programDir, const std::string& site);

CheckpointListContents LoadCheckpointList(const std::filesystem::path& programDir,
                                          const std::string& site);

// Reads only the checkpoint section of a file (the readers of processing and the reports).
std::vector<Checkpoint> readCheckpointSection(const std::vector<std::string>& lines);

// The editor's normalisation of the raw values: three-digit minutes, one-character batons and
// type, and "hh" + "h" + "nn" times (blank times become "00h00").
ScheduleValues normaliseSchedule(const ScheduleValues& raw);

// The failed-patrol type index from the schedule's first character; ConversionError when it is
// not a digit.
int failedPatrolTypeIndex(const ScheduleValues& values);

void SaveCheckpointList(const std::filesystem::path& programDir, const std::string& site,
                        const std::vector<Checkpoint>& checkpoints, const ScheduleValues& schedule);

void CreateEmptyCheckpointList(const std::filesystem::path& programDir, const std::string& site,
                               EmptyListForm form);

// Inserts "<id> = <name>" after the last checkpoint, through "checkpt.$$$" in the program
// directory.
void AppendCheckpoint(const std::filesystem::path& programDir, const std::string& site,
                      const std::string& id, const std::string& name);

// The ids for the site checkpoint index: the first six characters of every line after the
// header while the line is longer than five characters.
std::vector<std::string> ReadCheckpointIds(const std::filesystem::path& programDir,
                                           const std::string& site);

// A checkpoint line as every writer forms it. An empty name is stored as one space, so the line
// stays longer than nine characters and no reader takes it for the end of the section.
std::string checkpointLine(const std::string& id, char mark, const std::string& name);

} // namespace kestrova
