// How the comms thread meets the rest of the program: the blocking hand-over of a step to the
// user-interface thread (upload processing and the clearing-without-upload log entry run
// there while the comms thread waits), the processing it hands over, and the receiver of Id
// buttons read at the station. The desktop program, the command line and the tests each
// implement them. Standard library only.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>

namespace kestrova {

class UiThread {
public:
    virtual ~UiThread() = default;
    // Runs `step` on the user-interface thread and returns once it has returned; an exception
    // the step throws is rethrown here. A stop request before the step has begun abandons it
    // (so that a closing window that waits for the comms thread never deadlocks): then the
    // result is false.
    virtual bool runAndWait(const std::function<void()>& step, std::stop_token stop) = 0;
};

// Upload processing of "Raw.txt" in the program directory: pre-processing, processing, the
// reports and the Done marker. Called on the user-interface thread only.
class RawProcessor {
public:
    virtual ~RawProcessor() = default;
    virtual void DoRaw() = 0;
};

// The checkpoint editor's side of an Id button read at the station. Called on the comms
// thread with the six hexadecimal digits of a button other than "000000"; an implementation
// that touches windows posts to its own thread. Errors it throws end the comms session and
// are reported like the session's own.
class IdButtonSink {
public:
    virtual ~IdButtonSink() = default;
    virtual void IdButtonRead(const std::string& id) = 0;
};

// Runs every step at once on the caller's thread: for tests and programs whose comms session
// runs on their only thread.
class DirectUiThread : public UiThread {
public:
    bool runAndWait(const std::function<void()>& step, std::stop_token stop) override;
};

// A queue of steps that the user-interface thread serves: the comms thread's runAndWait posts
// a step and blocks; the user-interface thread calls serve() from its loop.
class QueuedUiThread : public UiThread {
public:
    bool runAndWait(const std::function<void()>& step, std::stop_token stop) override;

    // Runs the steps that are waiting, if any; waits up to `timeout` for one when none is.
    // Returns whether a step ran.
    bool serve(std::chrono::milliseconds timeout);

private:
    struct Job {
        const std::function<void()>* step = nullptr;
        bool started = false;
        bool done = false;
        std::exception_ptr error;
    };
    std::mutex mutex_;
    std::condition_variable_any changed_;
    std::deque<std::shared_ptr<Job>> jobs_;
};

} // namespace kestrova
