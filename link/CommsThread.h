// `TCommsThread`: the background thread that talks to the station from the end of start-up
// until the program closes. It searches for the station, then runs the upload session. An
// error that escapes the session (a file that cannot be written, a failing port) does not end
// the thread: it is shown on the status line, and after a pause the station is searched for
// again. Standard library only.
#pragma once

#include "link/CommsSession.h"

#include <atomic>
#include <memory>
#include <stop_token>
#include <thread>

namespace kestrova {

// The status line while the thread recovers from an error: this text, then the error's.
inline constexpr std::string_view kLinkErrorText = "Baton link error: ";
inline constexpr std::uint64_t kErrorPauseMs = 5000;

// The thread's body, for callers that run it on a thread of their own (the tests, in virtual
// time): search, session, recovery, until a stop is requested.
void RunComms(LinkServices services, std::stop_token stop);

class TCommsThread {
public:
    explicit TCommsThread(LinkServices services);
    // Stops the thread if it still runs.
    ~TCommsThread();
    TCommsThread(const TCommsThread&) = delete;
    TCommsThread& operator=(const TCommsThread&) = delete;

    void start();
    // False once the thread's body has returned (after a stop request).
    bool running() const { return running_; }
    // Lets others request the stop (a script that ends a simulated run). Taken before start(),
    // it stops the thread that start() runs.
    std::stop_source stopSource() { return stop_; }
    void requestStop();
    // Asks the thread to stop, waits for it, then sets DTR on and closes the port.
    void stop();

private:
    LinkServices services_;
    std::atomic<bool> running_ = false;
    std::stop_source stop_;
    std::thread thread_;
};

} // namespace kestrova
