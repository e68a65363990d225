#include "submit/resolve_answer.h"

#include <utility>

#include "net/text_between.h"
#include "runtime/core/text_ops.h"
#include "submit/script_tokens.h"

namespace brindor {

namespace {

Text without_quotes(TextRef piece) {
    return replace_text(piece, "'", "", 1, kNoLimit, true);
}

Text Span(const char* begin, const char* end) {
    return left_text(begin, static_cast<int>(end - begin));
}

// One argument of the call, up to the "," or ")" that ends it outside any bracket: a lone string
// as its value, escapes decoded, anything else as written. False when the text ends first.
bool ReadArgument(ScriptTokens& tokens, Text& value) {
    const ScriptToken first = tokens.Peek();
    ScriptToken last = first;
    int count = 0;
    for (int depth = 0;; ++count) {
        const ScriptToken& next = tokens.Peek();
        if (next.kind == TokenKind::kEnd || next.kind == TokenKind::kUnterminated) return false;
        if (depth == 0 && (next.Is(",") || next.Is(")"))) break;
        if (next.Is("(") || next.Is("[") || next.Is("{")) ++depth;
        if (next.Is(")") || next.Is("]") || next.Is("}")) --depth;
        last = tokens.Take();
    }
    if (count == 1 && first.kind == TokenKind::kString)
        value = StringTokenValue(first);
    else
        value = count == 0 ? Text{} : Span(first.begin, last.end);
    return true;
}

// The call's arguments before its first array: cid, tsize and title are the 2nd to 4th. Without an
// array after them the answer is not the one that lists a torrent, and nothing is taken.
void ReadScalars(TextRef answer, TaskFields& fields) {
    ScriptTokens tokens(SkipByteOrderMark(answer.c_str()));
    if (!tokens.Skip("queryUrl") || !tokens.Skip("(")) return;
    Text values[4];
    int count = 0;
    for (; !tokens.Peek().Is("new"); ++count) {
        Text value;
        if (!ReadArgument(tokens, value) || !tokens.Skip(",")) return;
        if (count < 4) values[count] = std::move(value);
    }
    Text* const fields_by_argument[] = {&fields.cid, &fields.tsize, &fields.title};
    for (int n = 1; n < count && n < 4; ++n)
        *fields_by_argument[n - 1] = std::move(values[n]);
}

} // namespace

void ParseResolveAnswer(TextRef answer, TaskFields& fields) {
    ReadScalars(answer, fields);
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
