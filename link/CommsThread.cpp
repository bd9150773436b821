// The comms thread and its recovery from errors.
#include "link/CommsThread.h"

namespace kestrova {

void RunComms(LinkServices services, std::stop_token stop) {
    SerialTrace recoveryTrace(services.programDir, services.sessionNumber);
    while (!stop.stop_requested()) {
        try {
            CommsSession session(services);
            session.StationSearch(stop);
            if (stop.stop_requested())
                return;
            session.SessionLoop(stop);
            return;
        } catch (const std::exception& error) {
            const std::string text = std::string(kLinkErrorText) + error.what();
            try {
                recoveryTrace.TraceSerial(0, text);
            } catch (const std::exception&) {
                // The trace may fail for the same reason; the status line still shows it.
            }
            services.state.setStatusText(text);
            services.clock.sleepUntil(services.clock.nowMs() + kErrorPauseMs, stop);
        }
    }
}

TCommsThread::TCommsThread(LinkServices services) : services_(std::move(services)) {}

TCommsThread::~TCommsThread() {
    stop();
}

void TCommsThread::start() {
    if (thread_.joinable())
        return;
    running_ = true;
    thread_ = std::thread([this, stop = stop_.get_token()] {
        RunComms(services_, stop);
        running_ = false;
    });
}

void TCommsThread::requestStop() {
    stop_.request_stop();
}

void TCommsThread::stop() {
    if (!thread_.joinable())
        return;
    stop_.request_stop();
    thread_.join();
    services_.port.setDtr(true);
    services_.port.close();
}

} // namespace kestrova
