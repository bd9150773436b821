#include "app/QtUiThread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <exception>
#include <memory>

namespace kestrova::app {

struct QtUiThread::Job {
    const std::function<void()>* step = nullptr;
    bool started = false;
    bool abandoned = false;
    bool done = false;
    std::exception_ptr error;
};

bool QtUiThread::runAndWait(const std::function<void()>& step, std::stop_token stop) {
    auto job = std::make_shared<Job>();
    job->step = &step;
    // Posted to the application object, which outlives every window; the job is shared so
    // that an abandoned one is still safe to look at when the event loop gets to it.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [this, job] {
            {
                const std::lock_guard lock(mutex_);
                if (job->abandoned)
                    return;
                job->started = true;
                running_ = true;
            }
            try {
                (*job->step)();
            } catch (...) {
                job->error = std::current_exception();
            }
            const std::lock_guard lock(mutex_);
            job->done = true;
            running_ = false;
            changed_.notify_all();
        },
        Qt::QueuedConnection);

    std::unique_lock lock(mutex_);
    if (!changed_.wait(lock, stop, [&] { return job->done; })) {
        if (!job->started) {
            job->abandoned = true;
            return false;
        }
        // Begun: the step refers to the caller's objects, so it must end before we do.
        changed_.wait(lock, [&] { return job->done; });
    }
    if (job->error)
        std::rethrow_exception(job->error);
    return true;
}

bool QtUiThread::stepRunning() const {
    const std::lock_guard lock(mutex_);
    return running_;
}

} // namespace kestrova::app
