#include "app/watch/settling_files.h"

#include <set>

namespace brindor::app {

std::vector<std::u16string> SettlingFiles::Look(const std::vector<SeenFile>& files, uint32_t now_ms) {
    std::vector<std::u16string> ready;
    std::set<std::u16string> present;
    for (const SeenFile& file : files) {
        present.insert(file.name);
        const auto found = states_.find(file.name);
        if (found == states_.end() || found->second.size != file.size ||
            found->second.written != file.written) {
            // New, or written to since: its wait starts again, and a file taken before that was
            // written again is a new file.
            states_[file.name] = State{file.size, file.written, now_ms, false};
            continue;
        }
        const State& state = found->second;
        if (!state.done && now_ms - state.since >= settle_ms_) ready.push_back(file.name);
    }
    std::erase_if(states_, [&](const auto& entry) { return !present.contains(entry.first); });
    return ready;
}

void SettlingFiles::Done(const std::u16string& name) {
    if (const auto found = states_.find(name); found != states_.end()) found->second.done = true;
}

} // namespace brindor::app
