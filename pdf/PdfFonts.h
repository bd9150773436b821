// The twelve standard Type 1 fonts of the reports, registered under their font
// names ("FixedWidth", "Arial", "Times-Roman", …).
#pragma once

#include "pdf/PdfDoc.h"
#include "pdf/PdfFontWidths.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::pdf {

// A standard Type 1 font: the font dictionary (Type, Subtype, Encoding, FirstChar 32,
// LastChar 255, BaseFont) with the width table kept as an internal entry that is not written.
class TPdfType1Font : public TPdfFont {
public:
    // Builds the font dictionary of this base font, registers it and attaches it.
    TPdfType1Font(TPdfXref& xref, std::string name, const std::string& baseFont,
                  const TPdfWidthTable& widths);
    // Attaches the dictionary and loads the width table from it.
    void SetData(std::shared_ptr<TPdfDictionary> data) override;
    int GetCharWidth(std::string_view text, std::size_t position) const override;
    const TPdfWidthTable& Widths() const { return widths_; }

private:
    TPdfWidthTable widths_{};
};

#define KESTROVA_PDF_FONT_CLASS(ClassName)                                                         \
    class ClassName : public TPdfType1Font {                                                       \
    public:                                                                                        \
        ClassName(TPdfXref& xref, std::string name);                                               \
    }

KESTROVA_PDF_FONT_CLASS(TPdfFixedWidth);
KESTROVA_PDF_FONT_CLASS(TPdfFixedWidthBold);
KESTROVA_PDF_FONT_CLASS(TPdfFixedWidthItalic);
KESTROVA_PDF_FONT_CLASS(TPdfFixedWidthBoldItalic);
KESTROVA_PDF_FONT_CLASS(TPdfArial);
KESTROVA_PDF_FONT_CLASS(TPdfArialBold);
KESTROVA_PDF_FONT_CLASS(TPdfArialItalic);
KESTROVA_PDF_FONT_CLASS(TPdfArialBoldItalic);
KESTROVA_PDF_FONT_CLASS(TPdfTimesRoman);
KESTROVA_PDF_FONT_CLASS(TPdfTimesBold);
KESTROVA_PDF_FONT_CLASS(TPdfTimesItalic);
KESTROVA_PDF_FONT_CLASS(TPdfTimesBoldItalic);

#undef KESTROVA_PDF_FONT_CLASS

// Creates a font of the class registered under a font name.
using TPdfFontFactory = std::function<std::unique_ptr<TPdfFont>(TPdfXref&, const std::string&)>;

// The factory registered under the name (exact spelling), null when none is.
const TPdfFontFactory* FindPdfFontClass(std::string_view fontName);

struct TPdfFontClassInfo {
    const char* fontName;  // "Arial"
    const char* className; // "TPdfArial"
    const char* baseFont;  // "Helvetica"
};
// The registered font classes: Courier, Helvetica and Times families.
const std::vector<TPdfFontClassInfo>& PdfFontClasses();

} // namespace kestrova::pdf
