// Which files of a watched folder are complete: seen again and again, a file is taken once it has
// kept its size and time for a while, so that one still being written is left for later.
#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace brindor::app {

struct SeenFile {
    std::u16string name;
    uint64_t size;
    uint64_t written;
};

class SettlingFiles {
  public:
    explicit SettlingFiles(uint32_t settle_ms) : settle_ms_(settle_ms) {}

    // One look at the folder at `now_ms` (a millisecond clock that may wrap): the files that have
    // not changed for the settle time, in the order given. A file gone from the folder is forgotten.
    std::vector<std::u16string> Look(const std::vector<SeenFile>& files, uint32_t now_ms);
    // Taken (or given up): not ready again while it stays as it is.
    void Done(const std::u16string& name);

  private:
    struct State {
        uint64_t size;
        uint64_t written;
        uint32_t since;
        bool done;
    };
    uint32_t settle_ms_;
    std::map<std::u16string, State> states_;
};

} // namespace brindor::app
