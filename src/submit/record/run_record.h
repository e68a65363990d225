// The one writer of a run's record: the run, each commit's mark before it goes out, each outcome
// before its row shows, and the run's end. Knows no window, so its order of writes is tested
// without one.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/batch_run.h"
#include "submit/record/record_store.h"

namespace brindor {

class RecordClock {
  public:
    virtual ~RecordClock() = default;
    // Days since 1970-01-01 on the local calendar.
    virtual int Today() = 0;
    // "yyyy-MM-dd HH:mm:ss".
    virtual Text Now() = 0;
};

class RunRecord : public BatchRecord {
  public:
    // `owner` names the copy of the program working the run.
    RunRecord(RecordStore& store, TextRef owner, RecordClock& clock)
        : store_(store), owner_(owner.c_str()), clock_(clock) {}

    void Begin(const BatchInput& input) override;
    // An outcome the disk refused before is written first: the mark must not stand for it.
    bool Mark(int position, TextRef user_id) override;
    void Outcome(int position, LinkState state, TextRef title, TextRef size, TextRef reason) override;
    bool End(TextRef how) override;

    // Outcomes not yet on disk.
    int unwritten() const { return static_cast<int>(unwritten_.size()); }
    int64_t run() const { return run_; }

  private:
    struct Unwritten {
        int number;
        LinkState state;
        Text title, size, reason;
    };

    bool BeginRecordedRun();
    bool WriteOutcomes();

    RecordStore& store_;
    Text owner_;
    RecordClock& clock_;
    const BatchInput* input_ = nullptr;
    // The run's number of each position of the list; 0 for a position the run leaves out.
    std::vector<int> numbers_;
    int64_t run_ = 0;
    bool lost_ = false;
    // Oldest first: kept until a write succeeds, so a full disk that clears loses none of them.
    std::vector<Unwritten> unwritten_;
};

} // namespace brindor
