// Where a run's rows go in the report list while some of them still wait for their commit's answer.
// A link's row appears when its commit goes out and is filled in later, so the rows stay in the
// run's order although links held back by a busy service get theirs after a later link's row.
#pragma once
#include <vector>

namespace brindor::app {

class InFlightRows {
  public:
    struct Slot {
        int row;       // the list's index; -1: appended
        bool existing; // the link's row shows already: only its cells change
    };
    // The row of the link with this number in the run while its commit goes out; it stays in flight.
    // `row_count`: the list's rows now.
    Slot Show(int number, int row_count);
    // The row that takes the link's outcome: the link is no longer in flight.
    Slot Fill(int number);
    // Rows no outcome came for, last first, so that removing them in turn leaves the others' indices
    // right; none in flight afterwards.
    std::vector<int> TakeUnfilled();

  private:
    struct InFlight {
        int number;
        int row;
    };
    // A new row goes before the first in-flight row of a later link, which moves down.
    Slot Place(int number);

    std::vector<InFlight> rows_; // in the run's order
};

} // namespace brindor::app
