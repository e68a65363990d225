// A run's rows in the report list, shown when a link's commit goes out and filled in with its
// outcome; the progress label. On the main window's thread.
#pragma once
#include "app/batch/in_flight_rows.h"
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor::app {

constexpr const char* kCommittingStatus = "提交中…";

// `cells`: title, size, link, status, reason.
void ShowRowInFlight(InFlightRows& rows, int number, TextRef caption, const TextRef (&cells)[5]);
void FillRow(InFlightRows& rows, int number, TextRef caption, const TextRef (&cells)[5]);
// A run that ended before some answers leaves no row for them, as before their commits went out.
void DropUnfilledRows(InFlightRows& rows);

// Shows `label` in the progress label; returns the text it showed before.
Text SwapProgressLabel(const char* label);

} // namespace brindor::app
