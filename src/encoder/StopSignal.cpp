#include "encoder/StopSignal.h"

#include <atomic>
#include <csignal>
#include <unistd.h>

namespace kestrava::encoder {
namespace {

std::atomic<bool> g_stop{false};
static_assert(std::atomic<bool>::is_always_lock_free);

extern "C" void OnStopSignal(int) {
    if (g_stop.exchange(true))
        _exit(255);  // the second signal: end at once
}

}  // namespace

void InstallStopHandlers() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &action, nullptr);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

bool StopRequested() {
    return g_stop.load(std::memory_order_relaxed);
}

void RequestStop() {
    g_stop.store(true);
}

}  // namespace kestrava::encoder
