// The program trace: a time-stamped line for each step of start-up, settings and language
// loading and closing. Every line goes to the trace view; while the marker file "Rs232.txt"
// exists in the program directory it also goes to "RsM<session number>.txt".
// Standard library only.
#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <string>

namespace kestrova {

class Clock;
struct LocalDateTime;

// Whatever receives trace lines (the trace log, or a test's recorder).
class TraceSink {
public:
    virtual ~TraceSink() = default;
    virtual void WriteTrace(const std::string& text) = 0;
};

// The main window's trace view.
class TraceView {
public:
    virtual ~TraceView() = default;
    virtual void appendTraceLine(const std::string& line) = 0;
};

// The session number: the local time as days since 30 December 1899, times 3600, rounded.
// It names the trace files of one program run.
std::string sessionNumberAt(const LocalDateTime& time);

// The tick count as the trace writes it: upper-case hexadecimal, at least six digits.
std::string tickText(std::uint64_t ticks);

class TraceLog : public TraceSink {
public:
    TraceLog(std::filesystem::path programDir, std::string sessionNumber, const Clock& clock,
             TraceView* view = nullptr);

    void WriteTrace(const std::string& text) override;
    void setView(TraceView* view);
    const std::string& sessionNumber() const { return sessionNumber_; }

private:
    std::filesystem::path programDir_;
    std::string sessionNumber_;
    const Clock& clock_;
    TraceView* view_;
    std::mutex mutex_;
};

} // namespace kestrova
