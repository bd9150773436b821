// Device servers that nobody here wrote, started by the tests on the loopback address: the
// system's ser2net in front of a pseudo-terminal, and a small server on python3-serial's
// COM-PORT support in front of a loop-back device. Each reports why it cannot run, so that a
// test can skip itself on a machine without the package.
#pragma once

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <netinet/in.h>
#include <optional>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace kestrova::testing {

// A program found on the PATH or in the system directories; empty when missing.
inline std::string findProgram(const std::string& name) {
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    path += ":/usr/sbin:/sbin:/usr/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find(':', start), path.size());
        const std::string candidate = path.substr(start, end - start) + "/" + name;
        if (end > start && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return {};
}

// A TCP port on 127.0.0.1 that was free a moment ago.
inline int freeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

// Whether something listens on 127.0.0.1:port.
inline bool listening(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    const bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return ok;
}

// A child process with its output in a file, killed when it goes out of scope.
class ServerProcess {
public:
    ServerProcess(const std::vector<std::string>& argv, const std::filesystem::path& output) {
        pid_ = ::fork();
        if (pid_ == 0) {
            const int out = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            ::dup2(out, 1);
            ::dup2(out, 2);
            std::vector<char*> args;
            for (const std::string& arg : argv)
                args.push_back(const_cast<char*>(arg.c_str()));
            args.push_back(nullptr);
            ::execv(args[0], args.data());
            ::_exit(127);
        }
    }
    ~ServerProcess() { stop(); }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Ends it at once, as a crash or a pulled cable ends a connection.
    void stop() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        pid_ = -1;
    }
    // Waits for it to listen on `port`; false when it ended or took longer than `ms`.
    bool awaitListening(int port, int ms = 5000) {
        for (int waited = 0; waited < ms; waited += 20) {
            if (listening(port))
                return true;
            if (::waitpid(pid_, nullptr, WNOHANG) == pid_) {
                pid_ = -1;
                return false;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

private:
    pid_t pid_ = -1;
};

// ser2net accepting Telnet with the COM-PORT option on 127.0.0.1:port, in front of `device`.
class Ser2net {
public:
    Ser2net(const std::filesystem::path& dir, const std::string& device, int port)
        : dir_(dir), port_(port) {
        std::ofstream(dir / "ser2net.yaml")
            << "connection: &station\n"
            << "  accepter: telnet(rfc2217),tcp,127.0.0.1," << port << "\n"
            << "  connector: serialdev," << device << ",9600n81,local\n"
            << "  options:\n"
            << "    kickolduser: true\n";
    }
    static std::string missing() {
        return findProgram("ser2net").empty() ? "ser2net is not installed" : "";
    }
    // Starts (or starts again) the server; false when it does not come up.
    bool start() {
        process_.reset();
        process_.emplace(std::vector<std::string>{findProgram("ser2net"), "-n", "-u", "-c",
                                                  (dir_ / "ser2net.yaml").string(), "-P",
                                                  (dir_ / "ser2net.pid").string()},
                         dir_ / "ser2net.out");
        return process_->awaitListening(port_);
    }
    void kill() { process_.reset(); }

private:
    std::filesystem::path dir_;
    int port_;
    std::optional<ServerProcess> process_;
};

} // namespace kestrova::testing
