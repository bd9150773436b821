// The help documents: a plain text source turned into a PDF document with the program's own
// PDF writer, so the build needs nothing from outside to make them. The source is 8-bit text:
//   "# Title"       the document's title (first line), followed by an optional subtitle line;
//   "## Heading"    a section heading;
//   "- text"        a bullet item;
//   "> command"     a line to type, set in a fixed-width font;
//   other lines     paragraph text; an empty line ends a paragraph.
// Depends on the pdf module and the standard library.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kestrova::help {

struct HelpBlock {
    enum class Kind { Heading, Paragraph, Bullet, Command };
    Kind kind;
    std::string text;

    friend bool operator==(const HelpBlock&, const HelpBlock&) = default;
};

struct HelpText {
    std::string title;
    std::string subtitle;
    std::vector<HelpBlock> blocks;
};

// Takes the source apart. A source without a "# " title line is refused (std::invalid_argument).
HelpText ParseHelpText(std::string_view source);

// The document's PDF bytes: A4 portrait pages with the title on the first, running text
// wrapped to the page width, and the title and page number in every footer. The creation date
// is fixed, so the same source always gives the same bytes.
std::string RenderHelpPdf(const HelpText& text);

} // namespace kestrova::help
