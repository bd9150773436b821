// Comma text reading and writing. Standard library only.
#include "reports/CommaText.h"

namespace kestrova {

namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

void skipBlanks(std::string_view text, std::size_t& at) {
    while (at < text.size() && isBlank(text[at]))
        ++at;
}

std::string quotedField(std::string_view text, std::size_t& at) {
    std::string field;
    ++at; // the opening quote
    while (at < text.size()) {
        if (text[at] == '"') {
            if (at + 1 < text.size() && text[at + 1] == '"') {
                field += '"';
                at += 2;
                continue;
            }
            ++at; // the closing quote
            break;
        }
        field += text[at++];
    }
    return field;
}

std::string plainField(std::string_view text, std::size_t& at) {
    const std::size_t begin = at;
    while (at < text.size() && text[at] != ',' && !isBlank(text[at]))
        ++at;
    return std::string(text.substr(begin, at - begin));
}

} // namespace

std::vector<std::string> readCommaText(std::string_view text) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    skipBlanks(text, at);
    while (at < text.size()) {
        fields.push_back(text[at] == '"' ? quotedField(text, at) : plainField(text, at));
        skipBlanks(text, at);
        if (at < text.size() && text[at] == ',') {
            ++at;
            if (at == text.size()) {
                fields.emplace_back();
                break;
            }
            skipBlanks(text, at);
        }
    }
    return fields;
}

std::string writeCommaText(const std::vector<std::string>& fields) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        const std::string& field = fields[i];
        bool quote = false;
        for (const char c : field)
            quote = quote || c == ',' || c == '"' || isBlank(c);
        if (!quote) {
            line += field;
            continue;
        }
        line += '"';
        for (const char c : field) {
            if (c == '"')
                line += '"';
            line += c;
        }
        line += '"';
    }
    return line;
}

} // namespace kestrova
