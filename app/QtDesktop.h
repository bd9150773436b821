// The desktop interfaces of the logic, implemented with Qt for the desktop program: message
// boxes and the input dialog, the event loop, opening documents, the beep, the clock, the
// system locale's formats and the trash. Texts cross here between the logic's Windows-1252
// bytes and Qt's Unicode (core/windows/WindowText.h).
#pragma once

#include "core/Desktop.h"

#include <QPointer>
#include <QWidget>

namespace kestrova::app {

class QtDialogs : public Dialogs {
public:
    // Boxes are shown over `parent` (the main window) once it exists.
    void setParent(QWidget* parent) { parent_ = parent; }
    void showInformation(const std::string& text) override;
    void showError(const std::string& text) override;
    bool confirm(const std::string& text) override;
    std::optional<std::string> inputLine(const std::string& title, const std::string& prompt,
                                         const std::string& initial) override;
    std::optional<std::filesystem::path> openFile(const FileDialogRequest& request) override;
    std::optional<std::filesystem::path> saveFile(const FileDialogRequest& request) override;
    std::optional<std::filesystem::path> chooseFolder(const FileDialogRequest& request) override;

private:
    QPointer<QWidget> parent_;
};

class QtEventPump : public EventPump {
public:
    void processEvents() override;
};

class QtDocuments : public DocumentOpener {
public:
    void openDocument(const std::filesystem::path& document) override;
    // The desktop's default application for the type (xdg-mime), empty when there is none.
    std::string programFor(const std::string& extension) override;
};

class QtBeeper : public Beeper {
public:
    void beep() override;
};

class QtClock : public Clock {
public:
    LocalDateTime now() const override;
    std::uint64_t tickCount() const override;
};

class QtLocale : public LocaleFormats {
public:
    std::string shortDate(const LocalDateTime& t) const override;
    std::string longTime(const LocalDateTime& t) const override;
};

// The desktop's trash (app/QtTrash.cpp). The trash of the user's home is created when it is
// missing (on a fresh account ~/.local/share may not exist, and Qt 6.4 then "trashes" into the
// current directory and reports success); an item that lands anywhere but in a trash is put
// back and the move counts as failed.
class QtTrash : public Trash {
public:
    bool moveToTrash(const std::filesystem::path& item) override;
};

} // namespace kestrova::app
