// Writing reports as CSV. Standard library and core only.
#include "processing/CsvExport.h"

#include "core/TextFile.h"
#include "core/Windows1252.h"

#include <cstdio>

namespace kestrova {

namespace {

bool looksLikeFormula(std::string_view text) {
    if (text.empty())
        return false;
    switch (text.front()) {
    case '=':
    case '+':
    case '-':
    case '@':
    case '\t':
    case '\r':
        return true;
    default:
        return false;
    }
}

bool needsQuotes(std::string_view text) {
    return text.find_first_of(",\"\r\n") != std::string_view::npos;
}

} // namespace

std::string csvField(std::string_view windows1252Text) {
    std::string text = windows1252ToUtf8(windows1252Text);
    if (looksLikeFormula(text))
        text.insert(0, 1, '\'');
    if (!needsQuotes(text))
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string csvDocument(const CsvRow& header, const std::vector<CsvRow>& rows) {
    std::string out(kUtf8ByteOrderMark);
    const auto addRow = [&out](const CsvRow& row) {
        for (std::size_t k = 0; k < row.size(); ++k) {
            if (k > 0)
                out += ',';
            out += csvField(row[k]);
        }
        out += kLineEnd;
    };
    addRow(header);
    for (const auto& row : rows)
        addRow(row);
    return out;
}

void writeCsvFile(const std::filesystem::path& file, const CsvRow& header,
                  const std::vector<CsvRow>& rows) {
    replaceFile(file, csvDocument(header, rows));
}

std::string isoDate(int year, int month, int day) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", year, month, day);
    return text;
}

std::string isoTime(int hour, int minute) {
    char text[32];
    std::snprintf(text, sizeof text, "%02d:%02d:00", hour, minute);
    return text;
}

} // namespace kestrova
