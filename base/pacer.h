// Holds a loop to N passes a second on absolute deadlines: pass k of a run
// ends no earlier than start + k / N seconds, so rounding never adds up to a
// drift. A pass that ends late starts a new run from that moment, so the loop
// goes on at once and never bursts to catch up. N = 0 never waits.
// The clock is two function pointers so that tests can run it on fake time.
#pragma once

#include <cstdint>

struct PaceClock {
    int64_t (*nowNs)();                // a steady clock, in nanoseconds
    void (*sleepUntilNs)(int64_t ns);  // returns at or after that time
};

// Whole nanoseconds from a run's start to the end of its pass k at N passes a
// second: k / N seconds, rounded down once. Exact for every k a run can reach
// (k * 10^9 alone would leave 64 bits after about five years at 60).
int64_t passEndOffsetNs(int64_t passes, int passesPerSecond);

// CLOCK_MONOTONIC, slept on with an absolute clock_nanosleep.
const PaceClock& steadyPaceClock();

class Pacer {
public:
    explicit Pacer(int passesPerSecond = 0, const PaceClock& clock = steadyPaceClock());

    // A new rate takes effect from the next pass; 0 stops the waiting.
    void setRate(int passesPerSecond);
    int rate() const { return rate_; }

    // The end of one pass: sleeps until its deadline, if that lies ahead.
    void endPass();

private:
    const PaceClock* clock_;
    int rate_;
    bool started_ = false;
    int64_t runStartNs_ = 0;
    int64_t passesInRun_ = 0;
};
