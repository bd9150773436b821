// The main window's rules that need no display: the hidden keys and the "Emty" sequence, the
// window sizes they switch between, the clock line's colour, and the closing steps on the
// program directory (temporary files, the unprocessed-upload question). The window applies
// the results. Standard library only.
#pragma once

#include <filesystem>
#include <string>

namespace kestrova {

// What a key typed in the main window (or its trace view) does.
enum class MainKeyAction {
    None,
    ToggleMenu,     // "!": menu entries shown or hidden, window 20 pixels higher or lower
    ToggleTrace,    // "@": the width that shows the trace view Memo1, or the normal one
    PortSetup,      // "#": TfrmDelay
    ProcessFile,    // "^": choose a file and process it
    AdminLogViewer, // "(": TfrmLogFile
};

// Where the typed keys stand in the sequence "Emty", and what the window shows.
struct KeySequence {
    int position = 1;         // 1-based position of the next expected letter
    bool showBadLuck = false; // Label1 in place of the status group and the clock line

    friend bool operator==(const KeySequence&, const KeySequence&) = default;
};

struct KeyResult {
    MainKeyAction action = MainKeyAction::None;
    KeySequence sequence;
};

KeyResult MainWindowKey(char key, const KeySequence& sequence);

inline constexpr int kNormalWidth = 429;
inline constexpr int kTraceWidth = 663;
inline constexpr int kMenuHeight = 20;

// "@": wider than 500 pixels goes back to the normal width, otherwise to the trace width.
int ToggledWidth(int width);

// The clock line: red while a baton write waits, blue otherwise.
enum class ClockLineColour { Blue, Red };
ClockLineColour ClockLineColourFor(bool writePending);

// Closing steps 1 and 2: "Processed.txt" of the program directory and every "*.$$$" there.
void DeleteClosingTemporaries(const std::filesystem::path& programDir);

// Closing step 3: "Raw.txt" exists and its last line is not "Done" (an empty file counts as
// unprocessed).
bool UploadAwaitsProcessing(const std::filesystem::path& programDir);

} // namespace kestrova
