// Where each link of the list stands against the record, worked out on a thread of its own while
// the window goes on answering: a list of a million links takes a moment.
#pragma once
#include <atomic>
#include <vector>

#include "submit/links/link_tidy.h"

namespace brindor::app {

struct ListPlacing {
    std::vector<ListPlace> places;
    ListCounts counts;
    int error = 0; // SQLite's code when the record could not be read; the places then hold nothing back
};

// The list and its record must not change meanwhile. False when `stop` was set before the places
// were ready (or no thread could be had): nothing is known then.
bool PlaceListAgainstRecord(ListPlacing& placing, const std::atomic<bool>& stop);

} // namespace brindor::app
