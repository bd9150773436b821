// Language files: "*.lng" files of exactly 347 lines whose line N replaces the message and the
// captions that the line table below assigns to N. Loading one replaces the texts of the
// message table and the caption table; the PDF report builder, which lives above this layer,
// receives its copy of the messages through a callback. Standard library only.
#pragma once

#include "core/CaptionTable.h"
#include "core/Desktop.h"
#include "core/MessageTable.h"
#include "core/TraceLog.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace kestrova {

inline constexpr int kLanguageFileLines = 347;

// Lines firstLine..lastLine feed messages firstMessage, firstMessage + 1, ...
struct LanguageMessageLines {
    int firstLine;
    int lastLine;
    int firstMessage;
};

// Line `line` feeds the caption (window, control, index); formText is that caption's text
// before any language file is loaded.
struct LanguageCaptionLine {
    int line;
    std::string_view window;
    std::string_view control;
    int index;
    std::string_view formText;
};

// The line table, in line order. A line feeds at most one message and any number of captions;
// a few captions are fed by two lines, and then the later line wins.
std::span<const LanguageMessageLines> languageMessageLines();
std::span<const LanguageCaptionLine> languageCaptionLines();
// The message that line `line` (1-based) feeds, if any.
std::optional<int> messageFedByLine(int line);

// The line count as the language checks take it: the number of line reads to the end of the
// file, so an empty file counts one line. Raises IoError when the file cannot be read.
int CountLanguageFileLines(const std::filesystem::path& file);

// The message shown for a file with the wrong number of lines.
std::string languageFileCountError(int count, const std::filesystem::path& file);

// Loads a language file. The file's name is matched without regard to case in its directory;
// error messages name `file` as given. With the wrong line count it shows the count error and
// changes nothing; otherwise it replaces every message and caption the line table names, hands
// the new messages to `afterLoad` (may be empty) and records the load's effects on the
// windows. Returns whether the file was applied. A file that cannot be read raises IoError
// before anything has changed.
bool LoadLanguageFile(const std::filesystem::path& file, MessageTable& messages,
                      CaptionTable& captions, Dialogs& dialogs, TraceSink& trace,
                      const std::function<void(const MessageTable&)>& afterLoad);

} // namespace kestrova
