// The seam where the other windows plug into the main window. Each window module registers
// its window class here (app/ProgramWindowsList.cpp holds the list): a factory, whether it is
// created at start-up (and kept) or each time it is opened (About, the log viewer), and the
// start-up hooks it answers (site preselection, preferences). The main window creates the
// registered windows in the program's fixed order and opens them by class name; a class not
// registered yet is simply not opened. A window may belong to a larger owner (the checkpoint
// editor owns its input box and site deletion window): its factory then hands out a pointer
// that shares that owner. Qt Widgets.
#pragma once

#include "core/Settings.h"

#include <QDialog>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace kestrova::app {

class DesktopProgram;

// The windows' creation order at start-up.
inline const std::vector<std::string>& windowCreationOrder() {
    static const std::vector<std::string> order = {
        "TfrmOpen",     "Tfrmpoints",   "TfrmFPSetup", "TfrmNew",  "TfrmIdNum",
        "TfrmUnknownP", "TfrmInputBox", "TfrmDelay",   "TfrmPref", "TfrmSiteDel"};
    return order;
}

class ProgramWindows;

struct WindowEntry {
    using Factory = std::function<std::shared_ptr<QDialog>(DesktopProgram&, QWidget* parent)>;
    Factory create;
    bool createdWhenOpened = false; // About and the log viewer
    // Start-up step 17 (Reports window, checkpoint editor) and step 18 (preferences).
    std::function<void(QDialog&, const Settings&)> preselect;
    std::function<void(QDialog&, const Settings&)> loadPreferences;
    // Run once every kept window exists, for windows that talk to each other.
    std::function<void(QDialog&, ProgramWindows&)> connect;
    // Shows the window modal; none: exec().
    std::function<void(QDialog&, ProgramWindows&)> open;
};

class ProgramWindows {
public:
    ProgramWindows(DesktopProgram& program, QWidget* parent);
    ~ProgramWindows();

    void add(const std::string& windowClass, WindowEntry entry);
    bool registered(const std::string& windowClass) const;

    // Creates the kept windows in the fixed order, then lets them find each other.
    void createAll();
    void preselect(const Settings& settings);
    void loadPreferences(const Settings& settings);
    // Shows the window modal (creating it first, and destroying it after, when it is made
    // each time). False when no such window is registered.
    bool openModal(const std::string& windowClass);
    // The kept window of a class, if created.
    QDialog* window(const std::string& windowClass) const;
    DesktopProgram& program() { return program_; }

private:
    DesktopProgram& program_;
    QWidget* parent_;
    std::map<std::string, WindowEntry> entries_;
    void show(const WindowEntry& entry, QDialog& window);

    std::map<std::string, std::shared_ptr<QDialog>> kept_;
};

// Registers every window the program has (app/ProgramWindowsList.cpp).
void registerProgramWindows(ProgramWindows& windows);

} // namespace kestrova::app
