// pdfprint: the program's PDF reports drawn on the PDF document writer (PdfDoc.h).
//
// `PdfPrint` holds the module state as an object: one current document and its layout
// state. Two page styles:
//   - portrait clocking report: PdfBeginReport, then PdfAddClocking / PdfAddText /
//     PdfAddFrequencyTable in reading order, then PdfSave;
//   - landscape overview chart: PdfBeginChart, then PdfChartPage and PdfChartRow, then PdfSave.
// The dates in the page footers and in the document information come from the clock and
// locale interfaces of core/. Only the user-interface thread uses an instance; it is not
// re-entrant.
//
// Several report sections in one document (the combined "Report.pdf"): PdfBeginReport for the
// first section, then PdfBeginSection for each further one: it starts a new page with the new
// section's banner and footer texts, page numbers running on. PdfBeginReport itself always
// abandons an unsaved document and starts a new one.
//
// With no current document (before the first begin, after a save):
//   - the drawing operations (PdfAddClocking, PdfAddText, PdfAddFrequencyTable, PdfChartPage,
//     PdfChartRow) throw EPdfInvalidOperation "GetCanvas --Document is null" and draw nothing;
//   - PdfSave throws EPdfInvalidOperation "SaveToStream --there is no document to save." and
//     touches no file, so no file is ever reported as written when none was. Callers that may
//     save with nothing begun (a combined report without sections) test HasDocument().
#pragma once

#include "core/Desktop.h"
#include "pdf/PdfDoc.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace kestrova::pdf {

// The report colours as writer colours (lowest byte red, then green, then blue).
constexpr std::int32_t PdfRgb(int red, int green, int blue) {
    return red | (green << 8) | (blue << 16);
}
inline constexpr std::int32_t kPdfBrown = PdfRgb(0xA5, 0x2A, 0x2A);
inline constexpr std::int32_t kPdfRed = PdfRgb(0xFF, 0x00, 0x00);
inline constexpr std::int32_t kPdfBlack = PdfRgb(0x00, 0x00, 0x00);
inline constexpr std::int32_t kPdfGrey = PdfRgb(0x80, 0x80, 0x80);
inline constexpr std::int32_t kPdfLightBlue = PdfRgb(0xA7, 0xD9, 0xFF);
inline constexpr std::int32_t kPdfRowGreen = PdfRgb(0x80, 0xE0, 0x80);
inline constexpr std::int32_t kPdfOrange = PdfRgb(0xE0, 0x80, 0x00);
inline constexpr std::int32_t kPdfYellow = PdfRgb(0xE0, 0xE0, 0x00);
inline constexpr std::int32_t kPdfChartGreen = PdfRgb(0x9E, 0xFF, 0x73);

class PdfPrint {
public:
    // Number of messages in the copy: messages 1 to 199.
    static constexpr int kMessageCount = 199;

    // The clock and locale objects must outlive this one.
    PdfPrint(const kestrova::Clock& clock, const kestrova::LocaleFormats& locale);
    ~PdfPrint();
    PdfPrint(const PdfPrint&) = delete;
    PdfPrint& operator=(const PdfPrint&) = delete;

    // Replaces the message copy. Indexing: messages[0] is message 1, messages[k] is message
    // k + 1, up to messages[198] = message 199. Missing entries become empty texts, entries
    // beyond 199 are ignored. Before the first call every message is empty.
    void PdfSetMessages(std::span<const std::string> messages);
    // Message `number` (1 to 199) of the copy; empty outside that range.
    const std::string& Message(int number) const;

    // Begins a portrait document (abandoning any unsaved one): banner, footer with page 1; the
    // first row goes to y 730. Errors while starting the document are ignored.
    void PdfBeginReport(const std::string& title, const std::string& footer,
                        const std::string& subtitle);
    // Extension for documents of several sections: with a portrait document current, starts a
    // new page for a new section: the new texts, page counter + 1, banner and footer, current
    // line as after a begin (first row at y 730), remembered date cleared. Errors while adding
    // the page are ignored, as at a column start. With no portrait document current it is
    // PdfBeginReport.
    void PdfBeginSection(const std::string& title, const std::string& footer,
                         const std::string& subtitle);
    // One clocking row. Callers pass 0 as number (above 0 it is printed at the right).
    void PdfAddClocking(const std::string& date, const std::string& time,
                        const std::string& location, bool separator, int number = 0);
    // One line of free text; an empty text adds an empty line.
    void PdfAddText(const std::string& text = {});
    // A two-column table; the k-th count belongs to the k-th name (a missing count is empty).
    // A table that fits a column is never split; rows of a table taller than a whole column
    // that would fall below the page's bottom margin go on at the top of the next column.
    void PdfAddFrequencyTable(const std::string& title, const std::string& nameHeading,
                              const std::string& countHeading,
                              const std::vector<std::string>& names,
                              const std::vector<std::string>& counts);

    // Begins a landscape document (abandoning any unsaved one). Nothing is drawn yet.
    void PdfBeginChart(const std::string& title, const std::string& footer,
                       const std::string& subtitle);
    // Starts a chart page with its heading band (the first one uses the begin's page).
    void PdfChartPage(const std::string& heading1, const std::string& heading2, bool night);
    // One checkpoint row of lineCount × 15 points. Each time text begins with its hour as two
    // digits (a non-numeric hour fails with kestrova::ConversionError); texts ordered by hour
    // column.
    void PdfChartRow(const std::vector<std::string>& times, const std::string& name, int lineCount);

    // A portrait listing (the exception report): the banner and footer of the clocking report
    // over full-width lines in a fixed-width font, so that columns laid out with blanks stay in
    // line. A heading is drawn in a light-blue band and drawn again at the top of every
    // continuation page while its rows go on; its rows are shaded in turn, the first one too.
    // A text line ends the rows of the last heading.
    enum class ListingLine { Text, Heading, Row };
    void PdfBeginListing(const std::string& title, const std::string& footer,
                         const std::string& subtitle);
    void PdfAddListingLine(const std::string& text, ListingLine kind);

    // Writes the current document to the file and releases it. The bytes go to a temporary
    // file beside the target, which is then renamed over it: a failure never leaves a half
    // written report, and an existing file stays as it was.
    //  - file cannot be created: kestrova::IoError "Cannot create file "<path>". <system
    //    error>"; nothing written, the document stays current until the next begin;
    //  - the writer fails (EPdfError) or writing fails (IoError "Cannot write file
    //    ..."): the document is released and the error propagates.
    void PdfSave(const std::filesystem::path& path);

    // Layout state, for callers and tests.
    bool HasDocument() const;
    enum class Style { None, Portrait, Landscape, Listing };
    Style CurrentStyle() const { return HasDocument() ? style_ : Style::None; }
    int PageCounter() const { return pageCounter_; }
    float CurrentLine() const { return currentLine_; }
    float ColumnOffset() const { return columnOffset_; }
    int RowCount() const { return rowCount_; }
    const std::string& RememberedDate() const { return rememberedDate_; }
    // The current document holder, null when none.
    TPdfDoc* Document() const { return doc_.get(); }

private:
    enum class ColumnStartKind { Clocking, Text, FrequencyTable };

    TPdfCanvas& Canvas();
    struct Headings {
        const std::string& title;
        const std::string& footer;
        const std::string& subtitle;
    };
    void StartReport(const Headings& headings, Style style, int firstPageCounter, float firstLine);
    void StartDocument(std::uint16_t width, std::uint16_t height);
    void PortraitBanner();
    void LandscapeBanner();
    void BannerHeading(float titleTop, float ruleEnd, float logoTop);
    void ColumnHeading(float offset);
    void PageFooter();
    void NewPortraitPage();
    void ColumnStart(ColumnStartKind kind);
    void Line(float x1, float y1, float x2, float y2, float width);
    void Box(float x, float y, float w, float h, float width);
    void FilledRect(float x, float y, float w, float h);
    void ListingPage();
    void ListingBand(const std::string& text);

    const kestrova::Clock& clock_;
    const kestrova::LocaleFormats& locale_;
    std::unique_ptr<TPdfDoc> doc_;
    Style style_ = Style::None;
    int pageCounter_ = 0;
    float currentLine_ = 0;
    float columnOffset_ = 0;
    int rowCount_ = 0;
    std::string rememberedDate_;
    std::string title_, footer_, subtitle_;
    std::string heading1_, heading2_;
    bool night_ = false;
    std::string listingHeading_; // the heading whose rows are being drawn, if any
    std::vector<std::string> messages_;
};

} // namespace kestrova::pdf
