// Real PDF clients read every kind of document the builder makes: qpdf --check finds no error
// or warning, pdftotext returns the texts in reading order, pdftoppm renders the pages without
// complaint. The tests skip only when a tool is not on PATH (CI installs them through
// scripts/install-deps.sh).
//
// Setting KESTROVA_PDF_SAMPLES to a directory also keeps a copy of each document there, for a
// look at the rendered pages.
#include "PdfTestSupport.h"
#include "core/testing/FakeDesktop.h"
#include "pdf/pdfprint.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

namespace kestrova::pdf {
namespace {

namespace fs = std::filesystem;
using kestrova::testing::FakeClock;
using kestrova::testing::FakeLocale;
using kestrova::testing::TempDir;
using testing::RunCommand;
using testing::ToolOnPath;

// GTEST_SKIP ends only the function it stands in, so the check must stand in the test body
// itself: inside a helper the test would go on and fail for want of the tool.
#define SKIP_WITHOUT_TOOL(tool)                                                                    \
    do {                                                                                           \
        if (!ToolOnPath(tool))                                                                     \
            GTEST_SKIP() << (tool) << " not found on PATH";                                        \
    } while (false)

std::string Quote(const fs::path& path) {
    return "'" + path.string() + "'";
}

class PdfClientTest : public ::testing::Test {
protected:
    PdfClientTest() {
        std::vector<std::string> messages(PdfPrint::kMessageCount);
        messages[164] = "Guard Tour Systems";
        messages[165] = "Date";
        messages[166] = "Time";
        messages[167] = "Location";
        messages[168] = "Page";
        pdf.PdfSetMessages(messages);
    }

    fs::path Save(const std::string& name) {
        const fs::path file = dir / name;
        pdf.PdfSave(file);
        if (const char* keep = std::getenv("KESTROVA_PDF_SAMPLES"))
            fs::copy_file(file, fs::path(keep) / name, fs::copy_options::overwrite_existing);
        return file;
    }

    static void ExpectQpdfClean(const fs::path& file) {
        std::string output;
        const int status = RunCommand("qpdf --check " + Quote(file), output);
        EXPECT_EQ(status, 0) << output;
        EXPECT_NE(output.find("No syntax or stream encoding errors found"), std::string::npos)
            << output;
        EXPECT_EQ(output.find("WARNING"), std::string::npos) << output;
        EXPECT_EQ(output.find("ERROR"), std::string::npos) << output;
    }

    static std::string PdfToText(const fs::path& file) {
        std::string output;
        // -layout keeps the physical layout: a line of the output is a row of the page, read
        // from left to right (the left column's row, then the right column's row), pages
        // separated by form feeds.
        const int status = RunCommand("pdftotext -layout " + Quote(file) + " -", output);
        EXPECT_EQ(status, 0) << output;
        return output;
    }

    // Each text occurs, after the one before it.
    static void ExpectInOrder(const std::string& text, const std::vector<std::string>& parts) {
        std::size_t at = 0;
        for (const auto& part : parts) {
            const auto found = text.find(part, at);
            ASSERT_NE(found, std::string::npos)
                << "\"" << part << "\" missing after offset " << at << " in:\n"
                << text;
            at = found + part.size();
        }
    }

    // Some line of the text holds the parts in this order.
    static void ExpectLineWith(const std::string& text, const std::vector<std::string>& parts) {
        std::size_t start = 0;
        while (start < text.size()) {
            auto end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = text.substr(start, end - start);
            std::size_t at = 0;
            bool all = true;
            for (const auto& part : parts) {
                const auto found = line.find(part, at);
                if (found == std::string::npos) {
                    all = false;
                    break;
                }
                at = found + part.size();
            }
            if (all)
                return;
            start = end + 1;
        }
        ADD_FAILURE() << "no line holds the parts in order, first: " << parts.front() << "\n"
                      << text;
    }

    static void ExpectRendersQuietly(const fs::path& file, int pages) {
        const fs::path prefix = file.parent_path() / (file.stem().string() + "-page");
        std::string output;
        const int status =
            RunCommand("pdftoppm -png -r 30 " + Quote(file) + " " + Quote(prefix), output);
        EXPECT_EQ(status, 0) << output;
        EXPECT_TRUE(output.empty()) << output; // poppler reports syntax errors on stderr
        int rendered = 0;
        for (const auto& entry : fs::directory_iterator(file.parent_path()))
            rendered += entry.path().filename().string().starts_with(prefix.filename().string());
        EXPECT_EQ(rendered, pages);
    }

    // A portrait clocking report over two pages and three columns, with separators, texts that
    // need escapes, Windows-1252 letters, a frequency table and warnings.
    fs::path BuildPortraitReport() {
        pdf.PdfBeginReport("Clocking Report (ACME) Security", "ACME Ltd \\ Night desk   Ver 5.28l",
                           "North Gate - (Baton 1234)");
        for (int i = 0; i < 150; ++i) {
            const int day = 5 + i / 40;
            const std::string date =
                "24/03/" + std::string(day < 10 ? "0" : "") + std::to_string(day);
            char time[8];
            std::snprintf(time, sizeof time, "%02d:%02d", (i / 6) % 24, (i * 7) % 60);
            const std::string location = i % 10 == 0 ? "Caf\xE9 entr\xE9"
                                                       "e (rear)"
                                                     : "Point " + std::to_string(i % 10);
            pdf.PdfAddClocking(date, time, location, i % 10 == 0, 0);
        }
        pdf.PdfAddFrequencyTable("Frequency Report :", "Name", "Count",
                                 {"Caf\xE9 entr\xE9"
                                  "e (rear)",
                                  "Point 1", "Point 2"},
                                 {"15", "15", "15"});
        pdf.PdfAddText();
        pdf.PdfAddText(" Warnings ");
        pdf.PdfAddText("2 Corupt Records Discarded");
        pdf.PdfAddText("Clockings out of time order \\ check the baton clock");
        return Save("portrait.pdf");
    }

    fs::path BuildChart() {
        pdf.PdfBeginChart("Kestrova Uploader Ver 5.28l - Overview ACME", "ACME footer",
                          "North Gate");
        pdf.PdfChartPage("Night : 04/03/2024 12:00", "   Morning : 05/03/2024 12:00", true);
        for (int i = 0; i < 20; ++i)
            pdf.PdfChartRow({"12:05", "12:40", "18:30", "23:59", "00:10", "11:55"},
                            "Checkpoint " + std::to_string(i), 2);
        pdf.PdfChartPage("Night : 05/03/2024 12:00", "   Morning : 06/03/2024 12:00", true);
        pdf.PdfChartRow({"14:01", "14:20", "14:45"}, "Checkpoint (A)", 3);
        pdf.PdfChartRow({}, "Checkpoint B", 2);
        return Save("chart.pdf");
    }

    TempDir dir;
    FakeClock clock;
    FakeLocale locale;
    PdfPrint pdf{clock, locale};
};

TEST_F(PdfClientTest, PortraitReportPassesQpdfCheck) {
    SKIP_WITHOUT_TOOL("qpdf");
    const fs::path file = BuildPortraitReport();
    ExpectQpdfClean(file);
}

TEST_F(PdfClientTest, PortraitReportTextsComeOutInReadingOrder) {
    SKIP_WITHOUT_TOOL("pdftotext");
    const std::string text = PdfToText(BuildPortraitReport());
    const std::string cafe = "Caf\xC3\xA9 entr\xC3\xA9"
                             "e (rear)"; // UTF-8 of the 1252 bytes
    // Rows read across: date, time, location of the left column, then of the right column.
    ExpectLineWith(text, {"Date", "Time", "Location", "Date", "Time", "Location"});
    ExpectLineWith(text, {"24/03/05", "00:00", cafe, "24/03/06", "10:00", cafe});
    ExpectLineWith(text, {"00:07", "Point 1", "10:07", "Point 1"});
    // (pdftotext writes a run of spaces inside one text as a single space)
    ExpectLineWith(text, {"ACME Ltd \\ Night desk Ver 5.28l", "05/03/2024 14:07:09 Page 1"});
    // The whole document top down, page 1 before page 2, warnings last.
    ExpectInOrder(text, {"Clocking Report (ACME) Security",
                         "North Gate - (Baton 1234)",
                         "KESTROVA",
                         "Guard Tour Systems",
                         "Date",
                         "24/03/05",
                         "00:00",
                         cafe,
                         "01:03",
                         "Point 9",
                         "24/03/05",
                         "01:10",
                         "Page 1",
                         "\f",
                         "Clocking Report (ACME) Security",
                         "Date",
                         "Time",
                         "Location",
                         "Frequency Report :",
                         "Count",
                         "Name",
                         "15",
                         cafe,
                         "15",
                         "Point 1",
                         "15",
                         "Point 2",
                         "Warnings",
                         "2 Corupt Records Discarded",
                         "Clockings out of time order \\ check the baton clock",
                         "05/03/2024 14:07:09 Page 2"});
    EXPECT_EQ(text.find("Page 3"), std::string::npos);
}

TEST_F(PdfClientTest, PortraitReportRenders) {
    SKIP_WITHOUT_TOOL("pdftoppm");
    ExpectRendersQuietly(BuildPortraitReport(), 2);
}

TEST_F(PdfClientTest, ChartPassesQpdfCheck) {
    SKIP_WITHOUT_TOOL("qpdf");
    ExpectQpdfClean(BuildChart());
}

TEST_F(PdfClientTest, ChartTextsComeOutInReadingOrder) {
    SKIP_WITHOUT_TOOL("pdftotext");
    const std::string text = PdfToText(BuildChart());
    ExpectLineWith(text, {"Night : 04/03/2024 12:00", "12", "13", "23", "00", "01", "11"});
    ExpectLineWith(text, {"Checkpoint 0", "12:05", "18:30", "23:59", "00:10", "11:55"});
    // The name is centred on its row: it stands on the line of the middle time.
    ExpectLineWith(text, {"Checkpoint (A)", "14:20"});
    ExpectInOrder(text, {"Kestrova Uploader Ver 5.28l - Overview ACME",
                         "KESTROVA",
                         "North Gate",
                         "Guard Tour Systems",
                         "Night : 04/03/2024 12:00",
                         "Morning : 05/03/2024 12:00",
                         "Checkpoint 0",
                         "12:05",
                         "12:40",
                         "Checkpoint 14",
                         "ACME footer",
                         "Page 1",
                         "\f",
                         "Night : 04/03/2024 12:00",
                         "Checkpoint 15",
                         "Checkpoint 19",
                         "Page 2",
                         "\f",
                         "Night : 05/03/2024 12:00",
                         "Morning : 06/03/2024 12:00",
                         "14:01",
                         "Checkpoint (A)",
                         "14:20",
                         "14:45",
                         "Checkpoint B",
                         "Page 3"});
    EXPECT_EQ(text.find("Checkpoint 15"), text.rfind("Checkpoint 15"));
}

TEST_F(PdfClientTest, ChartRenders) {
    SKIP_WITHOUT_TOOL("pdftoppm");
    ExpectRendersQuietly(BuildChart(), 3);
}

TEST_F(PdfClientTest, CombinedReportWithSectionsPassesTheClients) {
    SKIP_WITHOUT_TOOL("qpdf");
    SKIP_WITHOUT_TOOL("pdftotext");
    pdf.PdfBeginReport("Combined report ACME", "Footer", "Site A");
    for (int i = 0; i < 5; ++i)
        pdf.PdfAddClocking("24/03/05", "10:0" + std::to_string(i), "Site A point", false, 0);
    pdf.PdfBeginSection("Combined report ACME", "Footer", "Site B");
    for (int i = 0; i < 5; ++i)
        pdf.PdfAddClocking("24/03/06", "11:0" + std::to_string(i), "Site B point", false, 0);
    const fs::path file = Save("combined.pdf");
    ExpectQpdfClean(file);
    const std::string text = PdfToText(file);
    ExpectInOrder(text,
                  {"Site A", "Site A point", "Page 1", "\f", "Site B", "Site B point", "Page 2"});
}

TEST_F(PdfClientTest, EmptyChartIsAOneBlankPageDocument) {
    SKIP_WITHOUT_TOOL("qpdf");
    pdf.PdfBeginChart("t", "f", "s");
    ExpectQpdfClean(Save("empty.pdf"));
}

// The checks themselves fail on a document the clients refuse: a report cut off half way.
TEST_F(PdfClientTest, TheChecksFailOnABrokenDocument) {
    SKIP_WITHOUT_TOOL("qpdf");
    SKIP_WITHOUT_TOOL("pdftoppm");
    const fs::path file = BuildPortraitReport();
    const std::string bytes = kestrova::testing::readFile(file);
    kestrova::testing::writeFile(file, bytes.substr(0, bytes.size() / 2));
    for (const auto& check : {std::function<void()>([&] { ExpectQpdfClean(file); }),
                              std::function<void()>([&] { ExpectRendersQuietly(file, 2); })}) {
        ::testing::TestPartResultArray failures;
        {
            const ::testing::ScopedFakeTestPartResultReporter reporter(
                ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD,
                &failures);
            check();
        }
        EXPECT_GT(failures.size(), 0);
    }
}

} // namespace
} // namespace kestrova::pdf
