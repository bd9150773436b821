// The two hand-overs to the user-interface thread.
#include "link/HandOver.h"

#include <algorithm>

namespace kestrova {

bool DirectUiThread::runAndWait(const std::function<void()>& step, std::stop_token stop) {
    if (stop.stop_requested())
        return false;
    step();
    return true;
}

bool QueuedUiThread::runAndWait(const std::function<void()>& step, std::stop_token stop) {
    auto job = std::make_shared<Job>();
    job->step = &step;
    std::unique_lock lock(mutex_);
    jobs_.push_back(job);
    changed_.notify_all();
    const bool finished = changed_.wait(lock, stop, [&] { return job->done; });
    if (!finished) {
        if (!job->started) {
            jobs_.erase(std::remove(jobs_.begin(), jobs_.end(), job), jobs_.end());
            return false;
        }
        // Begun: the step refers to the caller's objects, so it must end before we do.
        changed_.wait(lock, [&] { return job->done; });
    }
    if (job->error)
        std::rethrow_exception(job->error);
    return true;
}

bool QueuedUiThread::serve(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (jobs_.empty())
        changed_.wait_for(lock, timeout, [&] { return !jobs_.empty(); });
    bool ran = false;
    while (!jobs_.empty()) {
        const std::shared_ptr<Job> job = jobs_.front();
        jobs_.pop_front();
        job->started = true;
        lock.unlock();
        try {
            (*job->step)();
        } catch (...) {
            job->error = std::current_exception();
        }
        lock.lock();
        job->done = true;
        ran = true;
        changed_.notify_all();
    }
    return ran;
}

} // namespace kestrova
