// A small program directory for the processing tests: sites with their checkpoint lists, the
// shared state over fake desktop interfaces, a PDF that records what it is given, and an
// unknown-checkpoint window answered by the test.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/SiteList.h"
#include "core/SiteSetup.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"
#include "processing/DoRaw.h"
#include "processing/ReportPdf.h"
#include "processing/UnknownCheckpoints.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace kestrova::testing {

// Each call as one text; save writes a small file so that the report exists on disk.
class RecordingPdf : public ReportPdf {
public:
    void beginReport(const std::string& title, const std::string& footer,
                     const std::string& subtitle) override {
        calls.push_back("begin|" + title + "|" + footer + "|" + subtitle);
    }
    void beginSection(const std::string& title, const std::string& footer,
                      const std::string& subtitle) override {
        calls.push_back("section|" + title + "|" + footer + "|" + subtitle);
    }
    void addClocking(const std::string& date, const std::string& time, const std::string& location,
                     bool separator) override {
        calls.push_back("row|" + date + "|" + time + "|" + location + (separator ? "|#" : ""));
    }
    void addText(const std::string& text) override { calls.push_back("text|" + text); }
    void addFrequencyTable(const std::string& title, const std::string& nameHeading,
                           const std::string& countHeading, const std::vector<std::string>& names,
                           const std::vector<std::string>& counts) override {
        std::string call = "table|" + title + "|" + nameHeading + "|" + countHeading;
        for (std::size_t i = 0; i < names.size(); ++i)
            call += "|" + names[i] + "=" + counts[i];
        calls.push_back(call);
    }
    void save(const std::filesystem::path& file) override {
        calls.push_back("save|" + file.filename().string());
        writeFile(file, "%PDF");
    }

    std::vector<std::string> calls;
};

class ScriptedChooser : public UnknownCheckpointChooser {
public:
    void choose(UnknownCheckpointPlacement& placement) override {
        ++shown;
        count = placement.clockingCount();
        ids = placement.ids();
        if (action)
            action(placement);
        else
            placement.ignore();
    }
    std::function<void(UnknownCheckpointPlacement&)> action;
    int shown = 0;
    std::size_t count = 0;
    std::vector<std::string> ids;
};

// "000000" + id + yymmddhhnn + packet number.
inline std::string clocking(const std::string& id, const std::string& when, int packet = 1) {
    return "000000" + id + when + std::to_string(packet);
}

class ProcessingTest : public ::testing::Test {
protected:
    ProcessingTest() {
        // Upload times are file times; read them in one fixed zone.
        setenv("TZ", "UTC", 1);
        tzset();
        context.messages.SetDefaultMessages();
        for (const int number : {137, 150, 151, 152, 153, 154, 155, 156, 157, 158, 170, 171})
            context.messages.setText(number, "M" + std::to_string(number));
    }

    // A site with checkpoint lines (after the header and the empty line).
    void site(const std::string& name, const std::vector<std::string>& checkpoints) {
        std::filesystem::create_directories(dir / name / "Raw");
        std::string text = "//Checkpoint list for " + name + "\r\n\r\n";
        for (const auto& line : checkpoints)
            text += line + "\r\n";
        text += "\r\n//End of File\r\n";
        writeFile(dir / name / "checkpt.lst", text);
    }

    void loadSites() {
        context.sites.reset(BuildSiteList(dir.path()));
        LoadSiteIndex(context);
    }

    // Raw.txt with these lines, written on 5 March 2024 at 13:00:00.
    std::filesystem::path upload(const Lines& lines, bool lastLineEnded = true) {
        const auto file = dir / "Raw.txt";
        std::string bytes = joinLines(lines);
        if (!lastLineEnded && !bytes.empty())
            bytes.resize(bytes.size() - 2);
        writeFile(file, bytes);
        using namespace std::chrono;
        const sys_seconds when = sys_days{year{2024} / 3 / 5} + hours{13};
        std::filesystem::last_write_time(file, file_clock::from_sys(when));
        return file;
    }

    std::string report(const std::string& site, const std::string& stamp = "03051407") {
        return readFile(dir / site / (stamp + ".txt"));
    }

    TempDir dir;
    FakeDesktop desk;
    ProgramContext context{dir.path(), desk.desktop, "1"};
    MainState state;
    RecordingPdf pdf;
    ScriptedChooser chooser;
    ProcessingServices services{context, state, chooser, pdf};
};

} // namespace kestrova::testing
