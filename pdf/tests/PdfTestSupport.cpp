#include "PdfTestSupport.h"

#include "pdf/PdfTypes.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>

namespace kestrova::pdf::testing {

std::vector<TPdfDictionary*> PageDictionaries(TPdfDoc& doc) {
    std::vector<TPdfDictionary*> pages;
    const auto* kids = doc.Pages()->PdfArrayByName("Kids");
    for (std::size_t i = 0; i < kids->ItemCount(); ++i) {
        const auto object = doc.Xref().GetObject(kids->Items(i)->ObjectNumber());
        pages.push_back(dynamic_cast<TPdfDictionary*>(object.get()));
    }
    return pages;
}

std::vector<std::string> PageContents(TPdfDoc& doc) {
    std::vector<std::string> contents;
    for (auto* page : PageDictionaries(doc)) {
        const int number = page->ValueByName("Contents")->ObjectNumber();
        const auto stream = std::dynamic_pointer_cast<TPdfStream>(doc.Xref().GetObject(number));
        contents.push_back(stream ? stream->Data() : std::string());
    }
    return contents;
}

std::vector<std::string> ContentLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const auto end = content.find('\n', start);
        if (end == std::string::npos) {
            lines.push_back(content.substr(start));
            break;
        }
        lines.push_back(content.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

Rgb ToRgb(int colour) {
    const auto component = [](int byte) {
        return std::stod(FormatPdfNumber(static_cast<double>(static_cast<float>(byte) / 255.0f)));
    };
    return {component(colour & 0xFF), component((colour >> 8) & 0xFF),
            component((colour >> 16) & 0xFF)};
}

std::vector<PlacedText> PageDrawing::Find(const std::string& text) const {
    std::vector<PlacedText> found;
    for (const auto& t : texts)
        if (t.text == text)
            found.push_back(t);
    return found;
}

std::vector<FilledRect> PageDrawing::RectsIn(const Rgb& fill) const {
    std::vector<FilledRect> found;
    for (const auto& r : rects)
        if (r.fill == fill)
            found.push_back(r);
    return found;
}

namespace {

// Undoes the text string form "( … )".
std::string Unescape(const std::string& literal) {
    std::string out;
    for (std::size_t i = 1; i + 1 < literal.size(); ++i) {
        char c = literal[i];
        if (c == '\\' && i + 2 < literal.size()) {
            c = literal[++i];
            switch (c) {
            case 'r':
                c = '\r';
                break;
            case 'n':
                c = '\n';
                break;
            case 't':
                c = '\t';
                break;
            case 'b':
                c = '\b';
                break;
            case 'f':
                c = '\f';
                break;
            default:
                break;
            }
        }
        out += c;
    }
    return out;
}

std::vector<double> Numbers(const std::string& line, std::size_t count) {
    std::istringstream in(line);
    std::vector<double> values;
    for (std::size_t i = 0; i < count; ++i) {
        std::string token;
        in >> token;
        values.push_back(std::stod(token));
    }
    return values;
}

} // namespace

PageDrawing Interpret(const std::string& content) {
    PageDrawing drawing;
    Rgb fill, stroke;
    std::string font;
    double size = 0;
    double width = 1;
    double tx = 0, ty = 0;
    double px = 0, py = 0;
    std::vector<StrokedLine> pathLines;
    std::vector<FilledRect> pathRects;
    for (const auto& line : ContentLines(content)) {
        const auto space = line.rfind(' ');
        const std::string op = space == std::string::npos ? line : line.substr(space + 1);
        if (op == "rg" || op == "RG") {
            const auto v = Numbers(line, 3);
            (op == "rg" ? fill : stroke) = {v[0], v[1], v[2]};
        } else if (op == "w") {
            width = Numbers(line, 1)[0];
        } else if (op == "m") {
            const auto v = Numbers(line, 2);
            px = v[0], py = v[1];
        } else if (op == "l") {
            const auto v = Numbers(line, 2);
            pathLines.push_back({px, py, v[0], v[1], 0, {}});
            px = v[0], py = v[1];
        } else if (op == "re") {
            const auto v = Numbers(line, 4);
            pathRects.push_back({v[0], v[1], v[2], v[3], {}});
        } else if (op == "S") {
            for (auto l : pathLines) {
                l.width = width;
                l.stroke = stroke;
                drawing.lines.push_back(l);
            }
            for (const auto& r : pathRects)
                drawing.outlinedRects.push_back(r);
            pathLines.clear();
            pathRects.clear();
        } else if (op == "f") {
            for (auto r : pathRects) {
                r.fill = fill;
                drawing.rects.push_back(r);
            }
            pathLines.clear();
            pathRects.clear();
        } else if (op == "Tf") {
            std::istringstream in(line);
            in >> font >> size;
            font = font.substr(1);
        } else if (op == "Td") {
            const auto v = Numbers(line, 2);
            tx = v[0], ty = v[1];
        } else if (op == "Tj") {
            drawing.texts.push_back({tx, ty, Unescape(line.substr(0, space)), font, size, fill});
        } else if (op == "BT" || op == "ET") {
        } else {
            ADD_FAILURE() << "unknown content line: " << line;
        }
    }
    return drawing;
}

int RunCommand(const std::string& command, std::string& output) {
    output.clear();
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe)
        return -1;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int status = ::pclose(pipe);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool ToolOnPath(const std::string& tool) {
    std::string ignored;
    return RunCommand("command -v " + tool + " >/dev/null", ignored) == 0;
}

} // namespace kestrova::pdf::testing
