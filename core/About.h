// The About window's rules: the texts its controls show when it opens, and what a document
// link does (open the document, or tell the user that no PDF program is installed and where to
// find one). Standard library only.
#pragma once

#include "core/Desktop.h"
#include "core/MessageTable.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// A control of the About window and the text it shows; the empty control is the window title.
struct AboutText {
    std::string_view control;
    std::string text;

    friend bool operator==(const AboutText&, const AboutText&) = default;
};

// The texts after opening. Entries 115 to 145 come only from a language file; where one is
// empty the control keeps its form text, so no control is left blank.
std::vector<AboutText> AboutTexts(const MessageTable& messages);

// What a document link does: open `document`, or show `message` instead.
struct DocumentLinkAction {
    std::optional<std::filesystem::path> open;
    std::optional<std::string> message;
};

// For Install.pdf, Basic.pdf and Advanced.pdf (and the Reports window's help markers): open the
// document of the program directory when a PDF program is found; otherwise message 137, a
// line break and the address of the help page on PDF readers. A failing lookup counts as none.
DocumentLinkAction DocumentLink(const std::filesystem::path& programDir, DocumentOpener& documents,
                                const MessageTable& messages, std::string_view document);

} // namespace kestrova
