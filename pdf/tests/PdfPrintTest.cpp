// The report drawing module, checked on the content streams it writes.
#include "pdf/pdfprint.h"

#include "PdfTestSupport.h"
#include "core/Errors.h"
#include "core/testing/FakeDesktop.h"
#include "pdf/PdfFonts.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace kestrova::pdf {
namespace {

namespace fs = std::filesystem;
using kestrova::testing::FakeClock;
using kestrova::testing::FakeLocale;
using kestrova::testing::TempDir;
using testing::ExpectThrowWithMessage;
using testing::Interpret;
using testing::PageContents;
using testing::PageDrawing;
using testing::ToRgb;

std::vector<std::string> TestMessages() {
    std::vector<std::string> messages(PdfPrint::kMessageCount);
    messages[165 - 1] = "Guard Tour Systems";
    messages[166 - 1] = "Date";
    messages[167 - 1] = "Time";
    messages[168 - 1] = "Location";
    messages[169 - 1] = "Page";
    return messages;
}

class PdfPrintTest : public ::testing::Test {
protected:
    PdfPrintTest() { pdf.PdfSetMessages(TestMessages()); }

    std::size_t PageCount() { return PageContents(*pdf.Document()).size(); }
    PageDrawing Page(std::size_t index) {
        const auto contents = PageContents(*pdf.Document());
        EXPECT_LT(index, contents.size());
        return index < contents.size() ? Interpret(contents[index]) : PageDrawing{};
    }
    void Begin() {
        pdf.PdfBeginReport("Clocking Report ACME", "Footer text   Ver 5.28l", "Site A");
    }
    // Clocking rows with the times T1, T2, … (all of the same date).
    void AddRows(int count) {
        for (int i = 0; i < count; ++i)
            pdf.PdfAddClocking("24/03/05", "T" + std::to_string(++rows), "Gate", false, 0);
    }
    // Width of a text in Times-Roman at a size, as the writer measures it.
    static float TimesWidth(const std::string& text, float size) {
        float width = 0;
        for (const char c : text)
            width += static_cast<float>(kTimesRomanWidths[static_cast<unsigned char>(c)]) * size /
                     1000.0f;
        return width;
    }
    void ExpectTextAt(const PageDrawing& page, const std::string& text, double x, double y) {
        const auto found = page.Find(text);
        ASSERT_EQ(found.size(), 1u) << text;
        EXPECT_DOUBLE_EQ(found[0].x, x) << text;
        EXPECT_DOUBLE_EQ(found[0].y, y) << text;
    }
    bool HasRect(const PageDrawing& page, int colour, double x, double y, double w, double h) {
        for (const auto& r : page.RectsIn(ToRgb(colour)))
            if (r.x == x && r.y == y && r.w == w && r.h == h)
                return true;
        return false;
    }
    int rows = 0;
    FakeClock clock;
    FakeLocale locale;
    PdfPrint pdf{clock, locale};
};

// --- portrait report -------------------------------------------------------------------------

TEST_F(PdfPrintTest, FreshPortraitDocumentHasBannerFooterAndObjectNumbers) {
    Begin();
    ASSERT_TRUE(pdf.HasDocument());
    EXPECT_EQ(pdf.CurrentLine(), 740);
    EXPECT_EQ(pdf.PageCounter(), 2);
    const PageDrawing page = Page(0);

    ExpectTextAt(page, "Clocking Report ACME", 30, 812);
    ExpectTextAt(page, "Site A", 30, 787);
    ExpectTextAt(page, "KESTROVA", 438, 797);
    ExpectTextAt(page, "Guard Tour Systems", 440, 787);
    ExpectTextAt(page, "Date", 35, 760);
    ExpectTextAt(page, "Time", 85, 760);
    ExpectTextAt(page, "Location", 150, 760);
    ExpectTextAt(page, "Footer text   Ver 5.28l", 30, 15);
    const std::string right = "05/03/2024 14:07:09   Page 1";
    const auto footer = page.Find(right);
    ASSERT_EQ(footer.size(), 1u);
    EXPECT_EQ(FormatPdfNumber(footer[0].x),
              FormatPdfNumber(static_cast<double>(595 - TimesWidth(right, 14) - 30)));
    EXPECT_EQ(footer[0].y, 15);

    const auto title = page.Find("Clocking Report ACME")[0];
    EXPECT_EQ(title.font, "F1");
    EXPECT_EQ(title.size, 14);
    EXPECT_EQ(title.fill, ToRgb(kPdfBrown));
    EXPECT_EQ(page.Find("Site A")[0].font, "F2");
    EXPECT_EQ(page.Find("Site A")[0].size, 18);
    EXPECT_EQ(page.Find("KESTROVA")[0].fill, ToRgb(kPdfRed));
    EXPECT_EQ(page.Find("KESTROVA")[0].font, "F3");
    EXPECT_EQ(page.Find("Guard Tour Systems")[0].size, 13);
    EXPECT_EQ(page.Find("Guard Tour Systems")[0].fill, ToRgb(kPdfBlack));
    EXPECT_EQ(page.Find("Date")[0].font, "F4");
    EXPECT_EQ(page.Find("Date")[0].size, 10.5);
    EXPECT_EQ(footer[0].fill, ToRgb(kPdfBrown));
    EXPECT_EQ(footer[0].size, 14);

    EXPECT_TRUE(HasRect(page, kPdfLightBlue, 30, 750, 253, 30));
    ASSERT_EQ(page.lines.size(), 3u);
    EXPECT_EQ(page.lines[0].x1, 20);
    EXPECT_EQ(page.lines[0].y1, 807);
    EXPECT_EQ(page.lines[0].x2, 425);
    EXPECT_EQ(page.lines[0].width, 1.5);
    EXPECT_EQ(page.lines[0].stroke, ToRgb(kPdfBlack));
    EXPECT_EQ(page.lines[1].y1, 745);
    EXPECT_EQ(page.lines[1].x1, 40);
    EXPECT_EQ(page.lines[1].x2, 273);
    EXPECT_EQ(page.lines[1].stroke, ToRgb(kPdfGrey));
    EXPECT_EQ(page.lines[2].y1, 30);
    EXPECT_EQ(page.lines[2].x2, 575);

    // Object numbers: fonts F0 to F4 are objects 6 to 10.
    TPdfDoc& doc = *pdf.Document();
    const char* names[] = {"Arial", "Arial-BoldItalic", "Arial-Bold", "FixedWidth-Bold",
                           "Times-Roman"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(doc.Fonts(static_cast<std::size_t>(i)).Name(), names[i]);
        EXPECT_EQ(doc.Fonts(static_cast<std::size_t>(i)).Data()->ObjectNumber(), 6 + i);
        EXPECT_EQ(doc.Fonts(static_cast<std::size_t>(i)).ResourceName(), "F" + std::to_string(i));
    }
}

TEST_F(PdfPrintTest, ContentStreamStartsWithTheExactBannerLines) {
    Begin();
    const auto lines = testing::ContentLines(PageContents(*pdf.Document())[0]);
    const std::vector<std::string> head(lines.begin(), lines.begin() + 16);
    const std::vector<std::string> expected = {
        "/F0 10 Tf", "0.65 0.16 0.16 rg", "/F1 14 Tf",
        "BT",        "30 812 Td",         "(Clocking Report ACME) Tj",
        "ET",        "/F2 18 Tf",         "BT",
        "30 787 Td", "(Site A) Tj",       "ET",
        "0 0 0 RG",  "20 807 m",          "425 807 l",
        "1.5 w"};
    EXPECT_EQ(head, expected);
}

TEST_F(PdfPrintTest, FirstRowAt730ThenColumnsAndPages) {
    Begin();
    AddRows(1);
    {
        const PageDrawing page = Page(0);
        ExpectTextAt(page, "T1", 85, 732);
        ExpectTextAt(page, "24/03/05", 35, 732);
        ExpectTextAt(page, "Gate", 150, 732);
        EXPECT_TRUE(HasRect(page, kPdfRowGreen, 30, 730, 253, 10));
        EXPECT_EQ(page.Find("T1")[0].font, "F4");
        EXPECT_EQ(page.Find("T1")[0].size, 10);
    }
    AddRows(69); // 70 rows fill the left column down to y 40
    EXPECT_EQ(pdf.CurrentLine(), 40);
    ExpectTextAt(Page(0), "T70", 85, 42);
    AddRows(1); // the 71st goes to the top of the right column
    {
        const PageDrawing page = Page(0);
        ExpectTextAt(page, "T71", 368, 732);
        EXPECT_EQ(pdf.ColumnOffset(), 283);
        EXPECT_TRUE(HasRect(page, kPdfLightBlue, 313, 750, 253, 30));
        const auto dates = page.Find("Date");
        ASSERT_EQ(dates.size(), 2u);
        EXPECT_EQ(dates[1].x, 318);
        EXPECT_EQ(dates[1].y, 760);
        EXPECT_EQ(page.Find("Time")[0].x, 85);
        const auto times = page.Find("Time");
        ASSERT_EQ(times.size(), 2u);
        EXPECT_EQ(times[1].x, 368);
        EXPECT_EQ(page.Find("Location")[1].x, 433);
        // The date is printed again at the top of the new column.
        EXPECT_EQ(page.Find("24/03/05").size(), 2u);
        EXPECT_TRUE(HasRect(page, kPdfRowGreen, 313, 730, 253, 10)); // shaded after the start
        bool rule = false;
        for (const auto& l : page.lines)
            rule |= l.x1 == 323 && l.y1 == 745 && l.x2 == 556 && l.width == 1.5;
        EXPECT_TRUE(rule);
    }
    AddRows(69);
    EXPECT_EQ(PageCount(), 1u);
    ExpectTextAt(Page(0), "T140", 368, 42);
    AddRows(1); // the 141st goes to page 2
    ASSERT_EQ(PageCount(), 2u);
    const PageDrawing page2 = Page(1);
    ExpectTextAt(page2, "T141", 85, 732);
    ExpectTextAt(page2, "Clocking Report ACME", 30, 812);
    EXPECT_TRUE(page2.HasText("05/03/2024 14:07:09   Page 2"));
    EXPECT_TRUE(Page(0).HasText("05/03/2024 14:07:09   Page 1"));
    EXPECT_EQ(pdf.ColumnOffset(), 0);
}

TEST_F(PdfPrintTest, DatePrintedOnceUntilASeparator) {
    Begin();
    for (int i = 0; i < 5; ++i)
        pdf.PdfAddClocking("24/03/05", "10:0" + std::to_string(i), "Gate", false, 0);
    EXPECT_EQ(Page(0).Find("24/03/05").size(), 1u);
    ExpectTextAt(Page(0), "24/03/05", 35, 732);
    pdf.PdfAddClocking("24/03/05", "11:00", "Tower", true, 0);
    const PageDrawing page = Page(0);
    const auto dates = page.Find("24/03/05");
    ASSERT_EQ(dates.size(), 2u);
    // The separator line lies 5 above where the row would have gone (y 680), the row 10 lower.
    EXPECT_EQ(dates[1].y, 672);
    bool separator = false;
    for (const auto& l : page.lines)
        separator |= l.x1 == 40 && l.y1 == 685 && l.x2 == 273 && l.y2 == 685 && l.width == 1.5 &&
                     l.stroke == ToRgb(kPdfGrey);
    EXPECT_TRUE(separator);
    EXPECT_TRUE(HasRect(page, kPdfRowGreen, 30, 670, 253, 10)); // first row after it is shaded
    EXPECT_EQ(pdf.RowCount(), 1);
}

TEST_F(PdfPrintTest, SeparatorWithOneRowSinceTheStartDrawsNoLine) {
    Begin();
    AddRows(1);
    pdf.PdfAddClocking("24/03/05", "11:00", "Tower", true, 0);
    const PageDrawing page = Page(0);
    ExpectTextAt(page, "11:00", 85, 722);
    for (const auto& l : page.lines)
        EXPECT_FALSE(l.x1 == 40 && l.y1 != 745) << l.y1;
    EXPECT_EQ(pdf.RowCount(), 2);
}

TEST_F(PdfPrintTest, SeparatorRowReaching90StartsTheNextColumnAPlainRowDoesNot) {
    Begin();
    AddRows(64); // 730 … 100
    EXPECT_EQ(pdf.CurrentLine(), 100);
    pdf.PdfAddClocking("24/03/05", "SEP", "Tower", true, 0);
    ExpectTextAt(Page(0), "SEP", 368, 732);
    EXPECT_EQ(pdf.ColumnOffset(), 283);

    Begin();
    rows = 0;
    AddRows(64);
    pdf.PdfAddClocking("24/03/05", "PLAIN", "Tower", false, 0);
    ExpectTextAt(Page(0), "PLAIN", 85, 92);
    EXPECT_EQ(pdf.ColumnOffset(), 0);
}

TEST_F(PdfPrintTest, SeparatorRowJustAbove100DrawsItsLineAndGoesLower) {
    Begin();
    AddRows(63);                                             // 730 … 110
    pdf.PdfAddClocking("24/03/05", "SEP", "Tower", true, 0); // 100 is not below 100
    ExpectTextAt(Page(0), "SEP", 85, 92);
}

TEST_F(PdfPrintTest, EmptyTextLineNearTheBottomStartsTheNextColumn) {
    Begin();
    AddRows(69); // 730 … 50
    pdf.PdfAddText("");
    EXPECT_EQ(pdf.ColumnOffset(), 283);
    ExpectTextAt(Page(0), "", 318, 732);
    // The text column start draws no heading band and keeps the remembered date.
    EXPECT_FALSE(HasRect(Page(0), kPdfLightBlue, 313, 750, 253, 30));
    EXPECT_EQ(pdf.RememberedDate(), "24/03/05");

    Begin();
    rows = 0;
    AddRows(69);
    pdf.PdfAddText("Warnings");
    ExpectTextAt(Page(0), "Warnings", 35, 42);
    EXPECT_EQ(pdf.ColumnOffset(), 0);

    Begin();
    rows = 0;
    AddRows(68); // … 60
    pdf.PdfAddText("");
    EXPECT_EQ(pdf.ColumnOffset(), 0); // at y 50 an empty line still fits
    EXPECT_EQ(pdf.CurrentLine(), 50);
}

TEST_F(PdfPrintTest, TextLineFlipsTheShadingOfTheNextRow) {
    Begin();
    pdf.PdfAddClocking("d", "A", "x", false, 0);
    pdf.PdfAddClocking("d", "B", "x", false, 0);
    EXPECT_FALSE(HasRect(Page(0), kPdfRowGreen, 30, 720, 253, 10));
    Begin();
    pdf.PdfAddClocking("d", "A", "x", false, 0);
    pdf.PdfAddText("note (see \\ below)");
    pdf.PdfAddClocking("d", "B", "x", false, 0);
    const PageDrawing page = Page(0);
    EXPECT_TRUE(HasRect(page, kPdfRowGreen, 30, 730, 253, 10));
    EXPECT_TRUE(HasRect(page, kPdfRowGreen, 30, 710, 253, 10));
    ExpectTextAt(page, "note (see \\ below)", 35, 722);
    EXPECT_EQ(page.Find("note (see \\ below)")[0].size, 10);
}

TEST_F(PdfPrintTest, NumberAboveZeroIsPrintedAtTheRight) {
    Begin();
    pdf.PdfAddClocking("d", "t", "x", false, 7);
    ExpectTextAt(Page(0), "7", 275, 732);
}

std::vector<std::string> Names(int n) {
    std::vector<std::string> names;
    for (int i = 0; i < n; ++i)
        names.push_back("Point " + std::to_string(i));
    return names;
}
std::vector<std::string> Counts(int n) {
    std::vector<std::string> counts;
    for (int i = 0; i < n; ++i)
        counts.push_back(std::to_string(100 + i));
    return counts;
}

TEST_F(PdfPrintTest, FrequencyTableAt400) {
    Begin();
    AddRows(34); // … 400
    ASSERT_EQ(pdf.CurrentLine(), 400);
    const int rowsBefore = pdf.RowCount();
    pdf.PdfAddFrequencyTable("Frequency Report :", "Name", "Count", Names(10), Counts(10));
    const PageDrawing page = Page(0);
    EXPECT_TRUE(HasRect(page, kPdfOrange, 30, 370, 253, 30));
    ExpectTextAt(page, "Frequency Report :", 35, 385);
    EXPECT_EQ(page.Find("Frequency Report :")[0].size, 14);
    ExpectTextAt(page, "Count", 35, 375);
    ExpectTextAt(page, "Name", 85, 375);
    EXPECT_EQ(page.Find("Name")[0].size, 10.5);
    bool rule = false;
    for (const auto& l : page.lines)
        rule |= l.x1 == 40 && l.y1 == 365 && l.x2 == 273 && l.width == 1.5;
    EXPECT_TRUE(rule);
    for (int k = 0; k < 10; ++k) {
        const double y = 350 - 10 * k;
        ExpectTextAt(page, "Point " + std::to_string(k), 85, y + 2);
        ExpectTextAt(page, std::to_string(100 + k), 35, y + 2);
        EXPECT_EQ(HasRect(page, kPdfYellow, 30, y, 253, 10), k % 2 == 0) << k;
    }
    EXPECT_EQ(pdf.CurrentLine(), 250);
    EXPECT_EQ(pdf.RowCount(), rowsBefore);
}

TEST_F(PdfPrintTest, FrequencyTableAt220MovesToTheRightColumn) {
    Begin();
    AddRows(52); // … 220
    ASSERT_EQ(pdf.CurrentLine(), 220);
    pdf.PdfAddFrequencyTable("Freq", "Name", "Count", Names(10), Counts(10));
    const PageDrawing page = Page(0);
    EXPECT_EQ(pdf.ColumnOffset(), 283);
    EXPECT_TRUE(HasRect(page, kPdfOrange, 313, 720, 253, 30));
    ExpectTextAt(page, "Point 0", 368, 702);
    EXPECT_EQ(pdf.RememberedDate(), "");
    EXPECT_EQ(pdf.RowCount(), 0);
    // A row after it follows below the table.
    AddRows(1);
    ExpectTextAt(Page(0), "T53", 368, 592);
}

TEST_F(PdfPrintTest, FrequencyTableInAFullRightColumnGoesToANewPageBelow740) {
    Begin();
    AddRows(70 + 52);
    ASSERT_EQ(pdf.ColumnOffset(), 283);
    pdf.PdfAddFrequencyTable("Freq", "Name", "Count", Names(10), Counts(10));
    ASSERT_EQ(PageCount(), 2u);
    const PageDrawing page = Page(1);
    EXPECT_TRUE(HasRect(page, kPdfOrange, 30, 710, 253, 30));
    ExpectTextAt(page, "Point 0", 85, 692);
    EXPECT_TRUE(page.HasText("05/03/2024 14:07:09   Page 2"));
}

TEST_F(PdfPrintTest, FrequencyTableTallerThanAColumnGoesOnInTheNextColumn) {
    Begin();
    // 80 names do not fit even a fresh column: the table starts at the top of the right column
    // and its rows below y 40 continue on the next page instead of falling off this one.
    pdf.PdfAddFrequencyTable("Freq", "Name", "Count", Names(80), Counts(80));
    ASSERT_EQ(PageCount(), 2u);
    const PageDrawing page1 = Page(0);
    EXPECT_TRUE(HasRect(page1, kPdfOrange, 313, 720, 253, 30));
    ExpectTextAt(page1, "Point 0", 368, 702);
    ExpectTextAt(page1, "Point 66", 368, 42); // the last row at or above y 40
    EXPECT_FALSE(page1.HasText("Point 67"));
    const PageDrawing page2 = Page(1);
    ExpectTextAt(page2, "Point 67", 85, 732);
    ExpectTextAt(page2, "Point 79", 85, 612);
    EXPECT_FALSE(HasRect(page2, kPdfOrange, 30, 710, 253, 30)); // no second band
    EXPECT_FALSE(HasRect(page2, kPdfYellow, 30, 730, 253, 10)); // row 67 is odd
    EXPECT_TRUE(HasRect(page2, kPdfYellow, 30, 720, 253, 10));  // row 68 is even
    for (const auto& t : page1.texts)
        EXPECT_GE(t.y, 0) << t.text;
    // A table that fits its fresh column stays in one piece, down below y 200.
    Begin();
    AddRows(4); // ... 700: 60 names do not fit here, and go to the right column
    pdf.PdfAddFrequencyTable("Freq", "Name", "Count", Names(60), Counts(60));
    EXPECT_EQ(PageCount(), 1u);
    EXPECT_EQ(pdf.ColumnOffset(), 283);
    ExpectTextAt(Page(0), "Point 0", 368, 702);
    ExpectTextAt(Page(0), "Point 59", 368, 112);
}

TEST_F(PdfPrintTest, SectionsShareOneDocumentEachOnANewPage) {
    pdf.PdfBeginSection("Combined Site A", "Footer", "Site A"); // no document: a begin
    AddRows(3);
    pdf.PdfBeginSection("Combined Site B", "Footer B", "Site B");
    EXPECT_EQ(pdf.CurrentLine(), 740);
    AddRows(1);
    pdf.PdfAddClocking("24/03/05", "same date", "Gate", false, 0);
    ASSERT_EQ(PageCount(), 2u);
    const PageDrawing page2 = Page(1);
    ExpectTextAt(page2, "Combined Site B", 30, 812);
    ExpectTextAt(page2, "Site B", 30, 787);
    ExpectTextAt(page2, "Footer B", 30, 15);
    ExpectTextAt(page2, "T4", 85, 732);
    EXPECT_EQ(page2.Find("24/03/05").size(), 1u); // a section prints its first date
    EXPECT_TRUE(page2.HasText("05/03/2024 14:07:09   Page 2"));
    EXPECT_FALSE(Page(0).HasText("Combined Site B"));
    // A begin still abandons everything.
    Begin();
    EXPECT_EQ(PageCount(), 1u);
}

// --- landscape chart -------------------------------------------------------------------------

class PdfChartTest : public PdfPrintTest {
protected:
    void BeginChart() { pdf.PdfBeginChart("Overview ACME", "Chart footer", "Site A"); }
};

TEST_F(PdfChartTest, BeginDrawsNothingAndTheFirstPageUsesTheBeginsPage) {
    BeginChart();
    EXPECT_EQ(PageCount(), 1u);
    EXPECT_EQ(PageContents(*pdf.Document())[0], "/F0 10 Tf\n");
    EXPECT_EQ(pdf.Document()->GetCanvas().CurrentPageWidth(), 842);
    pdf.PdfChartPage("05/03/2024", "", false);
    EXPECT_EQ(PageCount(), 1u);
    const PageDrawing page = Page(0);
    ExpectTextAt(page, "Overview ACME", 30, 565);
    ExpectTextAt(page, "Site A", 30, 540);
    ExpectTextAt(page, "KESTROVA", 685, 552);
    ExpectTextAt(page, "Guard Tour Systems", 687, 542);
    ExpectTextAt(page, "05/03/2024", 35, 515);
    ExpectTextAt(page, "", 35, 505);
    ExpectTextAt(page, "Chart footer", 30, 15);
    EXPECT_TRUE(HasRect(page, kPdfLightBlue, 30, 500, 782, 30));
    // The band is outlined by the stroke of the first column line.
    ASSERT_EQ(page.outlinedRects.size(), 1u);
    EXPECT_EQ(page.outlinedRects[0].w, 782);
    int columnLines = 0;
    for (const auto& l : page.lines)
        columnLines += l.y1 == 500 && l.y2 == 530 && l.x1 == l.x2 && l.width == 1;
    EXPECT_EQ(columnLines, 24);
    const float w = TimesWidth("00", 10.5f);
    ExpectTextAt(page, "00", static_cast<double>(201 - w / 2), 510);
    ExpectTextAt(page, "23", static_cast<double>(201 + 26 * 23 - w / 2), 510);
    const auto footer = page.Find("05/03/2024 14:07:09   Page 1");
    ASSERT_EQ(footer.size(), 1u);
    EXPECT_EQ(FormatPdfNumber(footer[0].x),
              FormatPdfNumber(
                  static_cast<double>(842 - TimesWidth("05/03/2024 14:07:09   Page 1", 14) - 30)));
    bool footerLine = false;
    for (const auto& l : page.lines)
        footerLine |= l.x1 == 20 && l.y1 == 30 && l.x2 == 822;
    EXPECT_TRUE(footerLine);
}

TEST_F(PdfChartTest, NightShiftLabelsStartAtTwelve) {
    BeginChart();
    pdf.PdfChartPage("Night : 04/03/2024 12:00", "   Morning : 05/03/2024 12:00", true);
    const PageDrawing page = Page(0);
    const float w = TimesWidth("12", 10.5f);
    ExpectTextAt(page, "12", static_cast<double>(201 - w / 2), 510);
    ExpectTextAt(page, "11", static_cast<double>(201 + 26 * 23 - TimesWidth("11", 10.5f) / 2), 510);
    ExpectTextAt(page, "00", static_cast<double>(201 + 26 * 12 - TimesWidth("00", 10.5f) / 2), 510);
}

TEST_F(PdfChartTest, RowWithThreeTimesInHour14) {
    BeginChart();
    pdf.PdfChartPage("05/03/2024", "", false);
    pdf.PdfChartRow({"14:01", "14:20", "14:45"}, "Main gate", 3);
    const PageDrawing page = Page(0);
    EXPECT_EQ(pdf.CurrentLine(), 455);
    EXPECT_TRUE(HasRect(page, kPdfLightBlue, 30, 455, 158, 45));
    ExpectTextAt(page, "Main gate", 35, 477.5);
    EXPECT_TRUE(HasRect(page, kPdfChartGreen, 188 + 26 * 14, 455, 26, 45));
    EXPECT_EQ(page.RectsIn(ToRgb(kPdfChartGreen)).size(), 1u);
    const double centre = 201 + 26 * 14;
    const char* times[] = {"14:01", "14:20", "14:45"};
    for (int k = 0; k < 3; ++k) {
        const auto found = page.Find(times[k]);
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].y, 500 - 11 - 15 * k);
        EXPECT_EQ(FormatPdfNumber(found[0].x),
                  FormatPdfNumber(centre - static_cast<double>(TimesWidth(times[k], 10.5f)) / 2));
        EXPECT_EQ(found[0].fill, ToRgb(kPdfBlack));
    }
    int grid = 0, box = 0;
    for (const auto& l : page.lines) {
        grid += l.y1 == 455 && l.y2 == 500 && l.x1 == l.x2 && l.x1 >= 188;
        box += (l.y1 == 455 && l.y2 == 455) || (l.y1 == 500 && l.y2 == 500 && l.x1 == 812);
    }
    EXPECT_EQ(grid, 24 + 1); // 24 column lines and the right side of the box
    EXPECT_EQ(box, 2);
}

TEST_F(PdfChartTest, TimeOf1230IsCentredAt18904) {
    BeginChart();
    pdf.PdfChartPage("d", "", false);
    pdf.PdfChartRow({"00:10", "12:30"}, "x", 2);
    const auto lines = testing::ContentLines(PageContents(*pdf.Document())[0]);
    const double x12 = 201 + 26 * 12 - static_cast<double>(TimesWidth("12:30", 10.5f)) / 2;
    EXPECT_NE(std::find(lines.begin(), lines.end(), FormatPdfNumber(x12) + " 489 Td"), lines.end());
    EXPECT_NE(std::find(lines.begin(), lines.end(), "189.04 489 Td"), lines.end()); // "00:10"
}

TEST_F(PdfChartTest, NightShiftPutsNoonFirstAndElevenLast) {
    BeginChart();
    pdf.PdfChartPage("n1", "n2", true);
    pdf.PdfChartRow({"12:05", "23:59", "00:01", "11:55"}, "Tower", 2);
    const PageDrawing page = Page(0);
    EXPECT_TRUE(HasRect(page, kPdfChartGreen, 188, 470, 26, 30));
    EXPECT_TRUE(HasRect(page, kPdfChartGreen, 188 + 26 * 11, 470, 26, 30));
    EXPECT_TRUE(HasRect(page, kPdfChartGreen, 188 + 26 * 12, 470, 26, 30));
    EXPECT_TRUE(HasRect(page, kPdfChartGreen, 188 + 26 * 23, 470, 26, 30));
    EXPECT_EQ(page.Find("12:05")[0].y, 489);
    EXPECT_EQ(page.Find("11:55")[0].y, 489);
}

TEST_F(PdfChartTest, EmptyTimesDrawNameCellGridAndOutlineOnly) {
    BeginChart();
    pdf.PdfChartPage("d", "", false);
    const std::size_t before = Page(0).texts.size();
    pdf.PdfChartRow({}, "Empty", 2);
    const PageDrawing page = Page(0);
    EXPECT_TRUE(page.RectsIn(ToRgb(kPdfChartGreen)).empty());
    EXPECT_EQ(page.texts.size(), before + 1);
    int rowLines = 0;
    for (const auto& l : page.lines)
        rowLines += l.y1 <= 500 && l.y2 <= 500 && l.y1 >= 470 && l.y2 >= 470 &&
                    !(l.y1 == 500 && l.y2 == 530);
    EXPECT_EQ(rowLines, 24 + 4);
}

TEST_F(PdfChartTest, TimesOfAnHourWithoutItsColumnStopTheWalk) {
    // The cursor only moves on when its hour's column comes; later columns stay empty.
    BeginChart();
    pdf.PdfChartPage("d", "", false);
    pdf.PdfChartRow({"05:00", "03:00"}, "Odd order", 2);
    const PageDrawing page = Page(0);
    EXPECT_EQ(page.RectsIn(ToRgb(kPdfChartGreen)).size(), 1u);
    EXPECT_FALSE(page.HasText("03:00"));
}

TEST_F(PdfChartTest, NonNumericHourIsAConversionError) {
    BeginChart();
    pdf.PdfChartPage("d", "", false);
    EXPECT_THROW(pdf.PdfChartRow({"ab:cd"}, "x", 2), kestrova::ConversionError);
}

TEST_F(PdfChartTest, PageNumbersRiseOnEveryChartPageContinuationsIncluded) {
    BeginChart();
    pdf.PdfChartPage("Day 1", "second", false);
    for (int i = 0; i < 15; ++i) // 470 … 50
        pdf.PdfChartRow({"08:00"}, "Row " + std::to_string(i), 2);
    EXPECT_EQ(PageCount(), 1u);
    pdf.PdfChartRow({"08:00"}, "Row 15", 2); // does not fit: continuation page
    ASSERT_EQ(PageCount(), 2u);
    EXPECT_EQ(pdf.CurrentLine(), 470);
    const PageDrawing page2 = Page(1);
    ExpectTextAt(page2, "Day 1", 35, 515);
    ExpectTextAt(page2, "second", 35, 505);
    ExpectTextAt(page2, "Row 15", 35, 485);
    EXPECT_TRUE(page2.HasText("05/03/2024 14:07:09   Page 2"));
    pdf.PdfChartPage("Day 2", "", false);
    ASSERT_EQ(PageCount(), 3u);
    EXPECT_TRUE(Page(2).HasText("05/03/2024 14:07:09   Page 3"));
    EXPECT_TRUE(Page(0).HasText("05/03/2024 14:07:09   Page 1"));
    EXPECT_EQ(pdf.PageCounter(), 4);
}

// --- no document, messages and saving --------------------------------------------------------

TEST_F(PdfPrintTest, DrawingWithoutDocumentFailsAndDrawsNothing) {
    EXPECT_FALSE(pdf.HasDocument());
    const std::string message = "GetCanvas --Document is null";
    ExpectThrowWithMessage<EPdfInvalidOperation>(
        [&] { pdf.PdfAddClocking("d", "t", "l", false, 0); }, message);
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { pdf.PdfAddText("x"); }, message);
    ExpectThrowWithMessage<EPdfInvalidOperation>(
        [&] { pdf.PdfAddFrequencyTable("t", "n", "c", {"a"}, {"1"}); }, message);
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { pdf.PdfChartPage("a", "b", false); },
                                                 message);
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { pdf.PdfChartRow({"01:00"}, "n", 2); },
                                                 message);
    EXPECT_EQ(pdf.CurrentLine(), 0); // state untouched
}

TEST_F(PdfPrintTest, SaveWithoutDocumentFailsAndWritesNoFile) {
    TempDir dir;
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { pdf.PdfSave(dir / "Report.pdf"); },
                                                 "SaveToStream --there is no document to save.");
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(PdfPrintTest, SaveWritesTheFileAndReleasesTheDocument) {
    TempDir dir;
    kestrova::testing::writeFile(dir / "Report.pdf", "old report");
    Begin();
    AddRows(3);
    const std::string expected = pdf.Document()->SaveToString();
    pdf.PdfSave(dir / "Report.pdf");
    EXPECT_FALSE(pdf.HasDocument());
    EXPECT_EQ(pdf.Document(), nullptr);
    EXPECT_EQ(kestrova::testing::readFile(dir / "Report.pdf"), expected);
    // Nothing else is left in the directory (no temporary file).
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
    // After a save the next drawing call needs a begin.
    EXPECT_THROW(pdf.PdfAddText("x"), EPdfInvalidOperation);
}

TEST_F(PdfPrintTest, SaveToAFileThatCannotBeCreatedKeepsTheDocument) {
    TempDir dir;
    Begin();
    const fs::path bad = dir / "missing" / "Report.pdf";
    ExpectThrowWithMessage<kestrova::IoError>([&] { pdf.PdfSave(bad); },
                                              "Cannot create file \"" + bad.string() +
                                                  "\". No such file or directory");
    EXPECT_TRUE(pdf.HasDocument());
    EXPECT_FALSE(fs::exists(dir / "missing"));
    pdf.PdfSave(dir / "Report.pdf");
    EXPECT_TRUE(fs::exists(dir / "Report.pdf"));
}

TEST_F(PdfPrintTest, SaveOverADirectoryFailsAsCannotCreateAndLeavesNoTemporaryFile) {
    TempDir dir;
    fs::create_directory(dir / "Report.pdf");
    Begin();
    EXPECT_THROW(pdf.PdfSave(dir / "Report.pdf"), kestrova::IoError);
    EXPECT_TRUE(pdf.HasDocument());
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir.path()))
        ++entries;
    EXPECT_EQ(entries, 1u);
}

TEST_F(PdfPrintTest, SaveOfADocumentWithoutPageReleasesItAndWritesNothing) {
    TempDir dir;
    Begin();
    pdf.Document()->StartDocument(); // an open document without pages
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { pdf.PdfSave(dir / "r.pdf"); },
                                                 "GetPage --the Page is nil");
    EXPECT_FALSE(pdf.HasDocument());
    EXPECT_TRUE(fs::is_empty(dir.path()));
}

TEST_F(PdfPrintTest, BeginAbandonsAnUnsavedDocument) {
    Begin();
    AddRows(200);
    EXPECT_EQ(PageCount(), 2u);
    pdf.PdfBeginChart("c", "f", "s");
    EXPECT_EQ(PageCount(), 1u);
    EXPECT_EQ(pdf.CurrentStyle(), PdfPrint::Style::Landscape);
    Begin();
    EXPECT_EQ(PageCount(), 1u);
    EXPECT_EQ(pdf.CurrentStyle(), PdfPrint::Style::Portrait);
}

TEST_F(PdfPrintTest, MessagesAreIndexedFromMessageOne) {
    std::vector<std::string> messages;
    for (int number = 1; number <= 205; ++number)
        messages.push_back("m" + std::to_string(number));
    pdf.PdfSetMessages(messages);
    EXPECT_EQ(pdf.Message(1), "m1");
    EXPECT_EQ(pdf.Message(165), "m165");
    EXPECT_EQ(pdf.Message(199), "m199");
    EXPECT_EQ(pdf.Message(200), "");
    EXPECT_EQ(pdf.Message(0), "");
    pdf.PdfSetMessages(std::vector<std::string>{"only one"});
    EXPECT_EQ(pdf.Message(1), "only one");
    EXPECT_EQ(pdf.Message(165), "");
    PdfPrint fresh(clock, locale);
    EXPECT_EQ(fresh.Message(169), "");
    fresh.PdfBeginReport("t", "f", "s");
    EXPECT_TRUE(Interpret(PageContents(*fresh.Document())[0]).HasText("05/03/2024 14:07:09    1"));
}

TEST_F(PdfPrintTest, DocumentDatesComeFromTheClock) {
    clock.time = {2023, 11, 2, 8, 5, 1, 0};
    Begin();
    const std::string bytes = pdf.Document()->SaveToString();
    EXPECT_NE(bytes.find("/CreationDate (D:20231102080501)"), std::string::npos);
    EXPECT_TRUE(Page(0).HasText("02/11/2023 08:05:01   Page 1"));
}

} // namespace
} // namespace kestrova::pdf
