#include "submit/resolve_answer.h"

#include "net/text_between.h"
#include "runtime/core/text_ops.h"

namespace brindor {

namespace {

Text without_quotes(TextRef piece) {
    return replace_text(piece, "'", "", 1, kNoLimit, true);
}

} // namespace

void ParseResolveAnswer(TextRef answer, TaskFields& fields) {
    // Values stand between quotes unescaped, so a comma in a title cuts it short and its quotes
    // are lost; the title column and the commit both show this reading.
    TextArray scalars = split_text(TextBetweenFirst(answer, "queryUrl", "new Array"), ",");
    if (scalars.count() >= 2) fields.cid = without_quotes(scalars.at(2));
    if (scalars.count() >= 3) fields.tsize = without_quotes(scalars.at(3));
    if (scalars.count() >= 4) fields.title = without_quotes(scalars.at(4));

    TextArray arrays = split_text(answer, "new Array");
    if (arrays.count() >= 4) fields.size = JoinArrayValues(arrays.at(4));
    if (arrays.count() >= 7) fields.findex = JoinArrayValues(arrays.at(7));
}

Text JoinArrayValues(TextRef piece) {
    Text values = TextBetweenFirst(piece, "(", ")");
    Text joined = replace_text(values, "',", "_", 1, kNoLimit, true);
    return concat_text(without_quotes(joined), "_");
}

} // namespace brindor
