// Runs the built kestrova-cli in a shell and collects its exit status and output.
#pragma once

#include "core/testing/FakeDesktop.h"

#include <cstdlib>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace kestrova::testing {

struct Result {
    int status;
    std::string out;
    std::string err;
};

inline std::string quoted(const std::string& arg) {
    std::string q = "'";
    for (const char c : arg)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline Result runCli(const TempDir& dir, const std::vector<std::string>& args) {
    std::string command = quoted(KESTROVA_CLI);
    for (const auto& arg : args)
        command += " " + quoted(arg);
    command += " >" + quoted((dir / ".out").string()) + " 2>" + quoted((dir / ".err").string());
    const int raw = std::system(command.c_str());
    return {WEXITSTATUS(raw), readFile(dir / ".out"), readFile(dir / ".err")};
}

} // namespace kestrova::testing
