// Test doubles of the desktop interfaces: dialogs answered in advance and recorded, a clock
// set by the test, fixed locale formats, and a trash that records what it was given.
#pragma once

#include "core/Desktop.h"

#include <deque>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace kestrova::testing {

class FakeDialogs : public Dialogs {
public:
    void showInformation(const std::string& text) override { information.push_back(text); }
    void showError(const std::string& text) override { errors.push_back(text); }
    bool confirm(const std::string& text) override;
    std::optional<std::string> inputLine(const std::string& title, const std::string& prompt,
                                         const std::string& initial) override;
    std::optional<std::filesystem::path> openFile(const FileDialogRequest& request) override;
    std::optional<std::filesystem::path> saveFile(const FileDialogRequest& request) override;
    std::optional<std::filesystem::path> chooseFolder(const FileDialogRequest& request) override;

    // Answers given in order. An exhausted queue answers "no" to a confirmation and throws
    // std::logic_error for an input dialog (queue std::nullopt to cancel).
    std::deque<bool> confirmAnswers;
    std::deque<std::optional<std::string>> inputAnswers;
    // The files the open and save dialogs choose, in order; an exhausted queue cancels.
    std::deque<std::optional<std::filesystem::path>> fileAnswers;

    std::vector<std::string> information;
    std::vector<std::string> errors;
    std::vector<std::string> confirmations;
    struct InputRequest {
        std::string title, prompt, initial;
    };
    std::vector<InputRequest> inputRequests;
    struct FileRequest {
        bool save = false;
        FileDialogRequest request;
    };
    std::vector<FileRequest> fileRequests;
    // The folders the folder dialog chooses, in order (an exhausted queue cancels), and what
    // each dialog was asked.
    std::deque<std::optional<std::filesystem::path>> folderAnswers;
    std::vector<FileDialogRequest> folderRequests;

private:
    std::optional<std::filesystem::path> answerFile(bool save, const FileDialogRequest& request);
};

class FakeEventPump : public EventPump {
public:
    void processEvents() override { ++calls; }
    int calls = 0;
};

class FakeBusy : public BusyIndicator {
public:
    void setBusy(bool value) override { busy = value, history.push_back(value); }
    bool busy = false;
    std::vector<bool> history;
};

class FakeDocuments : public DocumentOpener {
public:
    void openDocument(const std::filesystem::path& document) override {
        opened.push_back(document);
    }
    std::string programFor(const std::string& extension) override;

    std::vector<std::filesystem::path> opened;
    std::string pdfProgram;   // empty: no program registered
    bool lookupFails = false; // the lookup throws
};

class FakeBeeper : public Beeper {
public:
    void beep() override { ++beeps; }
    int beeps = 0;
};

class FakeClock : public Clock {
public:
    LocalDateTime now() const override { return time; }
    std::uint64_t tickCount() const override { return ticks; }
    LocalDateTime time{2024, 3, 5, 14, 7, 9, 0};
    std::uint64_t ticks = 0x1234;
};

// dd/MM/yyyy and HH:mm:ss, whatever the machine's locale is.
class FakeLocale : public LocaleFormats {
public:
    std::string shortDate(const LocalDateTime& t) const override;
    std::string longTime(const LocalDateTime& t) const override;
};

class FakeTrash : public Trash {
public:
    bool moveToTrash(const std::filesystem::path& item) override;
    bool succeed = true;
    std::vector<std::filesystem::path> trashed;
};

// Every fake at once, with the bundle the logic takes.
struct FakeDesktop {
    FakeDialogs dialogs;
    FakeEventPump events;
    FakeBusy busy;
    FakeDocuments documents;
    FakeBeeper beeper;
    FakeClock clock;
    FakeLocale locale;
    FakeTrash trash;
    Desktop desktop{dialogs, events, busy, documents, beeper, clock, locale, trash};
};

// A fresh empty directory for one test, removed with everything in it afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

// Test data helpers.
void writeFile(const std::filesystem::path& file, const std::string& bytes);
std::string readFile(const std::filesystem::path& file);

} // namespace kestrova::testing
