#include "submit/record/run_record.h"

#include "runtime/core/text_ops.h"

namespace brindor {

void RunRecord::Begin(const BatchInput& input) {
    input_ = &input;
    numbers_.assign(static_cast<size_t>(input.links.count()) + 1, 0);
    const int count =
        input.positions.empty() ? input.links.count() : static_cast<int>(input.positions.size());
    for (int i = 1; i <= count; ++i)
        numbers_[input.positions.empty() ? i : input.positions[i - 1]] = i;
    BeginRecordedRun();
}

bool RunRecord::BeginRecordedRun() {
    if (run_) return true;
    if (!input_) return false;
    const TextArray links =
        input_->positions.empty() ? input_->links : LinksAt(input_->links, input_->positions);
    run_ = store_.BeginRun(input_->user_id, owner_, clock_.Now(), clock_.Today(), links, input_->resumed);
    return run_ != 0;
}

bool RunRecord::WriteOutcomes() {
    if (unwritten_.empty()) return true;
    if (!BeginRecordedRun()) return false;
    size_t written = 0;
    for (const Unwritten& o : unwritten_) {
        if (!store_.SetOutcome(run_, o.number, o.state, o.title, o.size, o.reason, clock_.Today())) break;
        ++written;
    }
    unwritten_.erase(unwritten_.begin(), unwritten_.begin() + static_cast<std::ptrdiff_t>(written));
    return unwritten_.empty();
}

bool RunRecord::Mark(int position, TextRef user_id) {
    if (position < 1 || position >= static_cast<int>(numbers_.size()) || !numbers_[position]) return false;
    return BeginRecordedRun() && WriteOutcomes() && store_.MarkCommitting(run_, numbers_[position], user_id);
}

void RunRecord::Outcome(int position, LinkState state, TextRef title, TextRef size, TextRef reason) {
    if (position < 1 || position >= static_cast<int>(numbers_.size()) || !numbers_[position]) return;
    unwritten_.push_back(
        Unwritten{numbers_[position], state, Text(title.c_str()), Text(size.c_str()), Text(reason.c_str())});
    WriteOutcomes();
}

bool RunRecord::End(TextRef how) {
    if (!input_) return true;
    const int first_line_end = find_text(how, "\n");
    const Text first_line = first_line_end > 0 ? left_text(how, first_line_end - 1) : Text(how.c_str());
    if (!WriteOutcomes() || !store_.EndRun(run_, first_line)) lost_ = true;
    // A copy of the file taken after the run holds all of it.
    store_.Checkpoint();
    return !lost_;
}

} // namespace brindor
