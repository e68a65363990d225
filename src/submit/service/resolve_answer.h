// Reading the service's JSONP answer to a resolve request.
#pragma once
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"
#include "submit/service/task_fields.h"

namespace brindor {

// Overwrites only the fields the answer yields; a field whose argument is missing keeps its value.
// A queryUrl call that is valid script is read by its tokens: cid, tsize and title are its 2nd to
// 4th arguments before the first array (taken only when an array follows), size and findex its
// third and sixth arrays, so nothing inside a string moves them. Any other answer is read in pieces:
// the call cut at its commas up to the first "new Array", the arrays at every "new Array".
// True when a commit may carry the fields: the call was read by its tokens, or it is no valid script
// (a title with an unescaped quote) and the pieces yielded every field, each array closed.
bool ParseResolveAnswer(TextRef answer, TaskFields& fields);

// One answer piece that begins with an array: ('0','1','2') gives 0_1_2_, () gives _.
Text JoinArrayValues(TextRef piece);

} // namespace brindor
