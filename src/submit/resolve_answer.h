// Reading the service's JSONP answer to a resolve request.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/task_fields.h"

namespace brindor {

// Overwrites only the fields the answer yields; a field whose argument is missing keeps its value.
// The scalars are the queryUrl call's arguments read as strings, so a title keeps its commas and
// quotes; the arrays are cut at "new Array".
void ParseResolveAnswer(TextRef answer, TaskFields& fields);

// One answer piece that begins with an array: ('0','1','2') gives 0_1_2_, () gives _.
Text JoinArrayValues(TextRef piece);

} // namespace brindor
