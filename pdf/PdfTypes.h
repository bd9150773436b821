// PDF document writer, object model: the object kinds every PDF value is made of,
// the exceptions of the writer, and the number, text and name forms the values are written in.
//
// Objects are held through std::shared_ptr. An object registered with the cross-reference
// (PdfDoc.h) becomes indirect; putting an indirect object into an array or dictionary stores a
// TPdfVirtualObject (a reference by number) instead, so the cross-reference is the only owner
// of indirect objects and the object graph never holds a cycle.
//
// Values are written by appending bytes to a std::string, the output buffer of a save.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::pdf {

// Base of the writer's exceptions.
class EPdfError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An operation out of order: no document, no page, an object registered twice, …
class EPdfInvalidOperation : public EPdfError {
public:
    using EPdfError::EPdfError;
};

// A bad value: a font size out of range, a dictionary entry without value.
class EPdfInvalidValue : public EPdfError {
public:
    using EPdfError::EPdfError;
};

// The byte sink values are written to.
using TPdfOutput = std::string;

// Number form of every drawing operand: n = value × 100 + 0.5 rounded down to an integer,
// written as n / 100 in the shortest plain decimal form with "." whatever the locale ("750",
// "10.5", "0.65", "189.04", "-20").
std::string FormatPdfNumber(double value);
// The same appended to `out`, without a text of its own.
void AppendPdfNumber(std::string& out, double value);

// Text string form: "(" text ")" with ( ) \ escaped by a backslash and CR, LF, TAB,
// BS, FF written as \r \n \t \b \f; other bytes as they are. A text holding a lead byte of a
// double-byte character of the system code page is written as "<" hex digits ">" instead; the
// program's code page, Windows-1252, has no lead bytes, so that form never occurs.
std::string FormatPdfText(std::string_view text);
// The same appended to `out`.
void AppendPdfText(std::string& out, std::string_view text);
// The same without the parentheses.
std::string EscapePdfText(std::string_view text);
// "<" two upper-case hexadecimal digits per byte ">".
std::string FormatPdfHexText(std::string_view text);
// Whether the byte starts a double-byte character in the system code page (Windows-1252: never).
bool IsDbcsLeadByte(unsigned char byte);

// Name form: "/" and the name, a byte below "!" or above "~" or one of # % ( ) / < > [ ] { }
// written as "#" and two upper-case hexadecimal digits.
std::string FormatPdfName(std::string_view name);

enum class TPdfObjectType { otDirectObject, otIndirectObject, otVirtualObject };

class TPdfObject {
public:
    virtual ~TPdfObject() = default;
    TPdfObject(const TPdfObject&) = delete;
    TPdfObject& operator=(const TPdfObject&) = delete;

    // Writes the object's value (for an indirect object: without the "n g obj" frame).
    virtual void WriteValueToStream(TPdfOutput& out) const = 0;

    TPdfObjectType ObjectType() const { return type_; }
    // -1 for a direct object.
    int ObjectNumber() const { return number_; }
    int GenerationNumber() const { return generation_; }

    // Makes the object indirect with this number; used by the cross-reference.
    void SetObjectNumber(int number, int generation = 0);

protected:
    TPdfObject() = default;
    TPdfObject(TPdfObjectType type, int number, int generation)
        : type_(type), number_(number), generation_(generation) {}

private:
    TPdfObjectType type_ = TPdfObjectType::otDirectObject;
    int number_ = -1;
    int generation_ = 0;
};

using TPdfObjectPtr = std::shared_ptr<TPdfObject>;

class TPdfNull : public TPdfObject {
public:
    void WriteValueToStream(TPdfOutput& out) const override;
};

// A 32-bit signed integer.
class TPdfNumber : public TPdfObject {
public:
    explicit TPdfNumber(std::int32_t value = 0) : value_(value) {}
    void WriteValueToStream(TPdfOutput& out) const override;
    std::int32_t Value() const { return value_; }
    void SetValue(std::int32_t value) { value_ = value; }

private:
    std::int32_t value_;
};

// A real number; part of the model, never written by the report builder (written in the
// number form if it is).
class TPdfReal : public TPdfObject {
public:
    explicit TPdfReal(double value = 0) : value_(value) {}
    void WriteValueToStream(TPdfOutput& out) const override;
    double Value() const { return value_; }
    void SetValue(double value) { value_ = value; }

private:
    double value_;
};

// A literal string in the text string form.
class TPdfText : public TPdfObject {
public:
    explicit TPdfText(std::string value = {}) : value_(std::move(value)) {}
    void WriteValueToStream(TPdfOutput& out) const override;
    const std::string& Value() const { return value_; }
    void SetValue(std::string value) { value_ = std::move(value); }

private:
    std::string value_;
};

class TPdfName : public TPdfObject {
public:
    explicit TPdfName(std::string value = {}) : value_(std::move(value)) {}
    void WriteValueToStream(TPdfOutput& out) const override;
    const std::string& Value() const { return value_; }

private:
    std::string value_;
};

// "[", each element followed by one space, "]".
class TPdfArray : public TPdfObject {
public:
    TPdfArray() = default;
    void WriteValueToStream(TPdfOutput& out) const override;
    // Adds an element; an indirect object is stored as a reference to it.
    void AddItem(TPdfObjectPtr item);
    std::size_t ItemCount() const { return items_.size(); }
    const TPdfObjectPtr& Items(std::size_t index) const { return items_.at(index); }

private:
    std::vector<TPdfObjectPtr> items_;
};

// Entries in insertion order; setting an existing key removes the old entry and appends the
// new one. Internal entries are kept for the writer's own use and not written.
class TPdfDictionary : public TPdfObject {
public:
    struct Element {
        std::string key;
        TPdfObjectPtr value;
        bool internal = false;
    };

    TPdfDictionary() = default;
    void WriteValueToStream(TPdfOutput& out) const override;

    // Sets a key; an indirect object is stored as a reference to it. A null value is allowed
    // here and fails when written ("internal error. wrong object.").
    void AddItem(const std::string& key, TPdfObjectPtr value);
    void AddInternalItem(const std::string& key, TPdfObjectPtr value);
    void RemoveItem(const std::string& key);

    // The value of a key (internal entries included), null when absent.
    TPdfObject* ValueByName(std::string_view key) const;
    template <typename T> T* ValueAs(std::string_view key) const {
        return dynamic_cast<T*>(ValueByName(key));
    }
    TPdfNumber* PdfNumberByName(std::string_view key) const { return ValueAs<TPdfNumber>(key); }
    TPdfArray* PdfArrayByName(std::string_view key) const { return ValueAs<TPdfArray>(key); }
    TPdfDictionary* PdfDictionaryByName(std::string_view key) const {
        return ValueAs<TPdfDictionary>(key);
    }
    TPdfName* PdfNameByName(std::string_view key) const { return ValueAs<TPdfName>(key); }
    TPdfText* PdfTextByName(std::string_view key) const { return ValueAs<TPdfText>(key); }

    std::size_t ItemCount() const { return elements_.size(); }
    const Element& Items(std::size_t index) const { return elements_.at(index); }

private:
    void Set(const std::string& key, TPdfObjectPtr value, bool internal);
    std::vector<Element> elements_;
};

// Its dictionary (with Length and Filter), "stream", the data bytes, LF, "endstream". Length
// is set to the number of data bytes when the stream is written.
class TPdfStream : public TPdfObject {
public:
    TPdfStream();
    void WriteValueToStream(TPdfOutput& out) const override;
    TPdfDictionary& Attributes() const { return *attributes_; }
    const std::string& Data() const { return data_; }
    void Append(std::string_view bytes) { data_.append(bytes); }
    // The stream's bytes, for writers that append their operands one by one.
    std::string& Buffer() { return data_; }

private:
    std::shared_ptr<TPdfDictionary> attributes_;
    std::string data_;
};

// A reference to an indirect object: "number generation R".
class TPdfVirtualObject : public TPdfObject {
public:
    TPdfVirtualObject(int number, int generation);
    void WriteValueToStream(TPdfOutput& out) const override;
};

// Registers objects as indirect ones and finds them by number.
class TPdfObjectMgr {
public:
    virtual ~TPdfObjectMgr() = default;
    // Registers a direct object under the next number; anything else fails with
    // "AddObject --wrong object type.".
    virtual void AddObject(const TPdfObjectPtr& object) = 0;
    // The object of that number, null when there is none.
    virtual TPdfObjectPtr GetObject(int number) const = 0;
};

// A reference to the object for putting into arrays and dictionaries when it is indirect, the
// object itself when it is direct.
TPdfObjectPtr ReferenceOrSelf(TPdfObjectPtr object);

} // namespace kestrova::pdf
