#include "pdf/PdfFonts.h"

#include <map>

namespace kestrova::pdf {

namespace {

constexpr int kFirstChar = 32;
constexpr int kLastChar = 255;

std::shared_ptr<TPdfDictionary> BuildFontDictionary(const std::string& baseFont,
                                                    const TPdfWidthTable& widths) {
    auto dict = std::make_shared<TPdfDictionary>();
    dict->AddItem("Type", std::make_shared<TPdfName>("Font"));
    dict->AddItem("Subtype", std::make_shared<TPdfName>("Type1"));
    dict->AddItem("Encoding", std::make_shared<TPdfName>("WinAnsiEncoding"));
    dict->AddItem("FirstChar", std::make_shared<TPdfNumber>(kFirstChar));
    dict->AddItem("LastChar", std::make_shared<TPdfNumber>(kLastChar));
    dict->AddItem("BaseFont", std::make_shared<TPdfName>(baseFont));
    // The width table travels with the dictionary for the writer's own use; not written.
    auto table = std::make_shared<TPdfArray>();
    for (int code = kFirstChar; code <= kLastChar; ++code)
        table->AddItem(std::make_shared<TPdfNumber>(widths[static_cast<std::size_t>(code)]));
    dict->AddInternalItem("Widths", table);
    return dict;
}

} // namespace

TPdfType1Font::TPdfType1Font(TPdfXref& xref, std::string name, const std::string& baseFont,
                             const TPdfWidthTable& widths)
    : TPdfFont(xref, std::move(name)) {
    auto dict = BuildFontDictionary(baseFont, widths);
    xref.AddObject(dict);
    TPdfType1Font::SetData(std::move(dict));
}

void TPdfType1Font::SetData(std::shared_ptr<TPdfDictionary> data) {
    widths_.fill(0);
    if (data) {
        const auto* first = data->PdfNumberByName("FirstChar");
        const auto* table = data->PdfArrayByName("Widths");
        const int start = first ? first->Value() : kFirstChar;
        if (table) {
            for (std::size_t i = 0; i < table->ItemCount(); ++i) {
                const long code = start + static_cast<long>(i);
                const auto* width = dynamic_cast<const TPdfNumber*>(table->Items(i).get());
                if (code >= 0 && code < 256 && width)
                    widths_[static_cast<std::size_t>(code)] =
                        static_cast<std::uint16_t>(width->Value());
            }
        }
    }
    TPdfFont::SetData(std::move(data));
}

int TPdfType1Font::GetCharWidth(std::string_view text, std::size_t position) const {
    if (position >= text.size())
        return 0;
    return widths_[static_cast<unsigned char>(text[position])];
}

#define KESTROVA_PDF_FONT_DEFINE(ClassName, BaseFont, Table)                                       \
    ClassName::ClassName(TPdfXref& xref, std::string name)                                         \
        : TPdfType1Font(xref, std::move(name), BaseFont, Table) {}

KESTROVA_PDF_FONT_DEFINE(TPdfFixedWidth, "Courier", kCourierWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfFixedWidthBold, "Courier-Bold", kCourierBoldWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfFixedWidthItalic, "Courier-Oblique", kCourierObliqueWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfFixedWidthBoldItalic, "Courier-BoldOblique", kCourierBoldObliqueWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfArial, "Helvetica", kHelveticaWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfArialBold, "Helvetica-Bold", kHelveticaBoldWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfArialItalic, "Helvetica-Oblique", kHelveticaObliqueWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfArialBoldItalic, "Helvetica-BoldOblique", kHelveticaBoldObliqueWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfTimesRoman, "Times-Roman", kTimesRomanWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfTimesBold, "Times-Bold", kTimesBoldWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfTimesItalic, "Times-Italic", kTimesItalicWidths)
KESTROVA_PDF_FONT_DEFINE(TPdfTimesBoldItalic, "Times-BoldItalic", kTimesBoldItalicWidths)

#undef KESTROVA_PDF_FONT_DEFINE

namespace {

template <typename Font> TPdfFontFactory Factory() {
    return [](TPdfXref& xref, const std::string& name) -> std::unique_ptr<TPdfFont> {
        return std::make_unique<Font>(xref, name);
    };
}

const std::map<std::string, TPdfFontFactory, std::less<>>& Registry() {
    static const std::map<std::string, TPdfFontFactory, std::less<>> registry = {
        {"FixedWidth", Factory<TPdfFixedWidth>()},
        {"FixedWidth-Bold", Factory<TPdfFixedWidthBold>()},
        {"FixedWidth-Italic", Factory<TPdfFixedWidthItalic>()},
        {"FixedWidth-BoldItalic", Factory<TPdfFixedWidthBoldItalic>()},
        {"Arial", Factory<TPdfArial>()},
        {"Arial-Bold", Factory<TPdfArialBold>()},
        {"Arial-Italic", Factory<TPdfArialItalic>()},
        {"Arial-BoldItalic", Factory<TPdfArialBoldItalic>()},
        {"Times-Roman", Factory<TPdfTimesRoman>()},
        {"Times-Bold", Factory<TPdfTimesBold>()},
        {"Times-Italic", Factory<TPdfTimesItalic>()},
        {"Times-BoldItalic", Factory<TPdfTimesBoldItalic>()},
    };
    return registry;
}

} // namespace

const TPdfFontFactory* FindPdfFontClass(std::string_view fontName) {
    const auto& registry = Registry();
    const auto it = registry.find(fontName);
    return it == registry.end() ? nullptr : &it->second;
}

const std::vector<TPdfFontClassInfo>& PdfFontClasses() {
    static const std::vector<TPdfFontClassInfo> classes = {
        {"FixedWidth", "TPdfFixedWidth", "Courier"},
        {"FixedWidth-Bold", "TPdfFixedWidthBold", "Courier-Bold"},
        {"FixedWidth-Italic", "TPdfFixedWidthItalic", "Courier-Oblique"},
        {"FixedWidth-BoldItalic", "TPdfFixedWidthBoldItalic", "Courier-BoldOblique"},
        {"Arial", "TPdfArial", "Helvetica"},
        {"Arial-Bold", "TPdfArialBold", "Helvetica-Bold"},
        {"Arial-Italic", "TPdfArialItalic", "Helvetica-Oblique"},
        {"Arial-BoldItalic", "TPdfArialBoldItalic", "Helvetica-BoldOblique"},
        {"Times-Roman", "TPdfTimesRoman", "Times-Roman"},
        {"Times-Bold", "TPdfTimesBold", "Times-Bold"},
        {"Times-Italic", "TPdfTimesItalic", "Times-Italic"},
        {"Times-BoldItalic", "TPdfTimesBoldItalic", "Times-BoldItalic"},
    };
    return classes;
}

} // namespace kestrova::pdf
