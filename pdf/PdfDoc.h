// PDF document writer: cross-reference, trailer, catalog, information dictionary,
// the font base class, the drawing surface and the document holder `TPdfDoc`.
//
// The document's dates (CreationDate, ModDate) come from the clock interface of core/.
#pragma once

#include "core/Desktop.h"
#include "pdf/PdfTypes.h"

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::pdf {

// One cross-reference entry: byte offset, generation, kind ('n' in use, 'f' free), object.
struct TPdfXrefEntry {
    std::int64_t byteOffset = 0;
    int generationNumber = 0;
    char entryType = 'n';
    TPdfObjectPtr value;
};

// The cross-reference: entry 0 is the head of the free list, entry k holds object number k.
class TPdfXref : public TPdfObjectMgr {
public:
    TPdfXref();
    void AddObject(const TPdfObjectPtr& object) override;
    TPdfObjectPtr GetObject(int number) const override;

    std::size_t ItemCount() const { return entries_.size(); }
    TPdfXrefEntry& Items(std::size_t index) { return entries_.at(index); }
    const TPdfXrefEntry& Items(std::size_t index) const { return entries_.at(index); }

private:
    std::vector<TPdfXrefEntry> entries_;
};

// The trailer dictionary (Size, Root, Info in this order) and the cross-reference offset.
class TPdfTrailer {
public:
    TPdfTrailer();
    TPdfDictionary& Attributes() { return *attributes_; }
    const TPdfDictionary& Attributes() const { return *attributes_; }
    std::int64_t XrefAddress() const { return xrefAddress_; }
    void SetXrefAddress(std::int64_t address) { xrefAddress_ = address; }
    // "trailer", the dictionary, "startxref", the offset, "%%EOF", each line ended by CR LF.
    void WriteToStream(TPdfOutput& out) const;

private:
    std::shared_ptr<TPdfDictionary> attributes_;
    std::int64_t xrefAddress_ = 0;
};

// A holder of one dictionary.
class TPdfDictionaryWrapper {
public:
    virtual ~TPdfDictionaryWrapper() = default;
    // Attaches the dictionary.
    virtual void SetData(std::shared_ptr<TPdfDictionary> data);
    const std::shared_ptr<TPdfDictionary>& Data() const { return data_; }
    bool HasData() const { return data_ != nullptr; }

private:
    std::shared_ptr<TPdfDictionary> data_;
};

class TPdfInfo : public TPdfDictionaryWrapper {};
class TPdfCatalog : public TPdfDictionaryWrapper {};

// A font: its font dictionary and the advance widths of its characters.
class TPdfFont : public TPdfDictionaryWrapper {
public:
    // "create": the subclasses build the font dictionary and register it with the
    // cross-reference.
    TPdfFont(TPdfXref& xref, std::string name);
    TPdfFont(const TPdfFont&) = delete;
    TPdfFont& operator=(const TPdfFont&) = delete;
    // Width of the character at this position of the text, in thousandths of the font size.
    virtual int GetCharWidth(std::string_view text, std::size_t position) const = 0;
    // The font name it was asked for ("Arial", …).
    const std::string& Name() const { return name_; }
    // The resource name ("F0", …), empty until the document gives it one.
    std::string ResourceName() const;

private:
    std::string name_;
};

// The text state: current font and current font size.
class TPdfCanvasAttribute {
public:
    TPdfFont* Font() const { return font_; }
    float FontSize() const { return fontSize_; }
    void SetFont(TPdfFont* font) { font_ = font; }
    // Fails with "SetCharSpace --invalid font size" below 0 or above 300.
    void SetFontSize(float size);
    void Reset() { font_ = nullptr, fontSize_ = 0; }

private:
    TPdfFont* font_ = nullptr;
    float fontSize_ = 0;
};

class TPdfDoc;

// The drawing surface: appends page-description operators to the current page's content
// stream, one line per call (operands and operator separated by spaces, LF at the end).
// Every operation fails with "GetPage --the Page is nil" when there is no current page.
class TPdfCanvas {
public:
    explicit TPdfCanvas(TPdfDoc& doc) : doc_(doc) {}
    TPdfCanvas(const TPdfCanvas&) = delete;
    TPdfCanvas& operator=(const TPdfCanvas&) = delete;

    // Colours: 24-bit numbers, lowest byte red, then green, then blue; negative is black.
    void SetStrokeRgb(std::int32_t colour);
    void SetFillRgb(std::int32_t colour);
    void SetPenWidth(float width);
    void PathMove(float x, float y);
    void PathLine(float x, float y);
    void PathRect(float x, float y, float width, float height);
    void StrokePath();
    void FillPath();
    // Appends the "Tf" line only when font or size differ from the current ones.
    void SelectFont(const std::string& fontName, float size);
    // "BT", x y "Td", the text "Tj", "ET".
    void PlaceText(float x, float y, std::string_view text);

    // Width in points of the text in the current font and size (single precision).
    float MeasureText(std::string_view text) const;
    // The width entry of the current page's MediaBox.
    float CurrentPageWidth() const;

    const TPdfCanvasAttribute& Attribute() const { return attribute_; }
    bool HasPage() const { return page_ != nullptr; }
    const std::shared_ptr<TPdfDictionary>& Page() const { return page_; }
    const std::shared_ptr<TPdfStream>& Contents() const { return contents_; }

    // Used by the document: makes a page current (null: none) and clears the text state.
    void SetPage(std::shared_ptr<TPdfDictionary> page, std::shared_ptr<TPdfStream> contents);
    // The bytes of every page's content stream so far, the current page's included.
    std::size_t ContentBytes() const;

private:
    std::string& Out();
    void RequirePage() const;

    TPdfDoc& doc_;
    std::shared_ptr<TPdfDictionary> page_;
    std::shared_ptr<TPdfStream> contents_;
    std::size_t finishedBytes_ = 0; // of the pages no longer current
    TPdfCanvasAttribute attribute_;
};

// The document holder.
class TPdfDoc {
public:
    explicit TPdfDoc(const kestrova::Clock& clock);
    ~TPdfDoc();
    TPdfDoc(const TPdfDoc&) = delete;
    TPdfDoc& operator=(const TPdfDoc&) = delete;

    // Page size for new pages, in points; set before the first page.
    void SetDefaultPageWidth(std::uint16_t width) { pageWidth_ = width; }
    void SetDefaultPageHeight(std::uint16_t height) { pageHeight_ = height; }
    std::uint16_t DefaultPageWidth() const { return pageWidth_; }
    std::uint16_t DefaultPageHeight() const { return pageHeight_; }

    // Discards any open document and builds a new one (catalog 1, info 2, page tree 3).
    void StartDocument();
    // Appends a page and makes it current. No document: "AddPage --current pages null.".
    void AddPage();
    // No document: "GetCanvas --Document is null".
    TPdfCanvas& GetCanvas();
    // The font of that name, created on first use. No document: "GetFont --document is null.".
    TPdfFont& GetFont(const std::string& fontName);
    // Writes the document from the stream's current position. No document: "SaveToStream
    // --there is no document to save."; no page: "GetPage --the Page is nil". The bytes are
    // built in memory first and written in one piece; a failing stream is left in its failed
    // state (or throws, when the caller enabled its exceptions).
    void SaveToStream(std::ostream& stream);
    // The same bytes as a string.
    std::string SaveToString();
    // Frees the document and everything in it; the holder stays usable.
    void FreeDoc();

    bool HasDoc() const { return hasDoc_; }
    // The parts of the open document (valid while it is open).
    TPdfXref& Xref() { return *xref_; }
    TPdfTrailer& Trailer() { return *trailer_; }
    TPdfCatalog& Root() { return catalog_; }
    TPdfInfo& Info() { return info_; }
    const std::shared_ptr<TPdfDictionary>& Pages() const { return pages_; }
    std::size_t FontCount() const { return fonts_.size(); }
    const TPdfFont& Fonts(std::size_t index) const { return *fonts_.at(index); }

private:
    TPdfFont& CreateFont(const std::string& fontName);
    std::string DateText() const;

    const kestrova::Clock& clock_;
    bool hasDoc_ = false;
    std::uint16_t pageWidth_ = 595;
    std::uint16_t pageHeight_ = 842;
    std::unique_ptr<TPdfXref> xref_;
    std::unique_ptr<TPdfTrailer> trailer_;
    TPdfCatalog catalog_;
    TPdfInfo info_;
    std::shared_ptr<TPdfDictionary> pages_;
    std::vector<std::unique_ptr<TPdfFont>> fonts_;
    TPdfCanvas canvas_;
};

} // namespace kestrova::pdf
