#include "app/ProgramWindows.h"

namespace kestrova::app {

ProgramWindows::ProgramWindows(DesktopProgram& program, QWidget* parent)
    : program_(program), parent_(parent) {}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::add(const std::string& windowClass, WindowEntry entry) {
    entries_[windowClass] = std::move(entry);
}

bool ProgramWindows::registered(const std::string& windowClass) const {
    return entries_.count(windowClass) != 0;
}

void ProgramWindows::createAll() {
    for (const std::string& name : windowCreationOrder()) {
        const auto found = entries_.find(name);
        if (found == entries_.end() || found->second.createdWhenOpened || kept_.count(name))
            continue;
        kept_[name] = found->second.create(program_, parent_);
    }
    for (auto& [name, window] : kept_)
        if (const auto& hook = entries_.at(name).connect)
            hook(*window, *this);
}

void ProgramWindows::preselect(const Settings& settings) {
    for (auto& [name, window] : kept_)
        if (const auto& hook = entries_.at(name).preselect)
            hook(*window, settings);
}

void ProgramWindows::loadPreferences(const Settings& settings) {
    for (auto& [name, window] : kept_)
        if (const auto& hook = entries_.at(name).loadPreferences)
            hook(*window, settings);
}

bool ProgramWindows::openModal(const std::string& windowClass) {
    const auto found = entries_.find(windowClass);
    if (found == entries_.end())
        return false;
    if (found->second.createdWhenOpened) {
        const std::shared_ptr<QDialog> window = found->second.create(program_, parent_);
        show(found->second, *window);
        return true;
    }
    if (!kept_.count(windowClass))
        kept_[windowClass] = found->second.create(program_, parent_);
    // Held for the showing: nothing may drop the window while it runs its event loop.
    const std::shared_ptr<QDialog> window = kept_[windowClass];
    show(found->second, *window);
    return true;
}

void ProgramWindows::show(const WindowEntry& entry, QDialog& window) {
    if (entry.open)
        entry.open(window, *this);
    else
        window.exec();
}

QDialog* ProgramWindows::window(const std::string& windowClass) const {
    const auto found = kept_.find(windowClass);
    return found == kept_.end() ? nullptr : found->second.get();
}

} // namespace kestrova::app
