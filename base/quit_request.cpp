#include "base/quit_request.h"

#include <allegro.h>

#include <atomic>
#include <csignal>

namespace {
constexpr int kCaughtSignals[] = {SIGINT, SIGTERM, SIGQUIT};

// Lock-free, so the signal handler may store into it.
std::atomic<int> requestedStatus{kNoQuitRequested};
static_assert(std::atomic<int>::is_always_lock_free, "the signal handler stores into it");

void request(int status)
{
    int none = kNoQuitRequested;
    requestedStatus.compare_exchange_strong(none, status);
}

void noteSignal(int signalNumber)
{
    request(kSignalStatusBase + signalNumber);
}
}  // namespace

void requestClose()
{
    request(0);
}
END_OF_FUNCTION(requestClose)

void catchQuitSignals()
{
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    // The library's threads block in system calls too; they go on as if
    // nothing had happened.
    action.sa_flags = SA_RESTART;
    for (int signalNumber : kCaughtSignals) {
        sigaction(signalNumber, &action, nullptr);
    }
}

int requestedQuitStatus()
{
    return requestedStatus.load();
}

int quitStatusOr(int status)
{
    const int requested = requestedStatus.load();
    return requested == kNoQuitRequested ? status : requested;
}

void clearQuitRequest()
{
    requestedStatus.store(kNoQuitRequested);
}
