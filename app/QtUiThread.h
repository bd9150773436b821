// The comms thread's hand-over to the user-interface thread in the desktop program: the step
// is posted to the application's event loop and the comms thread waits for it. A stop request
// before the step has begun abandons it, so a closing window that joins the comms thread never
// waits for a step the event loop will not run any more. Qt Core.
#pragma once

#include "link/HandOver.h"

#include <condition_variable>
#include <mutex>

namespace kestrova::app {

class QtUiThread : public UiThread {
public:
    bool runAndWait(const std::function<void()>& step, std::stop_token stop) override;

    // Whether a handed-over step runs now (on the user-interface thread).
    bool stepRunning() const;

private:
    struct Job;
    mutable std::mutex mutex_;
    std::condition_variable_any changed_;
    bool running_ = false;
};

} // namespace kestrova::app
