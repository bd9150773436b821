// The message table's storage and its English defaults for entries 1 to 114. The defaults are
// quoted exactly, spaces included: several of them are glued to other text or sit in fixed
// report columns. Standard library only.
#include "core/MessageTable.h"

#include <mutex>
#include <stdexcept>

namespace kestrova {

namespace {

constexpr int kLastDefault = 114;
// Entries that start-up clears explicitly after the defaults; their texts come only from the
// language file.
constexpr int kFirstCleared = 115;
constexpr int kLastCleared = 120;

// Entries 30 and 31 have no default (null here): only the language file fills them, and
// nobody reads them, so the defaults leave them as they are.
constexpr const char* kDefaults[kLastDefault] = {
    "Initializing please wait...",                                             // 1
    "New Site",                                                                // 2
    "Enter in the New Site Name",                                              // 3
    "Kestrova uploader",                                                       // 4
    "Upload cable Not Found",                                                  // 5
    "Ensure that the Kestrova Baton is NOT on the Upload station",             // 6
    "Consult the help file for further information",                           // 7
    "Looking for Kestrova...",                                                 // 8
    "Version :",                                                               // 9
    "Id :",                                                                    // 10
    "Setting Clock",                                                           // 11
    "Communicating with Kestrova",                                             // 12
    "Date :",                                                                  // 13
    "Time :",                                                                  // 14
    "Setting Kestrova Id Number",                                              // 15
    "Downloading Data",                                                        // 16
    "Clearing memory",                                                         // 17
    "The Recently uploaded data file has Not been processed",                  // 18
    "Would you like to process it now",                                        // 19
    "Could Not Create the new site",                                           // 20
    "Report of Kestrova data uploaded",                                        // 21
    "Site :",                                                                  // 22
    "Unknown checkpoint",                                                      // 23
    "Frequency Report :",                                                      // 24
    "Frequency  Id Number  Name",                                              // 25
    "Corupt Records Discarded",                                                // 26
    "Are you sure you want to delete the selected Log File/s",                 // 27
    "Delete",                                                                  // 28
    "Are you sure you want to delete the selected item(s)",                    // 29
    nullptr,                                                                   // 30
    nullptr,                                                                   // 31
    "If the checkpoints are to be placed in an",                               // 32
    "existing site select the apropriate site",                                // 33
    "and then click Ok",                                                       // 34
    "New IdButton",                                                            // 35
    "Enter in the New 6 Digit Id Number",                                      // 36
    "Processing Data...",                                                      // 37
    "From Unit",                                                               // 38
    "Date       Time   Id Number  Location",                                   // 39
    "WARNING!!!",                                                              // 40
    "Data will not be uploaded and might be lost",                             // 41
    "There are no checkpoints in the site",                                    // 42
    "Round trip time must be in intervals of 15 minutes",                      // 43
    "----------",                                                              // 44
    "Report of Kestrova Data processed on",                                    // 45
    "Sorted by Id Number",                                                     // 46
    "From",                                                                    // 47
    "to",                                                                      // 48
    "Could not open the port after id buton read",                             // 49
    "No Date Contained in device ?",                                           // 50
    "No Time Contained in device ?",                                           // 51
    "Patrol Start Time",                                                       // 52
    "Patrol Finish time",                                                      // 53
    "Rest Time in Minutes",                                                    // 54
    "Number of batons",                                                        // 55
    "&Add",                                                                    // 56
    "&Rename",                                                                 // 57
    "Missing Wav File \"done.wav\"",                                           // 58
    " Possible added point tampering",                                         // 59
    "Possible data tampering (?)",                                             // 60
    "End of File",                                                             // 61
    "Report compiled by Kestrova uploader Ver ",                               // 62
    "Deleting Files (Moving to Recycle Bin)",                                  // 63
    "Check Point List for ",                                                   // 64
    "Printed on ",                                                             // 65
    "at ",                                                                     // 66
    "Id     | Name",                                                           // 67
    "MissingLine",                                                             // 68
    "ExtraLine",                                                               // 69
    "New Date and time has been set",                                          // 70
    "Writing to Baton",                                                        // 71
    " Warnings ",                                                              // 72
    "Report has",                                                              // 73
    "Possible added point tampering",                                          // 74
    "Possible deleted point tampering",                                        // 75
    "Possible data tampering",                                                 // 76
    "Report has Warnings",                                                     // 77
    "Secure Reporting",                                                        // 78
    "&Print",                                                                  // 79
    "&Close",                                                                  // 80
    "------ Baton Uploaded ------",                                            // 81
    "============================================================",            // 82
    "does not belong in the directory",                                        // 83
    "none",                                                                    // 84
    "Simple <<",                                                               // 85
    "Advanced >>",                                                             // 86
    "The program needs to be closed and restarted for changes to take effect", // 87
    "Exception report by point of data from",                                  // 88
    "Site Settings for",                                                       // 89
    "Round time",                                                              // 90
    "Rest time",                                                               // 91
    ":           : Mon : Tue : Wed : Thu : Fri : Sat : Sun :",                 // 92
    ":Start Time :",                                                           // 93
    ":Finish Time:",                                                           // 94
    "  /////////////////////////",                                             // 95
    " // Exceptions occuring //",                                              // 96
    "/////////////////////////",                                               // 97
    " Date      Time   Type           Interval  Point",                        // 98
    "Shift not done",                                                          // 99
    "Failed Patrol",                                                           // 100
    "Missed Point   ",                                                         // 101
    "      !!!! No Exceptions Found !!!!",                                     // 102
    "Legend",                                                                  // 103
    "No clockings were found during this shift",                               // 104
    "Less than half the required clocking were clocked",                       // 105
    "The times between the clocking of this point are",                        // 106
    "longer than the Round time and Rest time",                                // 107
    "Initializing please wait  (Checking for Cable)",                          // 108
    "Initializing please wait  (Checking Port",                                // 109
    "Initializing please wait  (Checking for Tavlo2)",                         // 110
    "Initializing please wait  (Starting Program)",                            // 111
    "Charging",                                                                // 112
    "Site could not be removed",                                               // 113
    "Download Complete",                                                       // 114
};

bool inTable(int number) {
    return number >= 1 && number <= MessageTable::kCount;
}

} // namespace

MessageTable::MessageTable(const MessageTable& other) {
    const std::shared_lock lock(other.mutex_);
    texts_ = other.texts_;
}

MessageTable& MessageTable::operator=(const MessageTable& other) {
    if (this != &other) {
        const std::scoped_lock lock(mutex_, other.mutex_);
        texts_ = other.texts_;
    }
    return *this;
}

std::string MessageTable::MessageText(int number) const {
    const std::shared_lock lock(mutex_);
    return inTable(number) ? texts_[static_cast<std::size_t>(number)] : std::string();
}

void MessageTable::setText(int number, std::string text) {
    // A number outside 1..200 is a programming error; writing it nowhere would hide the bug.
    if (!inTable(number))
        throw std::out_of_range("message number " + std::to_string(number) + " outside 1.." +
                                std::to_string(kCount));
    const std::unique_lock lock(mutex_);
    texts_[static_cast<std::size_t>(number)] = std::move(text);
}

void MessageTable::SetDefaultMessages() {
    for (int number = 1; number <= kLastDefault; ++number) {
        if (const char* text = kDefaults[number - 1])
            setText(number, text);
    }
    for (int number = kFirstCleared; number <= kLastCleared; ++number)
        setText(number, std::string());
}

std::vector<std::string> MessageTable::range(int first, int last) const {
    std::vector<std::string> texts;
    if (last < first)
        return texts;
    texts.reserve(static_cast<std::size_t>(last - first + 1));
    for (int number = first; number <= last; ++number)
        texts.push_back(MessageText(number));
    return texts;
}

} // namespace kestrova
