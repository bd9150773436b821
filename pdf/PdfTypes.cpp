#include "pdf/PdfTypes.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kestrova::pdf {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

void appendHexByte(std::string& out, unsigned char byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

} // namespace

void AppendPdfNumber(std::string& out, double value) {
    // Rounded down rather than truncated towards zero: truncation would write -20 as -19.99.
    // For the non-negative operands of the reports both are the same.
    double scaled = std::floor(value * 100.0 + 0.5);
    if (std::isnan(scaled))
        scaled = 0;
    constexpr double limit = 9.0e15; // far beyond any coordinate, still exact in a double
    scaled = std::clamp(scaled, -limit, limit);
    const auto n = static_cast<long long>(scaled);
    const unsigned long long magnitude =
        n < 0 ? static_cast<unsigned long long>(-n) : static_cast<unsigned long long>(n);
    if (n < 0)
        out += '-';
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, magnitude / 100).ptr;
    out.append(digits, end);
    const auto fraction = static_cast<unsigned>(magnitude % 100);
    if (fraction != 0) {
        out += '.';
        out += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0)
            out += static_cast<char>('0' + fraction % 10);
    }
}

std::string FormatPdfNumber(double value) {
    std::string text;
    AppendPdfNumber(text, value);
    return text;
}

bool IsDbcsLeadByte(unsigned char) {
    return false; // Windows-1252 is a single-byte code page
}

namespace {

// The escape a character of a string needs; none for most.
std::string_view escapeOf(char c) {
    switch (c) {
    case '(':
        return "\\(";
    case ')':
        return "\\)";
    case '\\':
        return "\\\\";
    case '\r':
        return "\\r";
    case '\n':
        return "\\n";
    case '\t':
        return "\\t";
    case '\b':
        return "\\b";
    case '\f':
        return "\\f";
    default:
        return {};
    }
}

// Runs of characters that need no escape go in whole: a report's strings hardly ever hold one.
void appendEscaped(std::string& out, std::string_view text) {
    std::size_t plain = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::string_view escape = escapeOf(text[i]);
        if (escape.empty())
            continue;
        out.append(text.substr(plain, i - plain));
        out.append(escape);
        plain = i + 1;
    }
    out.append(text.substr(plain));
}

bool holdsLeadByte(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return IsDbcsLeadByte(static_cast<unsigned char>(c)); });
}

} // namespace

std::string EscapePdfText(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    appendEscaped(out, text);
    return out;
}

std::string FormatPdfHexText(std::string_view text) {
    std::string out = "<";
    for (const char c : text)
        appendHexByte(out, static_cast<unsigned char>(c));
    out += '>';
    return out;
}

std::string FormatPdfText(std::string_view text) {
    std::string out;
    AppendPdfText(out, text);
    return out;
}

void AppendPdfText(std::string& out, std::string_view text) {
    if (holdsLeadByte(text)) {
        out += FormatPdfHexText(text);
        return;
    }
    out += '(';
    appendEscaped(out, text);
    out += ')';
}

std::string FormatPdfName(std::string_view name) {
    std::string out = "/";
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        const bool special = byte < '!' || byte > '~' ||
                             std::string_view("#%()/<>[]{}").find(c) != std::string_view::npos;
        if (special) {
            out += '#';
            appendHexByte(out, byte);
        } else {
            out += c;
        }
    }
    return out;
}

void TPdfObject::SetObjectNumber(int number, int generation) {
    type_ = TPdfObjectType::otIndirectObject;
    number_ = number;
    generation_ = generation;
}

TPdfObjectPtr ReferenceOrSelf(TPdfObjectPtr object) {
    if (object && object->ObjectType() == TPdfObjectType::otIndirectObject)
        return std::make_shared<TPdfVirtualObject>(object->ObjectNumber(),
                                                   object->GenerationNumber());
    return object;
}

void TPdfNull::WriteValueToStream(TPdfOutput& out) const {
    out += "null";
}

void TPdfNumber::WriteValueToStream(TPdfOutput& out) const {
    out += std::to_string(value_);
}

void TPdfReal::WriteValueToStream(TPdfOutput& out) const {
    AppendPdfNumber(out, value_);
}

void TPdfText::WriteValueToStream(TPdfOutput& out) const {
    AppendPdfText(out, value_);
}

void TPdfName::WriteValueToStream(TPdfOutput& out) const {
    out += FormatPdfName(value_);
}

void TPdfArray::WriteValueToStream(TPdfOutput& out) const {
    out += '[';
    for (const auto& item : items_) {
        if (!item)
            throw EPdfInvalidValue("internal error. wrong object.");
        item->WriteValueToStream(out);
        out += ' ';
    }
    out += ']';
}

void TPdfArray::AddItem(TPdfObjectPtr item) {
    items_.push_back(ReferenceOrSelf(std::move(item)));
}

void TPdfDictionary::WriteValueToStream(TPdfOutput& out) const {
    out += "<<\r\n";
    for (const auto& element : elements_) {
        if (element.internal)
            continue;
        if (!element.value)
            throw EPdfInvalidValue("internal error. wrong object.");
        out += FormatPdfName(element.key);
        out += ' ';
        element.value->WriteValueToStream(out);
        out += "\r\n";
    }
    out += ">>";
}

void TPdfDictionary::Set(const std::string& key, TPdfObjectPtr value, bool internal) {
    RemoveItem(key);
    elements_.push_back({key, ReferenceOrSelf(std::move(value)), internal});
}

void TPdfDictionary::AddItem(const std::string& key, TPdfObjectPtr value) {
    Set(key, std::move(value), false);
}

void TPdfDictionary::AddInternalItem(const std::string& key, TPdfObjectPtr value) {
    Set(key, std::move(value), true);
}

void TPdfDictionary::RemoveItem(const std::string& key) {
    std::erase_if(elements_, [&](const Element& e) { return e.key == key; });
}

TPdfObject* TPdfDictionary::ValueByName(std::string_view key) const {
    for (const auto& element : elements_)
        if (element.key == key)
            return element.value.get();
    return nullptr;
}

TPdfStream::TPdfStream() : attributes_(std::make_shared<TPdfDictionary>()) {
    attributes_->AddItem("Length", std::make_shared<TPdfNumber>(0));
    attributes_->AddItem("Filter", std::make_shared<TPdfArray>());
}

void TPdfStream::WriteValueToStream(TPdfOutput& out) const {
    // The Length entry is updated where it stands, so the entry order stays.
    if (auto* length = attributes_->PdfNumberByName("Length"))
        length->SetValue(static_cast<std::int32_t>(
            std::min<std::size_t>(data_.size(), std::numeric_limits<std::int32_t>::max())));
    else
        attributes_->AddItem("Length",
                             std::make_shared<TPdfNumber>(static_cast<std::int32_t>(data_.size())));
    attributes_->WriteValueToStream(out);
    out += "\r\nstream\r\n";
    out += data_;
    out += "\nendstream";
}

TPdfVirtualObject::TPdfVirtualObject(int number, int generation)
    : TPdfObject(TPdfObjectType::otVirtualObject, number, generation) {}

void TPdfVirtualObject::WriteValueToStream(TPdfOutput& out) const {
    out += std::to_string(ObjectNumber());
    out += ' ';
    out += std::to_string(GenerationNumber());
    out += " R";
}

} // namespace kestrova::pdf
