// A small program directory for the report tests: one site with a checkpoint list and day
// files, the shared state over fake desktop interfaces, and a chart that records its calls.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/SiteList.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "processing/ReportPdf.h"
#include "processing/UnknownCheckpoints.h"
#include "reports/DayFileReading.h"
#include "reports/Overview.h"
#include "reports/RequestChooser.h"
#include "reports/testing/StubReports.h"

#include <cstdlib>
#include <ctime>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kestrova::testing {

class RecordingChart : public OverviewChart {
public:
    void beginChart(const std::string& title, const std::string& footer,
                    const std::string& subtitle) override {
        calls.push_back("begin|" + title + "|" + footer + "|" + subtitle);
    }
    void chartPage(const std::string& heading1, const std::string& heading2, bool night) override {
        calls.push_back("page|" + heading1 + "|" + heading2 + (night ? "|night" : "|day"));
    }
    void chartRow(const std::vector<std::string>& times, const std::string& name,
                  int lineCount) override {
        std::string call = "row|" + name + "|" + std::to_string(lineCount) + "|";
        for (const auto& t : times)
            call += t + " ";
        calls.push_back(call);
    }
    void save(const std::filesystem::path& file) override {
        calls.push_back("save|" + file.filename().string());
        writeFile(file, "%PDF");
    }
    std::vector<std::string> calls;
};

// A day-file line: lead "000000", id, yymmddhhnn.
inline std::string dayLine(const std::string& id, const std::string& when) {
    return "000000" + id + when;
}

class ReportsTest : public ::testing::Test {
protected:
    ReportsTest() {
        fake.documents.pdfProgram = "viewer";
        setenv("TZ", "UTC", 1);
        tzset();
        context.messages.SetDefaultMessages();
        for (const int number :
             {137, 146, 147, 148, 149, 150, 159, 160, 161, 162, 163, 164, 170, 171, 172, 173, 174})
            context.messages.setText(number, "M" + std::to_string(number));
    }

    void site(const std::string& name, const std::vector<std::string>& checkpoints) {
        std::filesystem::create_directories(dir / name / "Raw");
        std::string text = "//Checkpoint list for " + name + "\r\n\r\n";
        for (const auto& line : checkpoints)
            text += line + "\r\n";
        text += "\r\n//End of File\r\n";
        writeFile(dir / name / "checkpt.lst", text);
    }

    void dayFile(const std::string& site, const std::string& date, const Lines& lines) {
        writeFile(dir / site / "Raw" / (date + ".txt"), joinLines(lines));
    }

    void loadSites() {
        context.sites.reset(BuildSiteList(dir.path()));
        LoadSiteIndex(context);
    }

    Lines rawLines() { return readLines(dir / "Raw.txt"); }

    static LocalDateTime march(int day) { return calendarDay(2024, 3, day); }

    TempDir dir;
    FakeDesktop fake;
    ProgramContext context{dir.path(), fake.desktop, "1"};
    MainState state;
};

} // namespace kestrova::testing
