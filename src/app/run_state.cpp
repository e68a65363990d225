#include "app/run_state.h"

#include <string>
#include <unordered_set>
#include <utility>

namespace brindor::app {

bool RunState::TryStart(uint32_t now) {
    RunPhase idle = RunPhase::kIdle;
    if (!phase_.compare_exchange_strong(idle, RunPhase::kStarting)) return false;
    started_at_ = now;
    stop_ = false;
    return true;
}

void RunState::Run(uint32_t now, bool unattended) {
    started_at_ = now;
    stop_ = false;
    unattended_ = unattended;
    phase_ = RunPhase::kRunning;
}

void RunState::KeepWaiting(const TextArray& links) {
    for (int i = 1; i <= links.count(); ++i)
        waiting_.append(Text(links.at(i)));
}

TextArray RunState::TakeWaiting() {
    return std::exchange(waiting_, TextArray());
}

void RunState::Offer(int64_t run, TextArray links) {
    offered_run_ = run;
    offered_links_ = std::move(links);
}

int64_t RunState::ResumedRunOf(const TextArray& list) const {
    if (!offered_run_) return 0;
    std::unordered_set<std::string> held;
    for (int i = 1; i <= list.count(); ++i)
        held.insert(list.at(i));
    for (int i = 1; i <= offered_links_.count(); ++i)
        if (!held.count(offered_links_.at(i))) return 0;
    return offered_run_;
}

// Never destroyed: a running worker is neither waited for nor stopped, the process ends with it.
RunState& TheRun() {
    static RunState& run = *new RunState;
    return run;
}

} // namespace brindor::app
