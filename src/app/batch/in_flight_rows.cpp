#include "app/batch/in_flight_rows.h"

#include <algorithm>

namespace brindor::app {

InFlightRows::Slot InFlightRows::Place(int number) {
    for (const InFlight& shown : rows_)
        if (shown.number == number) return Slot{shown.row, true};
    const auto later =
        std::find_if(rows_.begin(), rows_.end(), [&](const InFlight& r) { return r.number > number; });
    if (later == rows_.end()) return Slot{-1, false};
    const int row = later->row;
    for (auto moved = later; moved != rows_.end(); ++moved)
        ++moved->row;
    return Slot{row, false};
}

InFlightRows::Slot InFlightRows::Show(int number, int row_count) {
    const Slot slot = Place(number);
    if (slot.existing) return slot;
    const int row = slot.row < 0 ? row_count : slot.row;
    const auto later =
        std::find_if(rows_.begin(), rows_.end(), [&](const InFlight& r) { return r.number > number; });
    rows_.insert(later, InFlight{number, row});
    return slot;
}

InFlightRows::Slot InFlightRows::Fill(int number) {
    const Slot slot = Place(number);
    if (slot.existing) std::erase_if(rows_, [&](const InFlight& r) { return r.number == number; });
    return slot;
}

std::vector<int> InFlightRows::TakeUnfilled() {
    std::vector<int> rows;
    for (auto r = rows_.rbegin(); r != rows_.rend(); ++r)
        rows.push_back(r->row);
    rows_.clear();
    return rows;
}

} // namespace brindor::app
