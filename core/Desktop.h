// What the program's logic needs from the desktop, as small interfaces. The Qt program, the
// headless command and the tests each implement them; no logic module sees a window toolkit.
// Standard library only.
#pragma once

#include "core/DateTime.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace kestrova {

// What an open-file or save-file dialog shows: its title, the name filter ("*.txt", or several
// patterns separated by spaces), the name it proposes, the extension added to a name typed
// without one ("txt") and the directory it starts in (empty: the current directory).
struct FileDialogRequest {
    std::string title;
    std::string filter;
    std::string defaultName;
    std::string defaultExtension;
    std::filesystem::path directory;
};

// Message boxes, confirmations, the one-line input dialog and the file dialogs.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    virtual void showInformation(const std::string& text) = 0;
    // An error box with an OK button.
    virtual void showError(const std::string& text) = 0;
    // A yes/no confirmation; true for yes.
    virtual bool confirm(const std::string& text) = 0;
    // The one-line input dialog; no value when the user cancels.
    virtual std::optional<std::string>
    inputLine(const std::string& title, const std::string& prompt, const std::string& initial) = 0;
    // The file the user chose; no value when the user cancels.
    virtual std::optional<std::filesystem::path> openFile(const FileDialogRequest& request) = 0;
    virtual std::optional<std::filesystem::path> saveFile(const FileDialogRequest& request) = 0;
    // An existing folder the user chose (the request's filter, name and extension unused).
    virtual std::optional<std::filesystem::path> chooseFolder(const FileDialogRequest& request) = 0;
};

// Lets pending user-interface events run during a long operation.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents() = 0;
};

// The busy panel over the main buttons while a long operation runs.
class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void setBusy(bool busy) = 0;
};

// Opening documents with their associated program, and the registry of such programs.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    virtual void openDocument(const std::filesystem::path& document) = 0;
    // The command of the program that opens files with this extension (".pdf"), empty when
    // there is none. May throw when the lookup itself fails.
    virtual std::string programFor(const std::string& extension) = 0;
};

class Beeper {
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

// The wall clock and the system's tick count.
class Clock {
public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() const = 0;
    // Milliseconds since the system started.
    virtual std::uint64_t tickCount() const = 0;
};

// The user's locale formats for dates and times on reports and in the status line.
class LocaleFormats {
public:
    virtual ~LocaleFormats() = default;
    virtual std::string shortDate(const LocalDateTime& t) const = 0;
    virtual std::string longTime(const LocalDateTime& t) const = 0;
};

// Moving a file or directory to the desktop's trash instead of deleting it.
class Trash {
public:
    virtual ~Trash() = default;
    // False when the item could not be moved.
    virtual bool moveToTrash(const std::filesystem::path& item) = 0;
};

// All of the above, as one bundle that the program's shared state hands around. The objects
// belong to whoever made the bundle and outlive every user of it.
struct Desktop {
    Dialogs& dialogs;
    EventPump& events;
    BusyIndicator& busy;
    DocumentOpener& documents;
    Beeper& beeper;
    const Clock& clock;
    const LocaleFormats& locale;
    Trash& trash;
};

} // namespace kestrova
