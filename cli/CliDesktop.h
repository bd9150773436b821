// The desktop as the headless command sees it: messages meant for a message box go to standard
// error, nothing is ever asked (a confirmation answers no, a file dialog is cancelled, an input
// dialog too unless the command supplied its answer), documents are never opened, and the
// clock is the system's or the one fixed by --now. Standard library only.
#pragma once

#include "core/Desktop.h"

#include <optional>
#include <ostream>

namespace kestrova::cli {

class ConsoleDialogs : public Dialogs {
public:
    explicit ConsoleDialogs(std::ostream& err) : err_(err) {}
    void showInformation(const std::string& text) override;
    void showError(const std::string& text) override;
    bool confirm(const std::string& text) override;
    std::optional<std::string> inputLine(const std::string& title, const std::string& prompt,
                                         const std::string& initial) override;
    std::optional<std::filesystem::path> openFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> saveFile(const FileDialogRequest&) override {
        return std::nullopt;
    }
    std::optional<std::filesystem::path> chooseFolder(const FileDialogRequest&) override {
        return std::nullopt;
    }

    // The answer the next input dialog gets, taken from the command line; without one the
    // dialog is cancelled.
    void answerNextInput(std::string answer) { nextInput_ = std::move(answer); }

private:
    std::ostream& err_;
    std::optional<std::string> nextInput_;
};

class NoEvents : public EventPump {
public:
    void processEvents() override {}
};

class NoBusyPanel : public BusyIndicator {
public:
    void setBusy(bool) override {}
};

// Never opens a document; answers the PDF program lookup from the desktop's default
// application for application/pdf, as the Qt program does.
class HeadlessDocuments : public DocumentOpener {
public:
    void openDocument(const std::filesystem::path&) override {}
    std::string programFor(const std::string& extension) override;
};

class SilentBeeper : public Beeper {
public:
    void beep() override {}
};

// The system's local time, or a fixed moment; the tick count is always the system's.
class CliClock : public Clock {
public:
    explicit CliClock(std::optional<LocalDateTime> fixedNow) : fixedNow_(fixedNow) {}
    LocalDateTime now() const override;
    std::uint64_t tickCount() const override;

private:
    std::optional<LocalDateTime> fixedNow_;
};

// The environment's LC_TIME short date (%x) and long time (%X).
class EnvironmentLocale : public LocaleFormats {
public:
    EnvironmentLocale();
    std::string shortDate(const LocalDateTime& t) const override;
    std::string longTime(const LocalDateTime& t) const override;
};

class NoTrash : public Trash {
public:
    bool moveToTrash(const std::filesystem::path&) override { return false; }
};

// The bundle the commands hand to the logic.
struct CliDesktop {
    CliDesktop(std::ostream& err, std::optional<LocalDateTime> now) : dialogs(err), clock(now) {}
    ConsoleDialogs dialogs;
    NoEvents events;
    NoBusyPanel busy;
    HeadlessDocuments documents;
    SilentBeeper beeper;
    CliClock clock;
    EnvironmentLocale locale;
    NoTrash trash;
    Desktop desktop{dialogs, events, busy, documents, beeper, clock, locale, trash};
};

} // namespace kestrova::cli
