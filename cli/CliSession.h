// What every command of kestrova-cli receives: the program directory (-C), the moment taken as
// now (--now), its own arguments and the two output streams. Standard library only.
#pragma once

#include "cli/CliDesktop.h"
#include "core/DateTime.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace kestrova {
struct ProgramContext;
}

namespace kestrova::cli {

// A command line that cannot be understood: the usage is printed and the exit status is 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CliSession {
    std::filesystem::path programDir;
    std::optional<LocalDateTime> now;
    std::vector<std::string> args; // the command's own arguments
    std::ostream& out;
    std::ostream& err;
};

// "YYYY-MM-DD HH:MM:SS" as a local time; UsageError when it is not one.
LocalDateTime parseNow(const std::string& text);

// The shared state as start-up makes it, over the command-line desktop. The settings, the
// messages and the sites are not loaded yet: each command loads what it needs.
class CliProgram {
public:
    explicit CliProgram(const CliSession& session);
    ~CliProgram();
    CliProgram(const CliProgram&) = delete;
    CliProgram& operator=(const CliProgram&) = delete;

    ProgramContext& context() { return *context_; }
    CliDesktop& desktop() { return desktop_; }

    // Settings (creating an empty file when there is none), default messages and, when it is
    // there, the language file the settings name.
    void loadSettingsAndMessages();
    // The site list and the index, exactly as start-up builds them.
    void loadSites();

private:
    CliDesktop desktop_;
    std::unique_ptr<ProgramContext> context_;
};

} // namespace kestrova::cli
