#include "pdf/PdfDoc.h"

#include "pdf/PdfFonts.h"

#include <cstdio>
#include <ostream>

namespace kestrova::pdf {

namespace {

std::string PaddedNumber(std::int64_t value, int digits) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", digits, static_cast<long long>(value));
    return buffer;
}

void appendOperand(std::string& out, float value) {
    AppendPdfNumber(out, static_cast<double>(value));
}

// A colour byte as its component: byte / 255 in the number form; negative colours are black.
void appendColour(std::string& out, std::int32_t colour) {
    if (colour < 0)
        colour = 0;
    for (const int shift : {0, 8, 16}) {
        if (shift != 0)
            out += ' ';
        const auto byte = (colour >> shift) & 0xFF;
        AppendPdfNumber(out, static_cast<double>(static_cast<float>(byte) / 255.0f));
    }
}

} // namespace

// --- cross-reference and trailer -------------------------------------------------------------

TPdfXref::TPdfXref() {
    entries_.push_back({0, 65535, 'f', nullptr});
}

void TPdfXref::AddObject(const TPdfObjectPtr& object) {
    if (!object || object->ObjectType() != TPdfObjectType::otDirectObject)
        throw EPdfInvalidOperation("AddObject --wrong object type.");
    object->SetObjectNumber(static_cast<int>(entries_.size()), 0);
    entries_.push_back({0, 0, 'n', object});
}

TPdfObjectPtr TPdfXref::GetObject(int number) const {
    if (number <= 0 || static_cast<std::size_t>(number) >= entries_.size())
        return nullptr;
    return entries_[static_cast<std::size_t>(number)].value;
}

TPdfTrailer::TPdfTrailer() : attributes_(std::make_shared<TPdfDictionary>()) {
    attributes_->AddItem("Size", std::make_shared<TPdfNumber>(0));
}

void TPdfTrailer::WriteToStream(TPdfOutput& out) const {
    out += "trailer\r\n";
    attributes_->WriteValueToStream(out);
    out += "\r\nstartxref\r\n";
    out += std::to_string(xrefAddress_);
    out += "\r\n%%EOF\r\n";
}

// --- dictionary wrappers and fonts -----------------------------------------------------------

void TPdfDictionaryWrapper::SetData(std::shared_ptr<TPdfDictionary> data) {
    data_ = std::move(data);
}

TPdfFont::TPdfFont(TPdfXref&, std::string name) : name_(std::move(name)) {}

std::string TPdfFont::ResourceName() const {
    if (const auto* name = Data() ? Data()->PdfNameByName("Name") : nullptr)
        return name->Value();
    return {};
}

void TPdfCanvasAttribute::SetFontSize(float size) {
    if (size < 0 || size > 300)
        throw EPdfInvalidValue("SetCharSpace --invalid font size");
    fontSize_ = size;
}

// --- drawing surface -------------------------------------------------------------------------

void TPdfCanvas::SetPage(std::shared_ptr<TPdfDictionary> page,
                         std::shared_ptr<TPdfStream> contents) {
    if (contents_) {
        // A finished page keeps its bytes until the document is saved: without the spare
        // room its growth left, a report of thousands of pages holds half the memory.
        contents_->Buffer().shrink_to_fit();
        finishedBytes_ += contents_->Data().size();
    }
    if (!page)
        finishedBytes_ = 0;
    page_ = std::move(page);
    contents_ = std::move(contents);
    attribute_.Reset();
}

void TPdfCanvas::RequirePage() const {
    if (!page_ || !contents_)
        throw EPdfInvalidOperation("GetPage --the Page is nil");
}

// Operators are appended to the page's content stream piece by piece: a report draws tens of
// thousands of them, and a text per operand would cost an allocation each.
std::size_t TPdfCanvas::ContentBytes() const {
    return finishedBytes_ + (contents_ ? contents_->Data().size() : 0);
}

std::string& TPdfCanvas::Out() {
    RequirePage();
    return contents_->Buffer();
}

void TPdfCanvas::SetStrokeRgb(std::int32_t colour) {
    std::string& out = Out();
    appendColour(out, colour);
    out += " RG\n";
}

void TPdfCanvas::SetFillRgb(std::int32_t colour) {
    std::string& out = Out();
    appendColour(out, colour);
    out += " rg\n";
}

void TPdfCanvas::SetPenWidth(float width) {
    std::string& out = Out();
    appendOperand(out, width);
    out += " w\n";
}

void TPdfCanvas::PathMove(float x, float y) {
    std::string& out = Out();
    appendOperand(out, x);
    out += ' ';
    appendOperand(out, y);
    out += " m\n";
}

void TPdfCanvas::PathLine(float x, float y) {
    std::string& out = Out();
    appendOperand(out, x);
    out += ' ';
    appendOperand(out, y);
    out += " l\n";
}

void TPdfCanvas::PathRect(float x, float y, float width, float height) {
    std::string& out = Out();
    appendOperand(out, x);
    out += ' ';
    appendOperand(out, y);
    out += ' ';
    appendOperand(out, width);
    out += ' ';
    appendOperand(out, height);
    out += " re\n";
}

void TPdfCanvas::StrokePath() {
    Out() += "S\n";
}

void TPdfCanvas::FillPath() {
    Out() += "f\n";
}

void TPdfCanvas::SelectFont(const std::string& fontName, float size) {
    RequirePage();
    TPdfFont& font = doc_.GetFont(fontName);
    if (attribute_.Font() == &font && attribute_.FontSize() == size)
        return;
    const std::string resourceName = font.ResourceName();
    auto* resources = page_->PdfDictionaryByName("Resources");
    auto* fonts = resources ? resources->PdfDictionaryByName("Font") : nullptr;
    if (fonts && !fonts->ValueByName(resourceName))
        fonts->AddItem(resourceName, font.Data());
    std::string& out = Out();
    out += FormatPdfName(resourceName);
    out += ' ';
    appendOperand(out, size);
    out += " Tf\n";
    attribute_.SetFont(&font);
    attribute_.SetFontSize(size);
}

void TPdfCanvas::PlaceText(float x, float y, std::string_view text) {
    std::string& out = Out();
    out += "BT\n";
    appendOperand(out, x);
    out += ' ';
    appendOperand(out, y);
    out += " Td\n";
    AppendPdfText(out, text);
    out += " Tj\nET\n";
}

float TPdfCanvas::MeasureText(std::string_view text) const {
    const TPdfFont* font = attribute_.Font();
    if (!font)
        return 0;
    const float size = attribute_.FontSize();
    float width = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        width += static_cast<float>(font->GetCharWidth(text, i)) * size / 1000.0f;
    return width;
}

float TPdfCanvas::CurrentPageWidth() const {
    RequirePage();
    const auto* box = page_->PdfArrayByName("MediaBox");
    if (!box || box->ItemCount() < 4)
        return 0;
    const auto* width = dynamic_cast<const TPdfNumber*>(box->Items(2).get());
    return width ? static_cast<float>(width->Value()) : 0;
}

// --- document --------------------------------------------------------------------------------

TPdfDoc::TPdfDoc(const kestrova::Clock& clock) : clock_(clock), canvas_(*this) {}

TPdfDoc::~TPdfDoc() {
    FreeDoc();
}

void TPdfDoc::FreeDoc() {
    canvas_.SetPage(nullptr, nullptr);
    fonts_.clear();
    pages_.reset();
    catalog_.SetData(nullptr);
    info_.SetData(nullptr);
    trailer_.reset();
    xref_.reset();
    hasDoc_ = false;
}

std::string TPdfDoc::DateText() const {
    const LocalDateTime t = clock_.now();
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "D:%04d%02d%02d%02d%02d%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    return buffer;
}

void TPdfDoc::StartDocument() {
    FreeDoc();
    xref_ = std::make_unique<TPdfXref>();
    trailer_ = std::make_unique<TPdfTrailer>();

    auto catalog = std::make_shared<TPdfDictionary>();
    xref_->AddObject(catalog);
    catalog->AddItem("Type", std::make_shared<TPdfName>("Catalog"));
    catalog_.SetData(catalog);
    trailer_->Attributes().AddItem("Root", catalog);

    auto info = std::make_shared<TPdfDictionary>();
    xref_->AddObject(info);
    info->AddItem("Producer", std::make_shared<TPdfText>("KestrovaPdf version 0.9"));
    info_.SetData(info);
    trailer_->Attributes().AddItem("Info", info);
    info->AddItem("CreationDate", std::make_shared<TPdfText>(DateText()));

    pages_ = std::make_shared<TPdfDictionary>();
    xref_->AddObject(pages_);
    pages_->AddItem("Type", std::make_shared<TPdfName>("Pages"));
    pages_->AddItem("Kids", std::make_shared<TPdfArray>());
    pages_->AddItem("Count", std::make_shared<TPdfNumber>(0));
    catalog->AddItem("Pages", pages_);

    hasDoc_ = true;
}

void TPdfDoc::AddPage() {
    if (!hasDoc_ || !pages_)
        throw EPdfInvalidOperation("AddPage --current pages null.");

    auto page = std::make_shared<TPdfDictionary>();
    xref_->AddObject(page);
    auto* kids = pages_->PdfArrayByName("Kids");
    kids->AddItem(page);
    pages_->PdfNumberByName("Count")->SetValue(static_cast<std::int32_t>(kids->ItemCount()));

    page->AddItem("Type", std::make_shared<TPdfName>("Page"));
    page->AddItem("Parent", pages_);
    auto mediaBox = std::make_shared<TPdfArray>();
    mediaBox->AddItem(std::make_shared<TPdfNumber>(0));
    mediaBox->AddItem(std::make_shared<TPdfNumber>(0));
    mediaBox->AddItem(std::make_shared<TPdfNumber>(pageWidth_));
    mediaBox->AddItem(std::make_shared<TPdfNumber>(pageHeight_));
    page->AddItem("MediaBox", mediaBox);

    auto resources = std::make_shared<TPdfDictionary>();
    resources->AddItem("Font", std::make_shared<TPdfDictionary>());
    resources->AddItem("XObject", std::make_shared<TPdfDictionary>());
    auto procSet = std::make_shared<TPdfArray>();
    procSet->AddItem(std::make_shared<TPdfName>("PDF"));
    procSet->AddItem(std::make_shared<TPdfName>("Text"));
    procSet->AddItem(std::make_shared<TPdfName>("ImageC"));
    resources->AddItem("ProcSet", procSet);
    page->AddItem("Resources", resources);

    auto contents = std::make_shared<TPdfStream>();
    xref_->AddObject(contents);
    page->AddItem("Contents", contents);

    canvas_.SetPage(page, contents);
    canvas_.SelectFont("Arial", 10);
}

TPdfCanvas& TPdfDoc::GetCanvas() {
    if (!hasDoc_)
        throw EPdfInvalidOperation("GetCanvas --Document is null");
    return canvas_;
}

TPdfFont& TPdfDoc::GetFont(const std::string& fontName) {
    if (!hasDoc_)
        throw EPdfInvalidOperation("GetFont --document is null.");
    for (const auto& font : fonts_)
        if (font->Name() == fontName)
            return *font;
    return CreateFont(fontName);
}

TPdfFont& TPdfDoc::CreateFont(const std::string& fontName) {
    const TPdfFontFactory* factory = FindPdfFontClass(fontName);
    if (!factory)
        throw EPdfInvalidOperation("Class " + fontName + " not found");
    std::unique_ptr<TPdfFont> font = (*factory)(*xref_, fontName);
    font->Data()->AddItem("Name", std::make_shared<TPdfName>("F" + std::to_string(fonts_.size())));
    fonts_.push_back(std::move(font));
    return *fonts_.back();
}

std::string TPdfDoc::SaveToString() {
    if (!hasDoc_)
        throw EPdfInvalidOperation("SaveToStream --there is no document to save.");
    if (!canvas_.HasPage())
        throw EPdfInvalidOperation("GetPage --the Page is nil");

    info_.Data()->AddItem("ModDate", std::make_shared<TPdfText>(DateText()));
    catalog_.Data()->RemoveItem("OpenAction");

    TPdfOutput out = "%PDF-1.2 \r\n";
    // The content streams and room for every other object and its xref line (a page's
    // dictionary takes about 300 bytes): one allocation instead of a copy at every doubling of
    // a long report, which would hold the old and the new copy at once.
    constexpr std::size_t kBytesPerObject = 512;
    out.reserve(canvas_.ContentBytes() + kBytesPerObject * xref_->ItemCount());
    for (std::size_t k = 1; k < xref_->ItemCount(); ++k) {
        TPdfXrefEntry& entry = xref_->Items(k);
        entry.byteOffset = static_cast<std::int64_t>(out.size());
        if (!entry.value || entry.value->ObjectType() != TPdfObjectType::otIndirectObject)
            throw EPdfInvalidOperation("internal error wrong object type");
        out += std::to_string(k);
        out += ' ';
        out += std::to_string(entry.generationNumber);
        out += " obj\r\n";
        entry.value->WriteValueToStream(out);
        out += "\r\nendobj\r\n";
    }

    trailer_->SetXrefAddress(static_cast<std::int64_t>(out.size()));
    out += "xref\r\n0 ";
    out += std::to_string(xref_->ItemCount());
    out += "\r\n";
    for (std::size_t k = 0; k < xref_->ItemCount(); ++k) {
        const TPdfXrefEntry& entry = xref_->Items(k);
        out += PaddedNumber(entry.byteOffset, 10);
        out += ' ';
        out += PaddedNumber(entry.generationNumber, 5);
        out += ' ';
        out += entry.entryType;
        out += "\r\n";
    }

    trailer_->Attributes().PdfNumberByName("Size")->SetValue(
        static_cast<std::int32_t>(xref_->ItemCount()));
    trailer_->WriteToStream(out);
    return out;
}

void TPdfDoc::SaveToStream(std::ostream& stream) {
    const std::string bytes = SaveToString();
    stream.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

} // namespace kestrova::pdf
