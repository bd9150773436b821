// The PDF document writer, to the byte.
#include "PdfTestSupport.h"
#include "core/testing/FakeDesktop.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfFonts.h"
#include "pdf/PdfTypes.h"

#include <gtest/gtest.h>
#include <sstream>

namespace kestrova::pdf {
namespace {

using kestrova::testing::FakeClock;
using testing::ContentLines;
using testing::ExpectThrowWithMessage;
using testing::PageContents;
using testing::PageDictionaries;

std::string Write(const TPdfObject& object) {
    std::string out;
    object.WriteValueToStream(out);
    return out;
}

class PdfWriterTest : public ::testing::Test {
protected:
    FakeClock clock; // 2024-03-05 14:07:09
    TPdfDoc doc{clock};
};

// --- number, text and name forms -------------------------------------------------------------

TEST(PdfNumberForm, ExamplesOfPart62) {
    EXPECT_EQ(FormatPdfNumber(750), "750");
    EXPECT_EQ(FormatPdfNumber(10.5), "10.5");
    EXPECT_EQ(FormatPdfNumber(0.647), "0.65");
    EXPECT_EQ(FormatPdfNumber(189.0405), "189.04");
    EXPECT_EQ(FormatPdfNumber(201 - 11.9595), "189.04");
    EXPECT_EQ(FormatPdfNumber(1.5), "1.5");
    EXPECT_EQ(FormatPdfNumber(0), "0");
    EXPECT_EQ(FormatPdfNumber(0.004), "0");
    EXPECT_EQ(FormatPdfNumber(0.005), "0.01");
    EXPECT_EQ(FormatPdfNumber(12.3), "12.3");
    // Below zero the same rounding holds (-20 must not come out as -19.99).
    EXPECT_EQ(FormatPdfNumber(-20), "-20");
    EXPECT_EQ(FormatPdfNumber(-1), "-1");
    EXPECT_EQ(FormatPdfNumber(-0.647), "-0.65");
    EXPECT_EQ(FormatPdfNumber(-87.99), "-87.99");
    EXPECT_EQ(FormatPdfNumber(-0.004), "0");
}

TEST(PdfNumberForm, ColourComponents) {
    EXPECT_EQ(FormatPdfNumber(0xA5 / 255.0), "0.65");
    EXPECT_EQ(FormatPdfNumber(0x2A / 255.0), "0.16");
    EXPECT_EQ(FormatPdfNumber(0x80 / 255.0), "0.5");
    EXPECT_EQ(FormatPdfNumber(0xE0 / 255.0), "0.88");
    EXPECT_EQ(FormatPdfNumber(0xFF / 255.0), "1");
}

TEST(PdfTextForm, EscapesParenthesesBackslashAndControls) {
    EXPECT_EQ(FormatPdfText("a(b)c"), "(a\\(b\\)c)");
    EXPECT_EQ(FormatPdfText("C:\\dir"), "(C:\\\\dir)");
    EXPECT_EQ(FormatPdfText("1\r2\n3\t4\b5\f6"), "(1\\r2\\n3\\t4\\b5\\f6)");
    EXPECT_EQ(FormatPdfText(""), "()");
    // Windows-1252 bytes go in as they are; other control bytes too.
    EXPECT_EQ(FormatPdfText("Caf\xE9 \x80\x01"), "(Caf\xE9 \x80\x01)");
    EXPECT_EQ(FormatPdfHexText("A\xE9"), "<41E9>");
}

TEST(PdfNameForm, EscapesDelimitersAndOutOfRangeBytes) {
    EXPECT_EQ(FormatPdfName("Font"), "/Font");
    EXPECT_EQ(FormatPdfName("A B"), "/A#20B");
    EXPECT_EQ(FormatPdfName("#%()/<>[]{}"), "/#23#25#28#29#2F#3C#3E#5B#5D#7B#7D");
    EXPECT_EQ(FormatPdfName("\xE9~!"), "/#E9~!");
}

// --- object kinds ----------------------------------------------------------------------------

TEST(PdfObjects, ValuesOfEachKind) {
    EXPECT_EQ(Write(TPdfNull()), "null");
    EXPECT_EQ(Write(TPdfNumber(-2147483647 - 1)), "-2147483648");
    EXPECT_EQ(Write(TPdfText("x(y)")), "(x\\(y\\))");
    EXPECT_EQ(Write(TPdfName("Type1")), "/Type1");
    EXPECT_EQ(Write(TPdfArray()), "[]");
    TPdfArray array;
    array.AddItem(std::make_shared<TPdfNumber>(0));
    array.AddItem(std::make_shared<TPdfName>("PDF"));
    EXPECT_EQ(Write(array), "[0 /PDF ]");
    EXPECT_EQ(Write(TPdfDictionary()), "<<\r\n>>");
    EXPECT_EQ(Write(TPdfVirtualObject(12, 0)), "12 0 R");
}

TEST(PdfObjects, DictionaryKeepsOrderAndReplacedKeyMovesToTheEnd) {
    TPdfDictionary dict;
    dict.AddItem("A", std::make_shared<TPdfNumber>(1));
    dict.AddItem("B", std::make_shared<TPdfNumber>(2));
    dict.AddInternalItem("Hidden", std::make_shared<TPdfNumber>(9));
    dict.AddItem("A", std::make_shared<TPdfNumber>(3));
    EXPECT_EQ(Write(dict), "<<\r\n/B 2\r\n/A 3\r\n>>");
    ASSERT_NE(dict.PdfNumberByName("Hidden"), nullptr);
    EXPECT_EQ(dict.PdfNumberByName("Hidden")->Value(), 9);
}

TEST(PdfObjects, IndirectObjectsAreStoredAsReferences) {
    TPdfXref xref;
    auto font = std::make_shared<TPdfDictionary>();
    xref.AddObject(std::make_shared<TPdfNull>());
    xref.AddObject(font);
    EXPECT_EQ(font->ObjectNumber(), 2);
    TPdfDictionary dict;
    dict.AddItem("F0", font);
    TPdfArray array;
    array.AddItem(font);
    EXPECT_EQ(Write(dict), "<<\r\n/F0 2 0 R\r\n>>");
    EXPECT_EQ(Write(array), "[2 0 R ]");
    EXPECT_EQ(xref.GetObject(2), font);
    EXPECT_EQ(xref.GetObject(3), nullptr);
}

TEST(PdfObjects, RegisteringTwiceFails) {
    TPdfXref xref;
    auto object = std::make_shared<TPdfNumber>(1);
    xref.AddObject(object);
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { xref.AddObject(object); },
                                                 "AddObject --wrong object type.");
    ExpectThrowWithMessage<EPdfInvalidOperation>(
        [&] { xref.AddObject(std::make_shared<TPdfVirtualObject>(1, 0)); },
        "AddObject --wrong object type.");
}

TEST(PdfObjects, EntryWithoutValueFailsWhenWritten) {
    TPdfDictionary dict;
    dict.AddItem("Bad", nullptr);
    ExpectThrowWithMessage<EPdfInvalidValue>([&] { Write(dict); }, "internal error. wrong object.");
}

TEST(PdfObjects, StreamWritesLengthOfItsDataWithoutTheFinalLineFeed) {
    TPdfStream stream;
    stream.Append("0 0 m\n");
    EXPECT_EQ(Write(stream), "<<\r\n/Length 6\r\n/Filter []\r\n>>\r\nstream\r\n0 0 m\n\nendstream");
}

// --- the document ----------------------------------------------------------------------------

TEST_F(PdfWriterTest, OperationsWithoutDocumentFail) {
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { doc.AddPage(); },
                                                 "AddPage --current pages null.");
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { doc.GetCanvas(); },
                                                 "GetCanvas --Document is null");
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { doc.GetFont("Arial"); },
                                                 "GetFont --document is null.");
    std::ostringstream out;
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { doc.SaveToStream(out); },
                                                 "SaveToStream --there is no document to save.");
    EXPECT_TRUE(out.str().empty());
}

TEST_F(PdfWriterTest, SaveWithoutPageFails) {
    doc.StartDocument();
    std::ostringstream out;
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { doc.SaveToStream(out); },
                                                 "GetPage --the Page is nil");
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { doc.GetCanvas().PathMove(1, 2); },
                                                 "GetPage --the Page is nil");
}

TEST_F(PdfWriterTest, OneEmptyPageToTheByte) {
    doc.StartDocument();
    doc.AddPage();
    std::ostringstream stream;
    doc.SaveToStream(stream);
    const std::string bytes = stream.str();

    const std::vector<std::string> objects = {
        "1 0 obj\r\n<<\r\n/Type /Catalog\r\n/Pages 3 0 R\r\n>>\r\nendobj\r\n",
        "2 0 obj\r\n<<\r\n/Producer (KestrovaPdf version 0.9)\r\n"
        "/CreationDate (D:20240305140709)\r\n/ModDate (D:20240305140709)\r\n>>\r\nendobj\r\n",
        "3 0 obj\r\n<<\r\n/Type /Pages\r\n/Kids [4 0 R ]\r\n/Count 1\r\n>>\r\nendobj\r\n",
        "4 0 obj\r\n<<\r\n/Type /Page\r\n/Parent 3 0 R\r\n/MediaBox [0 0 595 842 ]\r\n"
        "/Resources <<\r\n/Font <<\r\n/F0 6 0 R\r\n>>\r\n/XObject <<\r\n>>\r\n"
        "/ProcSet [/PDF /Text /ImageC ]\r\n>>\r\n/Contents 5 0 R\r\n>>\r\nendobj\r\n",
        "5 0 obj\r\n<<\r\n/Length 10\r\n/Filter []\r\n>>\r\nstream\r\n/F0 10 Tf\n\n"
        "endstream\r\nendobj\r\n",
        "6 0 obj\r\n<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/Encoding /WinAnsiEncoding\r\n"
        "/FirstChar 32\r\n/LastChar 255\r\n/BaseFont /Helvetica\r\n/Name /F0\r\n>>\r\n"
        "endobj\r\n",
    };
    std::string expected = "%PDF-1.2 \r\n";
    std::vector<std::size_t> offsets;
    for (const auto& object : objects) {
        offsets.push_back(expected.size());
        expected += object;
    }
    const std::size_t xref = expected.size();
    expected += "xref\r\n0 7\r\n0000000000 65535 f\r\n";
    for (const auto offset : offsets) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n\r\n", offset);
        expected += entry;
    }
    expected += "trailer\r\n<<\r\n/Size 7\r\n/Root 1 0 R\r\n/Info 2 0 R\r\n>>\r\nstartxref\r\n" +
                std::to_string(xref) + "\r\n%%EOF\r\n";
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(doc.Xref().ItemCount(), 7u);
}

TEST_F(PdfWriterTest, HeaderIsElevenBytesAndObjectOneStartsThere) {
    doc.StartDocument();
    doc.AddPage();
    const std::string bytes = doc.SaveToString();
    EXPECT_EQ(bytes.substr(0, 11), "%PDF-1.2 \r\n");
    EXPECT_EQ(bytes.substr(11, 9), "1 0 obj\r\n");
    const auto xref = bytes.find("xref\r\n");
    ASSERT_NE(xref, std::string::npos);
    EXPECT_EQ(bytes.substr(xref, 51),
              "xref\r\n0 7\r\n0000000000 65535 f\r\n0000000011 00000 n\r\n");
    // startxref names the offset of the xref keyword.
    const auto start = bytes.find("startxref\r\n");
    EXPECT_EQ(bytes.substr(start + 11, bytes.find("\r\n", start + 11) - start - 11),
              std::to_string(xref));
}

TEST_F(PdfWriterTest, StartDocumentDiscardsTheOpenDocument) {
    doc.StartDocument();
    doc.AddPage();
    doc.AddPage();
    doc.StartDocument();
    EXPECT_EQ(doc.Xref().ItemCount(), 4u); // entry 0, catalog, info, page tree
    EXPECT_FALSE(doc.GetCanvas().HasPage());
    doc.AddPage();
    EXPECT_EQ(doc.GetCanvas().Page()->ObjectNumber(), 4);
}

TEST_F(PdfWriterTest, CanvasOperationsWriteOneLineEach) {
    doc.StartDocument();
    doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    c.SetStrokeRgb(0x2A2AA5);
    c.SetFillRgb(0x00E080);
    c.SetFillRgb(-5);
    c.SetPenWidth(1.5f);
    c.PathMove(20, 807);
    c.PathLine(201 - 11.9595f, 30);
    c.PathRect(30, 750, 253, 30);
    c.StrokePath();
    c.FillPath();
    c.PlaceText(30, 812, "Site (A)");
    const auto lines = ContentLines(PageContents(doc)[0]);
    const std::vector<std::string> expected = {
        "/F0 10 Tf", "0.65 0.16 0.16 RG", "0.5 0.88 0 rg",     "0 0 0 rg", "1.5 w",
        "20 807 m",  "189.04 30 l",       "30 750 253 30 re",  "S",        "f",
        "BT",        "30 812 Td",         "(Site \\(A\\)) Tj", "ET"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(PageContents(doc)[0].back(), '\n');
    EXPECT_EQ(PageContents(doc)[0].find('\r'), std::string::npos);
}

TEST_F(PdfWriterTest, SameFontAndSizeTwiceSelectsOnce) {
    doc.StartDocument();
    doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    c.SelectFont("Times-Roman", 10);
    c.SelectFont("Times-Roman", 10);
    c.SelectFont("Arial", 10); // back to F0
    c.SelectFont("Arial", 10.5f);
    c.SelectFont("Arial", 10.5f);
    const auto lines = ContentLines(PageContents(doc)[0]);
    const std::vector<std::string> expected = {"/F0 10 Tf", "/F1 10 Tf", "/F0 10 Tf",
                                               "/F0 10.5 Tf"};
    EXPECT_EQ(lines, expected);
    // The default selection at the start of the page is not repeated either.
    EXPECT_EQ(doc.FontCount(), 2u);
}

TEST_F(PdfWriterTest, FontSizeOutOfRangeFailsAfterItsTfLine) {
    doc.StartDocument();
    doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    ExpectThrowWithMessage<EPdfInvalidValue>([&] { c.SelectFont("Arial", 301); },
                                             "SetCharSpace --invalid font size");
    ExpectThrowWithMessage<EPdfInvalidValue>([&] { c.SelectFont("Times-Roman", -1); },
                                             "SetCharSpace --invalid font size");
    c.SelectFont("Times-Roman", 300);
    c.SelectFont("Times-Roman", 0);
    const std::vector<std::string> expected = {"/F0 10 Tf", "/F0 301 Tf", "/F1 -1 Tf", "/F1 300 Tf",
                                               "/F1 0 Tf"};
    EXPECT_EQ(ContentLines(PageContents(doc)[0]), expected);
}

TEST_F(PdfWriterTest, UnknownFontClassFails) {
    doc.StartDocument();
    doc.AddPage();
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { doc.GetFont("Comic"); },
                                                 "Class Comic not found");
    ExpectThrowWithMessage<EPdfInvalidOperation>([&] { doc.GetCanvas().SelectFont("arial", 10); },
                                                 "Class arial not found");
}

TEST_F(PdfWriterTest, SecondPageSelectsF0AgainAndListsItInItsResources) {
    doc.StartDocument();
    doc.AddPage();
    doc.GetCanvas().SelectFont("Times-Roman", 12);
    doc.AddPage();
    doc.GetCanvas().SelectFont("Times-Roman", 12);
    const auto contents = PageContents(doc);
    ASSERT_EQ(contents.size(), 2u);
    EXPECT_EQ(contents[1], "/F0 10 Tf\n/F1 12 Tf\n");
    const auto pages = PageDictionaries(doc);
    std::string resources;
    pages[1]->PdfDictionaryByName("Resources")->WriteValueToStream(resources);
    EXPECT_EQ(resources, "<<\r\n/Font <<\r\n/F0 6 0 R\r\n/F1 7 0 R\r\n>>\r\n/XObject <<\r\n>>"
                         "\r\n/ProcSet [/PDF /Text /ImageC ]\r\n>>");
    // Page 2 and its contents take the next two numbers after the font.
    EXPECT_EQ(pages[1]->ObjectNumber(), 8);
    EXPECT_EQ(pages[1]->ValueByName("Contents")->ObjectNumber(), 9);
    EXPECT_EQ(doc.Pages()->PdfNumberByName("Count")->Value(), 2);
}

TEST_F(PdfWriterTest, PageSizeIsTakenFromTheHolder) {
    doc.SetDefaultPageWidth(842);
    doc.SetDefaultPageHeight(595);
    doc.StartDocument();
    doc.AddPage();
    EXPECT_EQ(doc.GetCanvas().CurrentPageWidth(), 842.0f);
    std::string box;
    PageDictionaries(doc)[0]->ValueByName("MediaBox")->WriteValueToStream(box);
    EXPECT_EQ(box, "[0 0 842 595 ]");
}

TEST_F(PdfWriterTest, MeasureTextInSinglePrecision) {
    doc.StartDocument();
    doc.AddPage();
    TPdfCanvas& c = doc.GetCanvas();
    c.SelectFont("Times-Roman", 10.5f);
    EXPECT_FLOAT_EQ(c.MeasureText("12:30"), 23.919f);
    EXPECT_EQ(FormatPdfNumber(static_cast<double>(201 - c.MeasureText("12:30") / 2)), "189.04");
    c.SelectFont("FixedWidth-Bold", 24);
    EXPECT_FLOAT_EQ(c.MeasureText("KESTROVA"), 8 * 600 * 24 / 1000.0f);
    c.SelectFont("Arial", 10);
    EXPECT_FLOAT_EQ(c.MeasureText(" @0"), (278 + 1015 + 556) / 100.0f);
    EXPECT_FLOAT_EQ(c.MeasureText(""), 0.0f);
}

TEST_F(PdfWriterTest, SaveSetsModDateAndDropsOpenAction) {
    doc.StartDocument();
    doc.AddPage();
    doc.Root().Data()->AddItem("OpenAction", std::make_shared<TPdfNull>());
    clock.time = {2025, 12, 31, 23, 59, 58, 0};
    const std::string bytes = doc.SaveToString();
    EXPECT_NE(bytes.find("/CreationDate (D:20240305140709)\r\n/ModDate (D:20251231235958)"),
              std::string::npos);
    EXPECT_EQ(bytes.find("OpenAction"), std::string::npos);
}

// --- fonts -----------------------------------------------------------------------------------

TEST_F(PdfWriterTest, FontDictionariesOfAllTwelveFonts) {
    doc.StartDocument(); // no page yet, so no font is created before the loop
    std::size_t index = 0;
    for (const auto& info : PdfFontClasses()) {
        TPdfFont& font = doc.GetFont(info.fontName);
        EXPECT_EQ(font.Name(), info.fontName);
        std::string dict;
        font.Data()->WriteValueToStream(dict);
        const std::string name = "F" + std::to_string(index);
        EXPECT_EQ(dict, "<<\r\n/Type /Font\r\n/Subtype /Type1\r\n/Encoding /WinAnsiEncoding\r\n"
                        "/FirstChar 32\r\n/LastChar 255\r\n/BaseFont /" +
                            std::string(info.baseFont) + "\r\n/Name /" + name + "\r\n>>")
            << info.fontName;
        EXPECT_EQ(font.ResourceName(), name);
        ++index;
    }
    EXPECT_EQ(index, 12u);
    // Registered in creation order after catalog, information and page tree.
    EXPECT_EQ(doc.GetFont("FixedWidth").Data()->ObjectNumber(), 4);
}

const TPdfWidthTable& WidthsOf(TPdfDoc& doc, const std::string& fontName) {
    return dynamic_cast<const TPdfType1Font&>(doc.GetFont(fontName)).Widths();
}

TEST_F(PdfWriterTest, WidthTablesHoldTheTellingValues) {
    doc.StartDocument();
    const auto& helvetica = WidthsOf(doc, "Arial");
    const auto& times = WidthsOf(doc, "Times-Roman");
    EXPECT_EQ(helvetica[' '], 278);
    EXPECT_EQ(times[' '], 250);
    for (char digit = '0'; digit <= '9'; ++digit) {
        EXPECT_EQ(helvetica[static_cast<unsigned char>(digit)], 556);
        EXPECT_EQ(times[static_cast<unsigned char>(digit)], 500);
    }
    EXPECT_EQ(helvetica['@'], 1015);
    EXPECT_EQ(times['@'], 921);
    EXPECT_EQ(helvetica[':'], 278);
    EXPECT_EQ(times[':'], 278);
    // A few more of the published metrics, incl. WinAnsi-only codes.
    EXPECT_EQ(helvetica['\''], 191); // quotesingle
    EXPECT_EQ(helvetica[0x80], 556); // Euro
    EXPECT_EQ(helvetica[0x95], 350); // bullet
    EXPECT_EQ(times[0x99], 980);     // trademark
    EXPECT_EQ(times[0xE9], 444);     // eacute
    EXPECT_EQ(WidthsOf(doc, "Arial-Bold")['@'], 975);
    EXPECT_EQ(WidthsOf(doc, "Times-Bold")['@'], 930);
}

TEST_F(PdfWriterTest, WidthTablesHoldTheZeroEntries) {
    doc.StartDocument();
    for (const auto& info : PdfFontClasses()) {
        const auto& widths = WidthsOf(doc, info.fontName);
        const bool courier = std::string(info.baseFont).starts_with("Courier");
        for (int code = 0; code < 256; ++code) {
            const auto w = widths[static_cast<std::size_t>(code)];
            if (code < 32 || code == 255) {
                EXPECT_EQ(w, 0) << info.fontName << " " << code;
            } else if (courier) {
                EXPECT_EQ(w, 600) << info.fontName << " " << code;
            } else {
                const bool zero = code == 127 || code == 129 || code == 141 || code == 143 ||
                                  code == 144 || code == 157 || code == 160 || code == 173;
                if (zero)
                    EXPECT_EQ(w, 0) << info.fontName << " " << code;
                else
                    EXPECT_GT(w, 0) << info.fontName << " " << code;
            }
        }
    }
}

TEST_F(PdfWriterTest, CharWidthOutsideTheTextIsZero) {
    doc.StartDocument();
    const TPdfFont& font = doc.GetFont("Arial");
    EXPECT_EQ(font.GetCharWidth("A", 0), 667);
    EXPECT_EQ(font.GetCharWidth("A", 1), 0);
}

} // namespace
} // namespace kestrova::pdf
