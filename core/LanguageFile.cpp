// Loading language files, and the line table that says what each of the 347 lines feeds.
// Standard library only.
#include "core/LanguageFile.h"

#include "core/FileNames.h"
#include "core/TextFile.h"

#include <algorithm>
#include <array>

namespace kestrova {

namespace {

constexpr std::array kMessageLines = std::to_array<LanguageMessageLines>({
    {1, 34, 1},      {44, 44, 173},   {61, 61, 145},   {74, 74, 56},    {91, 95, 35},
    {97, 98, 40},    {103, 104, 52},  {107, 108, 42},  {110, 114, 44},  {120, 120, 172},
    {122, 124, 49},  {141, 142, 54},  {143, 163, 57},  {171, 173, 78},  {175, 207, 81},
    {251, 251, 148}, {253, 253, 147}, {286, 316, 114}, {317, 317, 146}, {318, 333, 149},
    {340, 346, 165}, {347, 347, 174},
});

constexpr int kWhole = CaptionKey::kWhole;

// Columns of list views keep their own index; items, tabs and memo lines are numbered from 0
// here ("item 1" of a combo box is index 0).
constexpr std::array kCaptionLines = std::to_array<LanguageCaptionLine>({
    {35, "TfrmMain", "GroupBox1", kWhole, "Kestrova Information"},
    {36, "TfrmMain", "lblID", kWhole, "Id : "},
    {37, "TfrmMain", "lblVer", kWhole, "Version : "},
    {38, "TfrmMain", "lblDate", kWhole, "Date : "},
    {39, "TfrmMain", "lblTime", kWhole, "Time : "},
    {40, "TfrmMain", "GroupBox3", kWhole, "Status"},
    {43, "TfrmMain", "File1", kWhole, "File"},
    {44, "TfrmMain", "Open1", kWhole, "&Open Report"},
    {45, "TfrmMain", "Import1", kWhole, "&Import"},
    {46, "TfrmMain", "Exit1", kWhole, "E&xit"},
    {47, "TfrmMain", "Setup1", kWhole, "Setup"},
    {48, "TfrmMain", "Preferences1", kWhole, "&Preferences"},
    {48, "TfrmMain", "Label6", kWhole, "&Preferences"},
    {48, "TfrmPref", "", kWhole, "&Preferences"},
    {49, "TfrmPref", "CheckBox1", kWhole, "Update Kestrova Date/Time Automatically"},
    {50, "TfrmPref", "CheckBox3", kWhole, "Clear Kestrova Memory after upload"},
    {51, "TfrmPref", "CheckBox4", kWhole, "Generate Frequency Report"},
    {52, "TfrmPref", "CheckBox5", kWhole, "Open Reports after processing"},
    {53, "TfrmMain", "Checkpoints1", kWhole, "&Checkpoints"},
    {53, "TfrmMain", "Label7", kWhole, "&Checkpoints"},
    {54, "TfrmMain", "SiteSetup1", kWhole, "&Add New Site"},
    {56, "TfrmMain", "IdNumber1", kWhole, "&Id Number"},
    {57, "TfrmPref", "Label2", kWhole, "Change Language"},
    {58, "TfrmMain", "Help1", kWhole, "Help"},
    {58, "TfrmMain", "Label2", kWhole, "Help"},
    {59, "TfrmMain", "Index1", kWhole, "&Index"},
    {60, "TfrmMain", "search1", kWhole, "&Topics"},
    {61, "TfrmMain", "About1", kWhole, "&About"},
    {63, "TfrmIdNum", "Label1", kWhole, "The New Id Number must be four digits"},
    {64, "TfrmIdNum", "", kWhole, "Enter in Id Number to set"},
    {65, "TfrmIdNum", "btnOk", kWhole, "&Ok"},
    {66, "TfrmIdNum", "Button1", kWhole, "&Cancel"},
    {67, "TfrmOpen", "", kWhole, "Open Report file"},
    {68, "TfrmOpen", "Label3", kWhole, "Site Name"},
    {69, "TfrmOpen", "btnDelete", kWhole, "&Delete"},
    {70, "TfrmOpen", "btnView", kWhole, "&View"},
    {71, "TfrmOpen", "ListView1", 0, "Date"},
    {72, "TfrmOpen", "ListView1", 1, "Time"},
    {74, "Tfrmpoints", "btnAdd", kWhole, "&Add"},
    {74, "Tfrmpoints", "Add1", kWhole, "&Add"},
    {74, "Tfrmpoints", "Add2", kWhole, "&Add"},
    {75, "Tfrmpoints", "btnDeleate", kWhole, "&Delete"},
    {75, "Tfrmpoints", "Delete1", kWhole, "&Delete"},
    {75, "Tfrmpoints", "Delete2", kWhole, "&Delete"},
    {76, "Tfrmpoints", "Label3", kWhole, " wish to work with"},
    {76, "TfrmFPSetup", "Label3", kWhole, " wish to work with"},
    {77, "Tfrmpoints", "ListView", 1, "Id Number"},
    {78, "Tfrmpoints", "ListView", 2, "Location Name"},
    {82, "TfrmFPSetup", "Button1", kWhole, "&Ok"},
    {82, "TfrmInputBox", "Button1", kWhole, "&Ok"},
    {82, "TfrmPref", "Button1", kWhole, "&Ok"},
    {83, "TfrmUnknownP", "", kWhole, "Unknown checkpoints"},
    {84, "TfrmUnknownP", "Label1", kWhole, "Unknown checkpoints have been found"},
    {85, "TfrmUnknownP", "Label2", kWhole, "What must be done with them?"},
    {86, "TfrmUnknownP", "RadioButton1", kWhole, "Place in existing site"},
    {87, "TfrmUnknownP", "RadioButton2", kWhole, "Place unknown checkpoints in new site"},
    {88, "TfrmUnknownP", "RadioButton3", kWhole, "Ignore unknown checkpoints"},
    {88, "TfrmPref", "CheckBox6", kWhole, "Ignore unknown checkpoints"},
    {90, "TfrmMain", "OpenDialog1", kWhole, "Open file to be processed"},
    {91, "TfrmInputBox", "", kWhole, "frmInputBox"},
    {92, "TfrmInputBox", "Label1", kWhole, "ReadIn Id Button"},
    {96, "TfrmPref", "CheckBox2", kWhole, "Upload Data from Kestrova Baton"},
    {97, "TfrmSiteDel", "Label1", kWhole, "!!! WARNING !!!"},
    {99, "TfrmFPSetup", "", kWhole, "Setup the failed patrol"},
    {100, "TfrmMain", "FailedPatrol1", kWhole, "Failed Patrol"},
    {101, "TfrmFPSetup", "Label5", -1,
     "This is used to setup the failed patrol system. For more information on programming the "
     "failed patrol consult the help file"},
    {102, "TfrmFPSetup", "Label1", kWhole, "Patrol Round Time in minutes"},
    {103, "TfrmFPSetup", "Label2", kWhole, "Patrol Start Time"},
    {104, "TfrmFPSetup", "Label4", kWhole, "Patrol Finish time"},
    {105, "TfrmFPSetup", "Label6", -1,
     "WARNING : pressing OK will erase all information in the Kestrova baton"},
    {106, "TfrmFPSetup", "Button2", kWhole, "&Cancel"},
    {106, "TfrmInputBox", "Button2", kWhole, "&Cancel"},
    {113, "TfrmNew", "Label5", kWhole, "from"},
    {115, "TfrmNew", "", kWhole, "Reports"},
    {115, "TfrmMain", "Label8", kWhole, "Reports"},
    {116, "TfrmNew", "Label1", kWhole, "Select the date and time of the report"},
    {118, "TfrmNew", "CheckBox1", kWhole, "Sort by checkpoints"},
    {120, "TfrmNew", "Button2", kWhole, "Create/Open"},
    {121, "TfrmPref", "Button2", kWhole, "&Cancel"},
    {121, "TfrmSiteDel", "Button1", kWhole, "&Cancel"},
    {134, "TfrmNew", "CheckBox3", kWhole, "Remove duplicates"},
    {135, "TfrmNew", "CheckBox1", kWhole, "Sort by checkpoints"},
    {136, "TfrmNew", "CheckBox2", kWhole, "Point filter"},
    {137, "TfrmNew", "Label4", kWhole, "Point Selector"},
    {138, "TfrmMain", "Label4", kWhole, "No Data in Kestrova"},
    {139, "TfrmFPSetup", "TabControl1", 0, "Single Baton FP (Fenric A)"},
    {140, "TfrmFPSetup", "TabControl1", 1, "Multiple Baton FP (Fenric B)"},
    {142, "Tfrmpoints", "Label10", kWhole, "Number of Batons"},
    {164, "TfrmNew", "Label6", kWhole, "Secure reporting is off"},
    {165, "TfrmPref", "CheckBox8", kWhole, "Create Secure Reports"},
    {166, "TfrmPref", "CheckBox7", kWhole, "Remove Duplicate Checkpoints"},
    {167, "TfrmPref", "Label1", kWhole, "Report Header / Company Name"},
    {168, "TfrmPref", "GroupBox1", kWhole, "Kestrova Uploader Control"},
    {169, "TfrmPref", "GroupBox2", kWhole, "Reporting features"},
    {170, "Tfrmpoints", "Button1", kWhole, "&View List"},
    {174, "TfrmNew", "Panel1", kWhole, "Working please wait..."},
    {208, "TfrmSiteDel", "Memo1", 0, "You are atempting to remove a site "},
    {209, "TfrmSiteDel", "Memo1", 1, "which has valid data. If you are sure "},
    {210, "TfrmSiteDel", "Memo1", 2, "you want to do this please type the "},
    {211, "TfrmSiteDel", "Memo1", 3, "name of the site you wish to delete in "},
    {212, "TfrmSiteDel", "Memo1", 4, "the box below and press Enter."},
    {213, "TfrmSiteDel", "", kWhole, "Delete a Site"},
    {214, "Tfrmpoints", "", kWhole, "Setup the check points"},
    {215, "Tfrmpoints", "GroupBox1", kWhole, "Step 1"},
    {215, "TfrmNew", "GroupBox7", kWhole, "Step 1"},
    {216, "Tfrmpoints", "GroupBox2", kWhole, "Step 2"},
    {216, "TfrmNew", "GroupBox2", kWhole, "Step 2"},
    {217, "Tfrmpoints", "GroupBox3", kWhole, "Step 3"},
    {217, "TfrmNew", "GroupBox3", kWhole, "Step 3"},
    {218, "Tfrmpoints", "Label1", kWhole, "Chose the site you"},
    {219, "Tfrmpoints", "Label3", kWhole, " wish to work with"},
    {219, "TfrmNew", "Label20", kWhole, " wish to work with"},
    {220, "Tfrmpoints", "Label2", kWhole, "or"},
    {221, "Tfrmpoints", "Label4", kWhole, "Select the point you want to work with"},
    {222, "Tfrmpoints", "Label5", kWhole, "Select site specific options"},
    {223, "Tfrmpoints", "Label6", kWhole, "Patrol Seperator"},
    {224, "Tfrmpoints", "Label7", kWhole, "Patrol Round Time in minutes"},
    {225, "Tfrmpoints", "Label8", kWhole, "Patrol Start Time"},
    {226, "Tfrmpoints", "Label9", kWhole, "Patrol Finish time"},
    {227, "Tfrmpoints", "Label11", kWhole, "Patrol Rest Time in minutes"},
    {228, "Tfrmpoints", "Label12", kWhole, "Failed Patrol type"},
    {229, "Tfrmpoints", "Label13", -1,
     "Warning : Items in red cannot be programmed for the selected failed patrol unit"},
    {230, "Tfrmpoints", "Label14", kWhole, "Patrol Time Window"},
    {231, "Tfrmpoints", "Label15", kWhole, "Monday"},
    {232, "Tfrmpoints", "Label16", kWhole, "Tuesday"},
    {233, "Tfrmpoints", "Label17", kWhole, "Wednsday"},
    {234, "Tfrmpoints", "Label18", kWhole, "Thursday"},
    {235, "Tfrmpoints", "Label19", kWhole, "Friday"},
    {236, "Tfrmpoints", "Label20", kWhole, "Saterday"},
    {237, "Tfrmpoints", "Label21", kWhole, "Sunday"},
    {238, "Tfrmpoints", "Button1", kWhole, "&View List"},
    {238, "Tfrmpoints", "ViewList1", kWhole, "&View List"},
    {239, "Tfrmpoints", "Button2", kWhole, "Create a New site"},
    {240, "Tfrmpoints", "Button3", kWhole, "Move &Up"},
    {240, "Tfrmpoints", "MoveUp1", kWhole, "Move &Up"},
    {241, "Tfrmpoints", "Button4", kWhole, "Move D&own"},
    {241, "Tfrmpoints", "MoveDown1", kWhole, "Move D&own"},
    {242, "Tfrmpoints", "Button5", kWhole, "Program Next Baton"},
    {243, "Tfrmpoints", "Button6", kWhole, "AutoCorrect"},
    {244, "Tfrmpoints", "Button8", kWhole, "All Days the Same"},
    {245, "Tfrmpoints", "Button9", kWhole, "24 Hour Patrols"},
    {246, "Tfrmpoints", "Button10", kWhole, "&Back"},
    {247, "Tfrmpoints", "ComboBox2", 0, "none"},
    {248, "Tfrmpoints", "ComboBox2", 1, "Single Baton"},
    {249, "Tfrmpoints", "ComboBox2", 2, "Multiple Baton"},
    {250, "TfrmNew", "Label1", kWhole, "Select the date and time of the report"},
    {252, "TfrmNew", "Label4", kWhole, "Point Selector"},
    {253, "TfrmNew", "Label5", kWhole, "from"},
    {255, "TfrmNew", "Label34", kWhole, "report to create"},
    {256, "TfrmNew", "Label9", kWhole, "Patrol Round Time :"},
    {257, "TfrmNew", "Label10", kWhole, "Start Time :"},
    {258, "TfrmNew", "Label11", kWhole, "Patrol Rest Time :"},
    {259, "TfrmNew", "Label12", kWhole, "Finish time :"},
    {260, "TfrmNew", "Label13", kWhole, "Number of Batons :"},
    {261, "TfrmNew", "Label15", kWhole, "Amount of points :"},
    {262, "TfrmNew", "Label16", kWhole, "Patrol Time Window"},
    {263, "TfrmNew", "Label17", kWhole, "Some of these settings can be modified by clicking here"},
    {265, "TfrmNew", "Label19", kWhole, "Create your report"},
    {266, "TfrmNew", "Label21", kWhole, "Site Information"},
    {267, "TfrmNew", "Label22", kWhole, "Report of data by "},
    {268, "TfrmNew", "Label23", kWhole, "Batons downloaded"},
    {269, "TfrmNew", "Label24", kWhole, "Report of data from"},
    {270, "TfrmNew", "Label25", kWhole, "and to custom dates"},
    {271, "TfrmNew", "Label26", kWhole, "Exception report useing"},
    {272, "TfrmNew", "Label27", kWhole, "site information"},
    {273, "TfrmNew", "Label35", kWhole, "Patrol Seperator :"},
    {274, "TfrmNew", "Label37", kWhole, "Mon"},
    {275, "TfrmNew", "Label38", kWhole, "Tue"},
    {276, "TfrmNew", "Label39", kWhole, "Wed"},
    {277, "TfrmNew", "Label40", kWhole, "Thu"},
    {278, "TfrmNew", "Label41", kWhole, "Fri"},
    {279, "TfrmNew", "Label42", kWhole, "Sat"},
    {280, "TfrmNew", "Label43", kWhole, "Sun"},
    {282, "TfrmNew", "GroupBox6", kWhole, "Step 5"},
    {283, "TfrmNew", "RadioButton1", kWhole, "Report by download"},
    {284, "TfrmNew", "RadioButton2", kWhole, "Clocking list Report"},
    {328, "TfrmNew", "Label2", kWhole, "to"},
    {332, "TfrmNew", "Button1", kWhole, "Advanced"},
    {334, "TfrmNew", "Label14", kWhole, "Site in question"},
    {335, "TfrmNew", "Label8", kWhole, "Type of report"},
    {336, "TfrmNew", "RadioButton3", kWhole, "Overview Report"},
    {337, "TfrmNew", "GroupBox4", kWhole, "Advanced settings"},
    {338, "TfrmNew", "CheckBox4", kWhole, "Create PDF report"},
    {339, "TfrmMain", "lblExtra", kWhole, "Time in Baton is not the same as PC!!"},
});

// A reader that reads once before it looks for the end counts an empty file as one line.
int readCount(const Lines& lines) {
    return static_cast<int>(std::max<std::size_t>(lines.size(), 1));
}

} // namespace

std::span<const LanguageMessageLines> languageMessageLines() {
    return kMessageLines;
}

std::span<const LanguageCaptionLine> languageCaptionLines() {
    return kCaptionLines;
}

std::optional<int> messageFedByLine(int line) {
    for (const LanguageMessageLines& run : kMessageLines) {
        if (line >= run.firstLine && line <= run.lastLine)
            return run.firstMessage + (line - run.firstLine);
    }
    return std::nullopt;
}

int CountLanguageFileLines(const std::filesystem::path& file) {
    return readCount(readLines(file));
}

std::string languageFileCountError(int count, const std::filesystem::path& file) {
    return "Error(" + std::to_string(count) + ") " + file.string() +
           " Languauge file corupt please contact You program vendor";
}

bool LoadLanguageFile(const std::filesystem::path& file, MessageTable& messages,
                      CaptionTable& captions, Dialogs& dialogs, TraceSink& trace,
                      const std::function<void(const MessageTable&)>& afterLoad) {
    trace.WriteTrace("Load Language file start");

    const std::filesystem::path dir = file.has_parent_path() ? file.parent_path() : ".";
    const std::filesystem::path resolved = resolveInDirectory(dir, file.filename().string());
    // One read serves both the count and the texts: a file that changes or fails between two
    // reads could otherwise leave the tables half replaced.
    const Lines lines = readLines(resolved);
    const int count = readCount(lines);

    if (count != kLanguageFileLines) {
        dialogs.showError(languageFileCountError(count, file));
        trace.WriteTrace("Load language file end");
        return false;
    }

    const auto lineText = [&lines](int line) { return lines[static_cast<std::size_t>(line - 1)]; };
    for (const LanguageMessageLines& run : kMessageLines) {
        for (int line = run.firstLine; line <= run.lastLine; ++line)
            messages.setText(run.firstMessage + (line - run.firstLine), lineText(line));
    }
    // The rows are in line order, so where two lines feed one caption the later one wins.
    for (const LanguageCaptionLine& row : kCaptionLines) {
        captions.setText(CaptionKey{std::string(row.window), std::string(row.control), row.index},
                         lineText(row.line));
    }

    if (afterLoad)
        afterLoad(messages);
    captions.recordLanguageLoad();

    trace.WriteTrace("Load language file end");
    return true;
}

} // namespace kestrova
