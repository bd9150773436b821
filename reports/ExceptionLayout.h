// The exception report laid out as lines, once for both outputs: the text file takes every
// line as it stands; the PDF draws the heading lines in bands and the rows shaded in turn,
// in a fixed-width font so that the columns stay in line as in the text. Standard library and
// core only.
//
//   Exception report by point of data from 2024/03/04 to 2024/03/05
//   Site Settings for North Gate
//   Round time : 015   Rest time : 010
//   :           : Mon : Tue : Wed : Thu : Fri : Sat : Sun :
//   :Start Time :18h00:18h00: ...
//   :Finish Time:06h00:06h00: ...
//     /////////////////////////
//    // Exceptions occuring //
//   /////////////////////////
//    Date      Time   Type           Interval  Point
//    2024/03/04 18:00  Missed Point   01h35     (A1B2C3) Front gate
//   ...
//    Shift                               Made  Required  Share
//    2024/03/04 18:00 - 2024/03/05 06:00  ...
//   Legend ...
#pragma once

#include "core/MessageTable.h"
#include "core/Settings.h"
#include "core/TextFile.h"
#include "reports/ExceptionData.h"

#include <string>
#include <vector>

namespace kestrova {

struct ReportLine {
    enum class Kind {
        Text,    // a line of its own
        Heading, // the heading of the rows that follow
        Row,     // one row under the last heading
    };
    Kind kind = Kind::Text;
    std::string text;

    friend bool operator==(const ReportLine&, const ReportLine&) = default;
};

// "2024/03/05", "18:00" and "01h35" as the report prints them.
std::string reportDate(CalendarDay day);
std::string reportTime(Minutes minute);
std::string reportInterval(int minutes);

// The kind's name: message 99, 100 or 101 without its trailing blanks.
std::string exceptionKindName(ExceptionKind kind, const MessageTable& messages);

// The body of the report, from the range line to the legend. Not for NoDayFiles, which makes
// no report.
std::vector<ReportLine> layoutExceptionReport(const ExceptionReportData& data,
                                              const MessageTable& messages);

// The text file: the ReportHeader line, the body, then the closing lines of every report.
Lines exceptionReportText(const std::vector<ReportLine>& body, const MessageTable& messages,
                          const Settings& settings);

// The range as message 88 words it: "... from 2024/03/04 to 2024/03/05".
std::string exceptionReportTitle(const ExceptionRequest& request, const MessageTable& messages);

} // namespace kestrova
