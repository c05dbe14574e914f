#include "base/pacer.h"

#include <cerrno>
#include <ctime>

namespace {
constexpr int64_t kNsPerSecond = 1000000000;

int64_t monotonicNowNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * kNsPerSecond + now.tv_nsec;
}

void monotonicSleepUntilNs(int64_t ns)
{
    const timespec until{static_cast<time_t>(ns / kNsPerSecond), static_cast<long>(ns % kNsPerSecond)};
    // A signal may cut the sleep short; the deadline stays the same. Any
    // other answer ends the wait rather than spinning on it.
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

const PaceClock kSteadyClock = {monotonicNowNs, monotonicSleepUntilNs};
}  // namespace

int64_t passEndOffsetNs(int64_t passes, int passesPerSecond)
{
    // Whole seconds and the passes left over apart: the leftover is below
    // the rate, so its product with 10^9 stays small.
    const int64_t wholeSeconds = passes / passesPerSecond;
    const int64_t leftOver = passes % passesPerSecond;
    return wholeSeconds * kNsPerSecond + leftOver * kNsPerSecond / passesPerSecond;
}

const PaceClock& steadyPaceClock()
{
    return kSteadyClock;
}

Pacer::Pacer(int passesPerSecond, const PaceClock& clock) : clock_(&clock), rate_(passesPerSecond) {}

void Pacer::setRate(int passesPerSecond)
{
    rate_ = passesPerSecond;
    started_ = false;
}

void Pacer::endPass()
{
    if (rate_ <= 0) {
        return;
    }
    const int64_t now = clock_->nowNs();
    if (!started_) {
        // The first pass sets the schedule; it has nothing to wait for.
        started_ = true;
        runStartNs_ = now;
        passesInRun_ = 0;
        return;
    }
    ++passesInRun_;
    // Counted from the run's start: the remainder of k / N is dropped once,
    // not once per pass.
    const int64_t deadline = runStartNs_ + passEndOffsetNs(passesInRun_, rate_);
    if (now >= deadline) {
        runStartNs_ = now;
        passesInRun_ = 0;
        return;
    }
    clock_->sleepUntilNs(deadline);
}
