// The rules that tie the Reports window's controls together, as plain functions over the
// window's selection: the kind rule, the date/time rule, the layout toggle and the coupling of
// the hour sliders with the time fields. Each returns (or updates) the state of every control
// it governs; the window only applies it. Standard library and core only.
#pragma once

#include "core/MessageTable.h"
#include "reports/ReportRequest.h"

#include <optional>
#include <string>

namespace kestrova {

struct ControlState {
    bool enabled = true;
    bool visible = true;
    friend bool operator==(const ControlState&, const ControlState&) = default;
};

// What the user has chosen; it stays from one showing of the window to the next.
struct ReportSelection {
    ReportKind kind = ReportKind::Overview;
    Shift shift = Shift::Night;
    LocalDateTime fromDate;         // MonthCalendar1
    LocalDateTime toDate;           // MonthCalendar2
    std::string fromTime = "12h00"; // MaskEdit1
    std::string toTime = "12h00";   // MaskEdit2
    int fromHour = 12;              // TrackBar1
    int toHour = 12;                // TrackBar2
    bool pdfOption = true;          // CheckBox4
    bool pointFilter = false;       // CheckBox2
    bool sortOption = true;         // CheckBox1
    bool advanced = false;          // GroupBox4 shown
};

// Yesterday to today, noon to noon, the overview of the night shift, simple layout.
ReportSelection initialSelection(const LocalDateTime& today);

// The controls the rules govern, by their form names.
struct ReportControls {
    std::string button2Caption;  // Button2
    std::string button1Caption;  // Button1
    ControlState advancedButton; // Button1
    bool advancedGroup = false;  // GroupBox4
    ControlState separator;      // ComboBox2 and Label35
    ControlState pointFilter;    // CheckBox2
    ControlState pointSelector;  // ComboBox1 and Label4
    ControlState sortOptions;    // CheckBox1 and CheckBox3 "Remove duplicates"
    ControlState pdfOption;      // CheckBox4
    ControlState shiftButtons;   // RadioButton4, RadioButton5
    ControlState downloadList;   // ListView1
    ControlState fromDate;       // MonthCalendar1 and its label Label1
    ControlState toDate;         // MonthCalendar2 and Label2
    ControlState times;          // MaskEdit1, MaskEdit2
    ControlState sliders;        // TrackBar1, TrackBar2
    std::string label2Text;      // Label2
    // CheckBox4 stands under the download list instead of in the advanced group: report by
    // download keeps the simple layout, and its list shows ".pdf" or ".txt" reports as the
    // option says, so the option has to be seen and reachable there.
    bool pdfOptionWithList = false;
    // The fourth kind, "Exception Report" (RadioButton6), and "Save as CSV" (Button3): both
    // belong to the advanced layout.
    ControlState exceptionKind{};
    ControlState saveCsv{};

    friend bool operator==(const ReportControls&, const ReportControls&) = default;
};

// The kind rule. The exception kind exists in the advanced layout only: in the simple layout
// it falls back to the clocking list. Changes the selection as the rule asks (the PDF option from
// SecureReports or checked for the overview, the simple layout for report by download, the
// date/time rule for the overview) and returns the controls. `previous` keeps what the rule leaves
// alone (the to-date label of report by download).
ReportControls kindRule(ReportSelection& selection, const MessageTable& messages,
                        bool secureReports, const ReportControls& previous);

// The date/time rule (shift buttons, calendars, overview kind).
void dateTimeRule(ReportSelection& selection);

// Advanced toggled: the group shown or hidden, then the kind rule.
ReportControls layoutToggle(ReportSelection& selection, const MessageTable& messages,
                            bool secureReports, const ReportControls& previous);

// TrackBar moved: "%.2dh" of the position and the minutes of the current text.
std::string timeForSlider(int position, const std::string& currentTime);
// Time edited: the hour of the text, kept to 0-23; none (the slider stays) when the first two
// characters are not a decimal number.
std::optional<int> sliderForTime(const std::string& timeText);

// The report range the selection asks for.
ReportRange selectionRange(const ReportSelection& selection);

} // namespace kestrova
