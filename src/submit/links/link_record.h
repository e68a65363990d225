// What became of each link of the current list. Every action that picks links (retry, continue, the
// start question, export of failed links) reads this, never the report rows.
#pragma once
#include <cstdint>
#include <vector>

#include "runtime/core/text.h"
#include "runtime/core/text_array.h"
#include "runtime/core/text_ref.h"

namespace brindor {

// kFailed: the service certainly made nothing. kCommitting: the commit is about to go out.
// kUnknown: a commit went out and no readable answer came back; a task may exist.
enum class LinkState : uint8_t { kNotSubmitted, kSucceeded, kFailed, kCommitting, kUnknown };

// Positions are 1-based, as in the link list.
using LinkPositions = std::vector<int>;

class LinkOutcomes {
  public:
    // A fresh list: every link not yet submitted.
    void Reset(int count);
    // Links joined the end of the list: not yet submitted, the outcomes so far kept.
    void Extend(int added);
    int count() const { return static_cast<int>(states_.size()); }
    // The latest outcome replaces any earlier one. A position outside the list is ignored.
    void SetOutcome(int position, LinkState state, TextRef reason);
    LinkState state(int position) const { return states_[position - 1]; }
    const char* reason(int position) const { return reasons_[position - 1].c_str(); }
    // True once a run has set an outcome of this list.
    bool touched() const { return touched_; }
    int succeeded_count() const { return succeeded_; }
    int failed_count() const { return failed_; }
    int unknown_count() const { return unknown_; }
    bool has_failed() const { return failed_ > 0; }
    bool has_unfinished() const { return succeeded_ < count(); }

    LinkPositions Failed() const;
    LinkPositions Unknown() const;
    // Failed and never reached, in list order; with `unknown` also those of unknown outcome.
    LinkPositions NotSucceeded(bool unknown = false) const;
    LinkPositions All() const;

  private:
    int* Counter(LinkState state);

    std::vector<LinkState> states_;
    std::vector<Text> reasons_;
    int succeeded_ = 0;
    int failed_ = 0;
    int unknown_ = 0;
    bool touched_ = false;
};

// The links at these positions, in the order given.
TextArray LinksAt(const TextArray& links, const LinkPositions& positions);

} // namespace brindor
