// pdfprint's listing style: full-width lines of fixed-width text under the portrait banner,
// for reports whose columns are laid out with blanks (the exception report).
//
//   812  title                                        KESTROVA
//   787  subtitle                                     message 165
//   764  first line (baseline 767); each line 12 points below the last
//        [ heading band, light blue, 16 points ]
//        rows, shaded green in turn
//    45  lowest line; below it a new page with banner, footer and the open heading again
//    30  footer rule
#include "pdf/pdfprint.h"

namespace kestrova::pdf {

namespace {

constexpr float kFirstLine = 776;
constexpr float kLineHeight = 12;
constexpr float kBandHeight = 16;
constexpr float kLowestLine = 45;
constexpr float kLeft = 30;
constexpr float kWidth = 535;
constexpr float kTextInset = 5;
constexpr float kFontSize = 9;

} // namespace

void PdfPrint::PdfBeginListing(const std::string& title, const std::string& footer,
                               const std::string& subtitle) {
    StartReport({title, footer, subtitle}, Style::Listing, 2, kFirstLine);
    listingHeading_.clear();
    try {
        BannerHeading(812, 425, 797);
        PageFooter();
    } catch (const std::exception&) {
        // As for the clocking report: banner and footer are decoration.
    }
}

// A continuation page: banner and footer, then the open heading's band again.
void PdfPrint::ListingPage() {
    ++pageCounter_;
    currentLine_ = kFirstLine;
    try {
        doc_->AddPage();
        BannerHeading(812, 425, 797);
        PageFooter();
    } catch (const std::exception&) {
        // The lines go on even when the new page's banner or footer failed.
    }
    if (!listingHeading_.empty())
        ListingBand(listingHeading_);
}

void PdfPrint::ListingBand(const std::string& text) {
    TPdfCanvas& c = Canvas();
    currentLine_ -= kBandHeight;
    c.SetStrokeRgb(kPdfGrey);
    c.SetFillRgb(kPdfLightBlue);
    c.SetPenWidth(1);
    FilledRect(kLeft, currentLine_, kWidth, kBandHeight);
    c.SetFillRgb(kPdfBlack);
    c.SelectFont("FixedWidth-Bold", kFontSize);
    c.PlaceText(kLeft + kTextInset, currentLine_ + 5, text);
    Line(kLeft + 10, currentLine_ - 1, kLeft + kWidth - 10, currentLine_ - 1, 1.5f);
    currentLine_ -= 2;
    rowCount_ = 0;
}

void PdfPrint::PdfAddListingLine(const std::string& text, ListingLine kind) {
    TPdfCanvas& c = Canvas();
    if (kind == ListingLine::Heading) {
        // A band with no room for one row under it goes to the next page.
        listingHeading_.clear();
        if (currentLine_ - kBandHeight - 2 - kLineHeight < kLowestLine)
            ListingPage();
        listingHeading_ = text.empty() ? std::string(" ") : text;
        ListingBand(listingHeading_);
        return;
    }
    if (kind == ListingLine::Text)
        listingHeading_.clear();
    currentLine_ -= kLineHeight;
    if (currentLine_ < kLowestLine) {
        ListingPage();
        currentLine_ -= kLineHeight;
    }
    if (kind == ListingLine::Row) {
        if (rowCount_ % 2 == 0) {
            c.SetFillRgb(kPdfRowGreen);
            FilledRect(kLeft, currentLine_, kWidth, kLineHeight);
        }
        ++rowCount_;
    }
    c.SetFillRgb(kPdfBlack);
    c.SelectFont("FixedWidth", kFontSize);
    c.PlaceText(kLeft + kTextInset, currentLine_ + 3, text);
}

} // namespace kestrova::pdf
