#include "core/SystemQueries.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kestrova {

std::uint64_t TickCountSinceBoot() {
    timespec ts{};
    ::clock_gettime(CLOCK_BOOTTIME, &ts);
    return static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
           static_cast<std::uint64_t>(ts.tv_nsec / 1000000);
}

namespace {

constexpr int answerTimeoutMs = 3000;

bool isPlainMimeName(const std::string& type) {
    const auto allowed = [](unsigned char c) {
        return std::isalnum(c) || c == '/' || c == '.' || c == '+' || c == '-' || c == '_';
    };
    return !type.empty() && type.front() != '-' && std::ranges::all_of(type, allowed) &&
           std::ranges::count(type, '/') == 1;
}

// Closes a descriptor on every path out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() { close(); }
    int get() const { return fd_; }
    void close() {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
};

// Reads the child's output until it closes it or the time is up; false on time out.
bool readAll(int fd, std::string& out) {
    std::array<char, 512> buffer{};
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        const int n = ::poll(&ready, 1, answerTimeoutMs);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return true;
        out.append(buffer.data(), static_cast<std::size_t>(got));
    }
}

} // namespace

std::string DefaultApplicationFor(const std::string& mimeType) {
    if (!isPlainMimeName(mimeType))
        return {};
    int pipeEnds[2];
    if (::pipe2(pipeEnds, O_CLOEXEC) != 0)
        return {};
    Descriptor readEnd(pipeEnds[0]);
    Descriptor writeEnd(pipeEnds[1]);

    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, writeEnd.get(), STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::string program = "xdg-mime", query = "query", which = "default", type = mimeType;
    char* argv[] = {program.data(), query.data(), which.data(), type.data(), nullptr};
    pid_t child = 0;
    const int spawned = ::posix_spawnp(&child, "xdg-mime", &actions, nullptr, argv, environ);
    ::posix_spawn_file_actions_destroy(&actions);
    writeEnd.close();
    if (spawned != 0)
        return {};

    std::string answer;
    const bool answered = readAll(readEnd.get(), answer);
    if (!answered)
        ::kill(child, SIGKILL);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!answered || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    while (!answer.empty() && (answer.back() == '\n' || answer.back() == '\r'))
        answer.pop_back();
    return answer;
}

} // namespace kestrova
