// The main window's display-free rules.
#include "shell/MainWindowRules.h"

#include "core/FileNames.h"
#include "core/TextFile.h"

#include <string_view>
#include <system_error>

namespace kestrova {
namespace fs = std::filesystem;

namespace {
constexpr std::string_view kSequence = "Emty";
constexpr int kWideLimit = 500;
// What an upload file without any line counts as: anything but the Done marker.
constexpr std::string_view kEmptyFileLastLine = "1234567890";

MainKeyAction actionOf(char key) {
    switch (key) {
    case '!':
        return MainKeyAction::ToggleMenu;
    case '@':
        return MainKeyAction::ToggleTrace;
    case '#':
        return MainKeyAction::PortSetup;
    case '^':
        return MainKeyAction::ProcessFile;
    case '(':
        return MainKeyAction::AdminLogViewer;
    default:
        return MainKeyAction::None;
    }
}
} // namespace

KeyResult MainWindowKey(char key, const KeySequence& sequence) {
    KeyResult result{actionOf(key), sequence};
    const auto index = static_cast<std::size_t>(sequence.position - 1);
    if (index < kSequence.size() && key == kSequence[index]) {
        result.sequence.position = sequence.position + 1;
        result.sequence.showBadLuck = false;
        if (result.sequence.position > static_cast<int>(kSequence.size())) {
            result.sequence.showBadLuck = true;
            result.sequence.position = 1;
        }
        return result;
    }
    // Any other key restores the window and starts the sequence again; a key that is the
    // sequence's first letter begins it anew.
    result.sequence.showBadLuck = false;
    result.sequence.position = key == kSequence.front() ? 2 : 1;
    return result;
}

int ToggledWidth(int width) {
    return width > kWideLimit ? kNormalWidth : kTraceWidth;
}

ClockLineColour ClockLineColourFor(bool writePending) {
    return writePending ? ClockLineColour::Red : ClockLineColour::Blue;
}

void DeleteClosingTemporaries(const fs::path& programDir) {
    std::error_code ec;
    const fs::path processed = resolveInDirectory(programDir, "Processed.txt");
    fs::remove(processed, ec);
    for (fs::directory_iterator it(programDir, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.size() >= 4 && name.compare(name.size() - 4, 4, ".$$$") == 0) {
            std::error_code removeError;
            fs::remove(it->path(), removeError);
        }
    }
}

bool UploadAwaitsProcessing(const fs::path& programDir) {
    const fs::path raw = resolveInDirectory(programDir, "Raw.txt");
    if (!fileExists(raw))
        return false;
    const Lines lines = readLines(raw);
    const std::string last = lines.empty() ? std::string(kEmptyFileLastLine) : lines.back();
    return last != "Done";
}

} // namespace kestrova
