// Write-stage faults for the crash-safety tests.
#include "core/testing/WriteFaults.h"

#include "core/Errors.h"
#include "core/TextFile.h"
#include "core/testing/FakeDesktop.h"

#include <cerrno>
#include <optional>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrova::testing {
namespace fs = std::filesystem;

namespace {

constexpr int kChildReached = 0;
constexpr int kChildFinished = 3;
constexpr int kChildThrew = 4;

// Removes the hook however the operation ends.
class HookScope {
public:
    explicit HookScope(WriteHook hook) { setWriteHookForTesting(std::move(hook)); }
    ~HookScope() { setWriteHookForTesting({}); }
    HookScope(const HookScope&) = delete;
    HookScope& operator=(const HookScope&) = delete;
};

bool isTemporaryCopy(const std::string& name) {
    return name.starts_with(".") && name.ends_with(".tmp");
}

} // namespace

int countWriteStages(const std::function<void()>& operation) {
    int stages = 0;
    const HookScope scope([&](WriteStage, const fs::path&) { ++stages; });
    operation();
    return stages;
}

FailedRun runFailingAtStage(int stage, const std::function<void()>& operation) {
    FailedRun run;
    int seen = 0;
    const HookScope scope([&](WriteStage, const fs::path& file) {
        if (++seen != stage)
            return;
        run.reached = true;
        errno = ENOSPC;
        throw makeIoError("write", file);
    });
    try {
        operation();
    } catch (const std::exception& error) {
        run.error = generalErrorMessage(error);
    }
    return run;
}

bool runKilledAtStage(int stage, const std::function<void()>& operation) {
    const pid_t child = ::fork();
    if (child == 0) {
        int seen = 0;
        setWriteHookForTesting([&](WriteStage, const fs::path&) {
            if (++seen == stage)
                ::_exit(kChildReached);
        });
        try {
            operation();
        } catch (...) {
            ::_exit(kChildThrew);
        }
        ::_exit(kChildFinished);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == kChildReached;
}

FileSnapshot snapshotFiles(const fs::path& dir) {
    FileSnapshot files;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        if (entry.is_regular_file() && !isTemporaryCopy(entry.path().filename().string()))
            files[fs::relative(entry.path(), dir).generic_string()] = readFile(entry.path());
    }
    return files;
}

std::vector<std::string> filesNeitherOldNorNew(const FileSnapshot& before,
                                               const FileSnapshot& after, const FileSnapshot& now,
                                               const std::set<std::string>& appended,
                                               StoppedBy stop) {
    std::set<std::string> names;
    for (const auto* files : {&before, &after, &now})
        for (const auto& [name, bytes] : *files)
            names.insert(name);
    const auto state = [](const FileSnapshot& files, const std::string& name) {
        const auto found = files.find(name);
        return found == files.end() ? std::optional<std::string>() : found->second;
    };
    std::vector<std::string> wrong;
    for (const auto& name : names) {
        const auto current = state(now, name);
        const auto old = state(before, name);
        const auto made = state(after, name);
        if (current == old || current == made)
            continue;
        const bool partlyAppended =
            appended.contains(name) && current && made && current->starts_with(old.value_or("")) &&
            made->starts_with(*current) && (stop == StoppedBy::Crash || current->ends_with("\r\n"));
        if (!partlyAppended)
            wrong.push_back(name);
    }
    return wrong;
}

} // namespace kestrova::testing
