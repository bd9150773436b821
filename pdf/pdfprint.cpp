#include "pdf/pdfprint.h"

#include "core/Errors.h"
#include "core/TextFile.h"

#include <cstdio>

namespace kestrova::pdf {

namespace fs = std::filesystem;

namespace {

constexpr std::uint16_t kPortraitWidth = 595;
constexpr std::uint16_t kPortraitHeight = 842;

const std::string kNoText;

std::string TwoDigits(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

} // namespace

PdfPrint::PdfPrint(const kestrova::Clock& clock, const kestrova::LocaleFormats& locale)
    : clock_(clock), locale_(locale), messages_(kMessageCount) {}

PdfPrint::~PdfPrint() = default;

void PdfPrint::PdfSetMessages(std::span<const std::string> messages) {
    for (std::size_t k = 0; k < messages_.size(); ++k)
        messages_[k] = k < messages.size() ? messages[k] : std::string();
}

const std::string& PdfPrint::Message(int number) const {
    if (number < 1 || number > kMessageCount)
        return kNoText;
    return messages_[static_cast<std::size_t>(number - 1)];
}

bool PdfPrint::HasDocument() const {
    return doc_ && doc_->HasDoc();
}

TPdfCanvas& PdfPrint::Canvas() {
    if (!doc_)
        throw EPdfInvalidOperation("GetCanvas --Document is null");
    return doc_->GetCanvas();
}

// --- shared drawing steps --------------------------------------------------------------------

void PdfPrint::Line(float x1, float y1, float x2, float y2, float width) {
    TPdfCanvas& c = Canvas();
    c.PathMove(x1, y1);
    c.PathLine(x2, y2);
    c.SetPenWidth(width);
    c.StrokePath();
}

void PdfPrint::Box(float x, float y, float w, float h, float width) {
    Line(x, y, x + w, y, width);
    Line(x, y, x, y + h, width);
    Line(x + w, y, x + w, y + h, width);
    Line(x + w, y + h, x, y + h, width);
}

void PdfPrint::FilledRect(float x, float y, float w, float h) {
    TPdfCanvas& c = Canvas();
    c.PathRect(x, y, w, h);
    c.FillPath();
}

// --- banners and footer ----------------------------------------------------------------------

void PdfPrint::PortraitBanner() {
    rowCount_ = 0;
    columnOffset_ = 0;
    BannerHeading(812, 425, 797);
    ColumnHeading(0);
    currentLine_ = 740;
}

// The light-blue band with the column titles over a column of clockings, `offset` points right
// of the left column.
void PdfPrint::ColumnHeading(float offset) {
    TPdfCanvas& c = Canvas();
    c.SetStrokeRgb(kPdfGrey);
    c.SetFillRgb(kPdfLightBlue);
    c.SetPenWidth(1);
    FilledRect(30 + offset, 750, 253, 30);
    c.SetFillRgb(kPdfBlack);
    c.SelectFont("Times-Roman", 10.5f);
    c.PlaceText(35 + offset, 760, Message(166));
    c.PlaceText(85 + offset, 760, Message(167));
    c.PlaceText(150 + offset, 760, Message(168));
    c.SetStrokeRgb(kPdfGrey);
    Line(40 + offset, 745, 273 + offset, 745, 1.5f);
}

void PdfPrint::LandscapeBanner() {
    BannerHeading(565, 672, 552);
}

// Title, subtitle and the rule under the title, with the logo text right of the rule; both
// orientations draw it alike, from the title's baseline, the rule's right end and the logo's
// baseline.
void PdfPrint::BannerHeading(float titleTop, float ruleEnd, float logoTop) {
    TPdfCanvas& c = Canvas();
    c.SetFillRgb(kPdfBrown);
    c.SelectFont("Arial-BoldItalic", 14);
    c.PlaceText(30, titleTop, title_);
    c.SelectFont("Arial-Bold", 18);
    c.PlaceText(30, titleTop - 25, subtitle_);
    c.SetStrokeRgb(kPdfBlack);
    Line(20, titleTop - 5, ruleEnd, titleTop - 5, 1.5f);
    c.SetFillRgb(kPdfRed);
    c.SelectFont("FixedWidth-Bold", 24);
    c.PlaceText(ruleEnd + 13, logoTop, "KESTROVA");
    c.SetFillRgb(kPdfBlack);
    c.SelectFont("FixedWidth-Bold", 13);
    c.PlaceText(ruleEnd + 15, logoTop - 10, Message(165));
}

void PdfPrint::PageFooter() {
    TPdfCanvas& c = Canvas();
    const float pageWidth = c.CurrentPageWidth();
    c.SetStrokeRgb(kPdfBlack);
    c.SetFillRgb(kPdfBrown);
    Line(20, 30, pageWidth - 20, 30, 1.5f);
    c.SelectFont("Times-Roman", 14);
    c.PlaceText(30, 15, footer_);
    const LocalDateTime now = clock_.now();
    const std::string right = locale_.shortDate(now) + " " + locale_.longTime(now) + "   " +
                              Message(169) + " " + std::to_string(pageCounter_ - 1);
    c.PlaceText(pageWidth - c.MeasureText(right) - 30, 15, right);
}

void PdfPrint::NewPortraitPage() {
    doc_->AddPage();
    PortraitBanner();
    PageFooter();
}

// --- portrait report -------------------------------------------------------------------------

void PdfPrint::StartDocument(std::uint16_t width, std::uint16_t height) {
    doc_.reset();
    try {
        doc_ = std::make_unique<TPdfDoc>(clock_);
        doc_->SetDefaultPageWidth(width);
        doc_->SetDefaultPageHeight(height);
        doc_->StartDocument();
        doc_->AddPage();
    } catch (const std::exception&) {
        // A report must not fail to begin; a document without its page fails later, when
        // drawn or saved.
    }
}

// The state every new document starts from, then the document itself in its orientation.
void PdfPrint::StartReport(const Headings& headings, Style style, int firstPageCounter,
                           float firstLine) {
    title_ = headings.title;
    footer_ = headings.footer;
    subtitle_ = headings.subtitle;
    pageCounter_ = firstPageCounter;
    currentLine_ = firstLine;
    rememberedDate_.clear();
    rowCount_ = 0;
    columnOffset_ = 0;
    style_ = style;
    if (style != Style::Landscape)
        StartDocument(kPortraitWidth, kPortraitHeight);
    else
        StartDocument(kPortraitHeight, kPortraitWidth);
}

void PdfPrint::PdfBeginReport(const std::string& title, const std::string& footer,
                              const std::string& subtitle) {
    StartReport({title, footer, subtitle}, Style::Portrait, 2, 750);
    try {
        PortraitBanner();
        PageFooter();
    } catch (const std::exception&) {
        // The banner and footer are decoration: their failure does not stop the report.
    }
}

void PdfPrint::PdfBeginSection(const std::string& title, const std::string& footer,
                               const std::string& subtitle) {
    if (CurrentStyle() != Style::Portrait) {
        PdfBeginReport(title, footer, subtitle);
        return;
    }
    title_ = title;
    footer_ = footer;
    subtitle_ = subtitle;
    ++pageCounter_;
    currentLine_ = 750;
    rememberedDate_.clear();
    try {
        NewPortraitPage();
    } catch (const std::exception&) {
        // As at a column start: errors while adding the page are ignored.
    }
    rowCount_ = 0;
    columnOffset_ = 0;
    currentLine_ = 740;
}

void PdfPrint::ColumnStart(ColumnStartKind kind) {
    rowCount_ = 0;
    if (kind != ColumnStartKind::Text)
        rememberedDate_.clear();
    currentLine_ = 750;
    if (columnOffset_ != 0) {
        // The right column is full: a new page.
        ++pageCounter_;
        columnOffset_ = 0;
        try {
            NewPortraitPage();
        } catch (const std::exception&) {
            // The rows go on even when the new page's banner or footer failed.
        }
        rowCount_ = 0;
        columnOffset_ = 0;
        currentLine_ = 740;
        if (kind != ColumnStartKind::FrequencyTable)
            currentLine_ -= 10;
        return;
    }
    // The left column is full: the right column.
    columnOffset_ = 283;
    switch (kind) {
    case ColumnStartKind::Clocking:
        try {
            ColumnHeading(columnOffset_);
        } catch (const std::exception&) {
            // The heading band is decoration: the rows go on without it.
        }
        currentLine_ = 730;
        break;
    case ColumnStartKind::Text:
        currentLine_ = 730;
        break;
    case ColumnStartKind::FrequencyTable:
        break;
    }
}

void PdfPrint::PdfAddClocking(const std::string& date, const std::string& time,
                              const std::string& location, bool separator, int number) {
    TPdfCanvas& c = Canvas();
    currentLine_ -= 10;
    if (currentLine_ < 40 || (separator && currentLine_ < 100))
        ColumnStart(ColumnStartKind::Clocking);
    const float offset = columnOffset_;
    c.SetStrokeRgb(kPdfGrey);
    if (separator && rowCount_ > 1) {
        const float y = currentLine_;
        Line(offset + 40, y + 5, offset + 273, y + 5, 1.5f);
        currentLine_ -= 10;
        rowCount_ = 0;
        rememberedDate_.clear();
    }
    const float y = currentLine_;
    if (rowCount_ % 2 == 0) {
        c.SetFillRgb(kPdfRowGreen);
        c.SetPenWidth(1);
        FilledRect(offset + 30, y, 253, 10);
    }
    ++rowCount_;
    c.SetFillRgb(kPdfBlack);
    c.SelectFont("Times-Roman", 10);
    if (date != rememberedDate_)
        c.PlaceText(offset + 35, y + 2, date);
    rememberedDate_ = date;
    c.PlaceText(offset + 85, y + 2, time);
    c.PlaceText(offset + 150, y + 2, location);
    if (number > 0)
        c.PlaceText(offset + 275, y + 2, std::to_string(number));
}

void PdfPrint::PdfAddText(const std::string& text) {
    TPdfCanvas& c = Canvas();
    currentLine_ -= 10;
    if (currentLine_ < 40 || (text.empty() && currentLine_ < 50))
        ColumnStart(ColumnStartKind::Text);
    c.SetStrokeRgb(kPdfGrey);
    ++rowCount_;
    c.SetFillRgb(kPdfBlack);
    c.SelectFont("Times-Roman", 10);
    c.PlaceText(columnOffset_ + 35, currentLine_ + 2, text);
}

void PdfPrint::PdfAddFrequencyTable(const std::string& title, const std::string& nameHeading,
                                    const std::string& countHeading,
                                    const std::vector<std::string>& names,
                                    const std::vector<std::string>& counts) {
    TPdfCanvas& c = Canvas();
    const auto n = static_cast<float>(names.size());
    currentLine_ -= 10 * (n + 3);
    if (currentLine_ < 200) {
        ColumnStart(ColumnStartKind::FrequencyTable);
        currentLine_ -= 10 * (n + 3);
    }
    currentLine_ += 10 * n;
    const float offset = columnOffset_;
    float y = currentLine_;
    c.SetStrokeRgb(kPdfGrey);
    c.SetFillRgb(kPdfOrange);
    c.SetPenWidth(1);
    FilledRect(offset + 30, y, 253, 30);
    c.SetFillRgb(kPdfBlack);
    c.SelectFont("Times-Roman", 14);
    c.PlaceText(offset + 35, y + 15, title);
    c.SelectFont("Times-Roman", 10.5f);
    c.PlaceText(offset + 35, y + 5, countHeading);
    c.PlaceText(offset + 85, y + 5, nameHeading);
    c.SetStrokeRgb(kPdfGrey);
    Line(offset + 40, y - 5, offset + 273, y - 5, 1.5f);
    currentLine_ -= 20;
    for (std::size_t k = 0; k < names.size(); ++k) {
        // A table taller than a column would run off the bottom of the page and hide its last
        // names: those rows go on at the top of the next column instead. A table that fits is
        // never split.
        if (currentLine_ < 40) {
            ColumnStart(ColumnStartKind::FrequencyTable);
            currentLine_ = 730;
        }
        y = currentLine_;
        if (k % 2 == 0) {
            c.SetFillRgb(kPdfYellow);
            c.SetPenWidth(1);
            FilledRect(columnOffset_ + 30, y, 253, 10);
        }
        c.SetFillRgb(kPdfBlack);
        c.SelectFont("Times-Roman", 10);
        c.PlaceText(columnOffset_ + 35, y + 2, k < counts.size() ? counts[k] : kNoText);
        c.PlaceText(columnOffset_ + 85, y + 2, names[k]);
        currentLine_ -= 10;
    }
}

// --- landscape chart -------------------------------------------------------------------------

void PdfPrint::PdfBeginChart(const std::string& title, const std::string& footer,
                             const std::string& subtitle) {
    StartReport({title, footer, subtitle}, Style::Landscape, 1, 500);
}

void PdfPrint::PdfChartPage(const std::string& heading1, const std::string& heading2, bool night) {
    TPdfCanvas& c = Canvas();
    heading1_ = heading1;
    heading2_ = heading2;
    night_ = night;
    if (pageCounter_ != 1) {
        doc_->AddPage();
        currentLine_ = 500;
    }
    ++pageCounter_;
    LandscapeBanner();
    c.SetStrokeRgb(kPdfGrey);
    c.SetFillRgb(kPdfLightBlue);
    c.SetPenWidth(1);
    FilledRect(30, 500, 782, 30);
    c.PathRect(30, 500, 782, 30); // outlined by the stroke of the first column line
    for (int i = 0; i < 24; ++i) {
        const auto x = static_cast<float>(188 + 26 * i);
        Line(x, 500, x, 530, 1);
    }
    c.SetFillRgb(kPdfBlack);
    c.SelectFont("Times-Roman", 10.5f);
    c.PlaceText(35, 515, heading1_);
    c.PlaceText(35, 505, heading2_);
    for (int h = 0; h < 24; ++h) {
        const std::string text = TwoDigits(h);
        const int i = night_ ? (h + 12) % 24 : h;
        const auto centre = static_cast<float>(201 + 26 * i);
        c.PlaceText(centre - c.MeasureText(text) / 2, 510, text);
    }
    PageFooter();
}

void PdfPrint::PdfChartRow(const std::vector<std::string>& times, const std::string& name,
                           int lineCount) {
    Canvas();
    const auto h = static_cast<float>(15 * lineCount);
    currentLine_ -= h;
    if (currentLine_ < 40) {
        // Copies: PdfChartPage stores its arguments.
        const std::string heading1 = heading1_;
        const std::string heading2 = heading2_;
        PdfChartPage(heading1, heading2, night_);
        currentLine_ = 500 - h;
    }
    TPdfCanvas& c = Canvas();
    const float bottom = currentLine_;
    const float top = bottom + h;
    c.SetStrokeRgb(kPdfGrey);
    c.SetFillRgb(kPdfLightBlue);
    c.SetPenWidth(1);
    FilledRect(30, bottom, 158, h);
    c.SetFillRgb(kPdfBlack);
    c.SelectFont("Times-Roman", 10.5f);
    c.PlaceText(35, bottom + h / 2, name);

    const auto hourOf = [](const std::string& text) {
        return kestrova::toInteger(text.substr(0, 2));
    };
    std::size_t cursor = 0;
    for (int i = 0; i < 24; ++i) {
        if (cursor >= times.size())
            break;
        const int columnHour = night_ ? (i + 12) % 24 : i;
        if (hourOf(times[cursor]) != columnHour)
            continue;
        const auto left = static_cast<float>(188 + 26 * i);
        const auto centre = static_cast<float>(201 + 26 * i);
        c.SetFillRgb(kPdfChartGreen);
        FilledRect(left, bottom, 26, h);
        for (int k = 0;; ++k) {
            const std::string& text = times[cursor];
            c.SetFillRgb(kPdfBlack);
            c.PlaceText(centre - c.MeasureText(text) / 2, top - 11 - static_cast<float>(15 * k),
                        text);
            ++cursor;
            if (cursor >= times.size() || times[cursor].substr(0, 2) != text.substr(0, 2))
                break;
        }
    }
    for (int i = 0; i < 24; ++i) {
        const auto x = static_cast<float>(188 + 26 * i);
        Line(x, bottom, x, top, 1);
    }
    Box(30, bottom, 782, h, 1);
}

// --- saving ----------------------------------------------------------------------------------

void PdfPrint::PdfSave(const fs::path& path) {
    if (!HasDocument())
        throw EPdfInvalidOperation("SaveToStream --there is no document to save.");
    std::string bytes;
    try {
        bytes = doc_->SaveToString();
    } catch (...) {
        doc_.reset(); // a document that cannot be written is of no further use
        throw;
    }
    // Written beside the target and renamed over it: never a half-written report. When the
    // file cannot be made the document stays current, so the caller may try another place.
    kestrova::replaceFile(path, bytes);
    doc_.reset();
}

} // namespace kestrova::pdf
