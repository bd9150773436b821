// A fresh program directory behind the fake desktop, with the default messages and the shared
// state, for tests of what a window's actions do to the settings and the admin log.
#pragma once

#include "core/MainState.h"
#include "core/ProgramContext.h"
#include "core/testing/FakeDesktop.h"

#include <filesystem>
#include <string>

namespace kestrova::testing {

class ProgramFixture {
protected:
    ProgramFixture() : context(dir.path(), fake.desktop, "1") {
        context.messages.SetDefaultMessages();
    }
    // The admin log of the fake clock's month, empty while nothing was logged.
    std::string adminLog() const {
        const auto log = context.adminLog.fileFor(fake.clock.time);
        return std::filesystem::exists(log) ? readFile(log) : std::string();
    }

    TempDir dir;
    FakeDesktop fake;
    ProgramContext context;
    MainState state;
};

} // namespace kestrova::testing
