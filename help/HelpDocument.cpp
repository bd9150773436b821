#include "help/HelpDocument.h"

#include "core/Desktop.h"
#include "core/TextFile.h"
#include "pdf/PdfDoc.h"
#include "pdf/PdfTypes.h"

#include <memory>
#include <stdexcept>

namespace kestrova::help {

namespace {

using pdf::TPdfCanvas;
using pdf::TPdfDoc;

// A fixed moment for the document information, so that the bytes (and the checksums the
// installation check compares) do not change from one build to the next.
class FixedClock : public Clock {
public:
    LocalDateTime now() const override { return {2013, 8, 14, 12, 0, 0, 0}; }
    std::uint64_t tickCount() const override { return 0; }
};

constexpr std::uint16_t kPageWidth = 595;
constexpr std::uint16_t kPageHeight = 842;
constexpr float kLeft = 62;
constexpr float kRight = kPageWidth - 62;
constexpr float kTop = 780;
constexpr float kBottom = 70;

struct Style {
    const char* font;
    float size;
    float leading;
};
constexpr Style kTitle{"Arial-Bold", 22, 28};
constexpr Style kSubtitle{"Arial-Italic", 12, 16};
constexpr Style kHeading{"Arial-Bold", 13, 18};
constexpr Style kBody{"Times-Roman", 11, 14.5f};
constexpr Style kFooter{"Arial", 8, 10};
constexpr Style kCommand{"FixedWidth", 10, 14};
constexpr float kBulletIndent = 14;
constexpr float kBulletTextIndent = 26;
constexpr const char* kBullet = "\x95"; // Windows-1252 bullet

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t");
    return std::string(text.substr(first, last - first + 1));
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// Lays the blocks out page by page.
class Layout {
public:
    explicit Layout(const HelpText& text) : text_(text) {
        doc_.SetDefaultPageWidth(kPageWidth);
        doc_.SetDefaultPageHeight(kPageHeight);
        doc_.StartDocument();
        doc_.Info().Data()->AddItem("Title", std::make_shared<pdf::TPdfText>(text.title));
        newPage();
    }

    void title() {
        write(kTitle, kLeft, text_.title);
        if (!text_.subtitle.empty())
            write(kSubtitle, kLeft, text_.subtitle);
        y_ -= 4;
        auto& c = canvas();
        c.SetStrokeRgb(0x808080);
        c.SetPenWidth(0.8f);
        c.PathMove(kLeft, y_);
        c.PathLine(kRight, y_);
        c.StrokePath();
        y_ -= 10;
    }

    void block(const HelpBlock& b) {
        switch (b.kind) {
        case HelpBlock::Kind::Heading:
            // A heading never ends a page: it keeps at least two body lines below it.
            if (y_ - kHeading.leading - 6 - 2 * kBody.leading < kBottom)
                newPage();
            y_ -= 6;
            write(kHeading, kLeft, b.text);
            y_ -= 2;
            break;
        case HelpBlock::Kind::Paragraph:
            wrapped(kBody, kLeft, b.text);
            y_ -= 6;
            break;
        case HelpBlock::Kind::Command:
            wrapped(kCommand, kLeft + kBulletIndent, b.text);
            y_ -= 3;
            break;
        case HelpBlock::Kind::Bullet: {
            ensureRoom(kBody.leading);
            const float bulletLine = y_;
            select(kBody);
            canvas().PlaceText(kLeft + kBulletIndent, bulletLine - kBody.size, kBullet);
            wrapped(kBody, kLeft + kBulletTextIndent, b.text);
            y_ -= 3;
            break;
        }
        }
    }

    std::string finish() {
        footer();
        return doc_.SaveToString();
    }

private:
    TPdfCanvas& canvas() { return doc_.GetCanvas(); }
    void select(const Style& s) { canvas().SelectFont(s.font, s.size); }

    void newPage() {
        if (pages_ > 0) {
            footer();
            doc_.AddPage();
        } else {
            doc_.AddPage();
        }
        ++pages_;
        y_ = kTop;
    }

    void footer() {
        auto& c = canvas();
        select(kFooter);
        c.SetFillRgb(0x606060);
        c.PlaceText(kLeft, 40, "Kestrova uploader - " + text_.title);
        const std::string page = "Page " + std::to_string(pages_);
        c.PlaceText(kRight - c.MeasureText(page), 40, page);
        c.SetFillRgb(0);
    }

    void ensureRoom(float height) {
        if (y_ - height < kBottom)
            newPage();
    }

    // One line at the current position; y_ is the top of the line.
    void write(const Style& s, float x, const std::string& line) {
        ensureRoom(s.leading);
        select(s);
        canvas().PlaceText(x, y_ - s.size, line);
        y_ -= s.leading;
    }

    // Text broken into lines at spaces to fit between x and the right margin.
    void wrapped(const Style& s, float x, const std::string& text) {
        select(s);
        const float width = kRight - x;
        std::string line;
        std::size_t pos = 0;
        while (pos < text.size()) {
            const auto space = text.find(' ', pos);
            const auto end = space == std::string::npos ? text.size() : space;
            std::string word = text.substr(pos, end - pos);
            pos = end == text.size() ? end : end + 1;
            if (word.empty())
                continue;
            // A word wider than the whole line is cut into pieces that fit.
            while (canvas().MeasureText(word) > width && word.size() > 1) {
                std::size_t fits = 1;
                while (fits < word.size() &&
                       canvas().MeasureText(word.substr(0, fits + 1)) <= width)
                    ++fits;
                if (!line.empty())
                    write(s, x, line), select(s);
                write(s, x, word.substr(0, fits));
                select(s);
                line.clear();
                word.erase(0, fits);
            }
            const std::string candidate = line.empty() ? word : line + " " + word;
            if (!line.empty() && canvas().MeasureText(candidate) > width) {
                write(s, x, line);
                select(s);
                line = word;
            } else {
                line = candidate;
            }
        }
        if (!line.empty())
            write(s, x, line);
    }

    const HelpText& text_;
    FixedClock clock_;
    TPdfDoc doc_{clock_};
    int pages_ = 0;
    float y_ = kTop;
};

} // namespace

HelpText ParseHelpText(std::string_view source) {
    const Lines lines = splitLines(source);
    if (lines.empty() || !startsWith(lines[0], "# "))
        throw std::invalid_argument("a help text begins with a \"# \" title line");
    HelpText text;
    text.title = trimmed(std::string_view(lines[0]).substr(2));
    std::size_t i = 1;
    if (i < lines.size() && !trimmed(lines[i]).empty() && !startsWith(lines[i], "#") &&
        !startsWith(lines[i], "- ") && !startsWith(lines[i], "> ")) {
        text.subtitle = trimmed(lines[i]);
        ++i;
    }
    bool paragraphOpen = false; // the last block is a paragraph that the next line continues
    for (; i < lines.size(); ++i) {
        const std::string line = trimmed(lines[i]);
        if (line.empty()) {
            paragraphOpen = false;
        } else if (startsWith(line, "## ")) {
            text.blocks.push_back({HelpBlock::Kind::Heading, trimmed(line.substr(3))});
            paragraphOpen = false;
        } else if (startsWith(line, "> ")) {
            text.blocks.push_back({HelpBlock::Kind::Command, trimmed(line.substr(2))});
            paragraphOpen = false;
        } else if (startsWith(line, "- ")) {
            text.blocks.push_back({HelpBlock::Kind::Bullet, trimmed(line.substr(2))});
            paragraphOpen = false;
        } else if (paragraphOpen) {
            text.blocks.back().text += " " + line;
        } else {
            text.blocks.push_back({HelpBlock::Kind::Paragraph, line});
            paragraphOpen = true;
        }
    }
    return text;
}

std::string RenderHelpPdf(const HelpText& text) {
    Layout layout(text);
    layout.title();
    for (const auto& block : text.blocks)
        layout.block(block);
    return layout.finish();
}

} // namespace kestrova::help
