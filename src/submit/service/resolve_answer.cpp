#include "submit/service/resolve_answer.h"

#include <utility>

#include "net/text_between.h"
#include "runtime/core/text_builder.h"
#include "runtime/core/text_ops.h"
#include "submit/service/script_tokens.h"

namespace brindor {

namespace {

// The arguments the fields come from: the first four before any array, the first six arrays.
constexpr int kScalarsRead = 4;
constexpr int kArraysRead = 6;
constexpr int kSizeArray = 3;
constexpr int kIndexArray = 6;

Text without_quotes(TextRef piece) {
    return replace_text(piece, "'", "", 1, kNoLimit, true);
}

void Append(TextBuilder& out, TextRef text) {
    out.append(text.c_str(), text_length(text));
}

// A string, a number with an optional sign, or a word such as null; false for anything else.
bool ReadLiteral(ScriptTokens& tokens, Text& value, bool& quoted) {
    const bool negative = tokens.Skip("-");
    const ScriptToken token = tokens.Peek();
    quoted = token.kind == TokenKind::kString;
    if (quoted && !negative) {
        value = StringTokenValue(token);
    } else if (token.kind == TokenKind::kNumber || (token.kind == TokenKind::kIdentifier && !negative)) {
        value = concat_text(negative ? "-" : "", left_text(token.begin, static_cast<int>(token.length())));
    } else {
        return false;
    }
    tokens.Take();
    return true;
}

// The list after "new Array", joined as the pieces' reading joins it: a quoted value ends with "_",
// one written without quotes keeps its comma.
bool ReadArray(ScriptTokens& tokens, Text& joined) {
    if (!tokens.Skip("Array") || !tokens.Skip("(")) return false;
    TextBuilder out;
    if (!tokens.Skip(")")) {
        for (;;) {
            Text value;
            bool quoted = false;
            if (!ReadLiteral(tokens, value, quoted)) return false;
            Append(out, value);
            if (tokens.Skip(")")) break;
            if (!tokens.Skip(",")) return false;
            out.append(quoted ? '_' : ',');
        }
    }
    out.append('_');
    joined = out.take();
    return true;
}

enum class CallReading {
    kRead,     // a whole call of literals and arrays, nothing after it
    kTrailing, // the same, with something after it
    kBroken,   // a call that is no valid script: an unescaped quote, a cut
    kNone,     // no queryUrl call
};

struct CallArguments {
    Text scalars[kScalarsRead];
    int scalar_count = 0;
    Text arrays[kArraysRead];
    int array_count = 0;

    void Note(Text value, bool array) {
        if (array) {
            if (array_count < kArraysRead) arrays[array_count] = std::move(value);
            ++array_count;
        } else if (array_count == 0) {
            if (scalar_count < kScalarsRead) scalars[scalar_count] = std::move(value);
            ++scalar_count;
        }
    }

    void AssignTo(TaskFields& fields) {
        // Without an array after them the scalars are not the answer that lists a torrent.
        Text* const by_argument[] = {&fields.cid, &fields.tsize, &fields.title};
        for (int n = 1; array_count > 0 && n < scalar_count && n < kScalarsRead; ++n)
            *by_argument[n - 1] = std::move(scalars[n]);
        if (array_count >= kSizeArray) fields.size = std::move(arrays[kSizeArray - 1]);
        if (array_count >= kIndexArray) fields.findex = std::move(arrays[kIndexArray - 1]);
    }
};

CallReading ReadCall(TextRef answer, CallArguments& call) {
    ScriptTokens tokens(SkipByteOrderMark(answer.c_str()));
    if (!tokens.Skip("queryUrl") || !tokens.Skip("(")) return CallReading::kNone;
    if (!tokens.Skip(")")) {
        for (;;) {
            Text value;
            bool quoted = false;
            const bool array = tokens.Skip("new");
            if (array ? !ReadArray(tokens, value) : !ReadLiteral(tokens, value, quoted))
                return CallReading::kBroken;
            call.Note(std::move(value), array);
            if (tokens.Skip(")")) break;
            if (!tokens.Skip(",")) return CallReading::kBroken;
        }
    }
    while (tokens.Skip(";")) {
    }
    return tokens.Peek().kind == TokenKind::kEnd ? CallReading::kRead : CallReading::kTrailing;
}

// A title piece loses the quotes around it; one inside it ("it's") is the title's own.
Text WithoutOuterQuotes(TextRef piece) {
    const char* begin = piece.c_str();
    const char* end = begin + text_length(piece);
    if (begin < end && *begin == '\'') ++begin;
    if (begin < end && end[-1] == '\'') --end;
    return left_text(begin, static_cast<int>(end - begin));
}

// "(" with a ")" after it: the array's list is all there.
bool IsClosedArray(TextRef piece) {
    const int open = find_text(piece, "(", 1, true);
    return open != -1 && find_text(piece, ")", open, true) != -1;
}

// The reading for an answer that is no valid script. True when it yielded every field.
bool ReadPieces(TextRef answer, TaskFields& fields) {
    int found = 0;
    const TextArray scalars = split_text(TextBetweenFirst(answer, "queryUrl", "new Array"), ",");
    Text* const by_piece[] = {&fields.cid, &fields.tsize, &fields.title};
    for (int n = 2; n <= 4 && n <= scalars.count(); ++n, ++found)
        *by_piece[n - 2] = n == 4 ? WithoutOuterQuotes(scalars.at(n)) : without_quotes(scalars.at(n));
    const TextArray arrays = split_text(answer, "new Array");
    const struct {
        int piece;
        Text* field;
    } by_array[] = {{kSizeArray + 1, &fields.size}, {kIndexArray + 1, &fields.findex}};
    for (const auto& array : by_array) {
        if (arrays.count() < array.piece) continue;
        *array.field = JoinArrayValues(arrays.at(array.piece));
        found += IsClosedArray(arrays.at(array.piece)) ? 1 : 0;
    }
    return found == 5;
}

} // namespace

bool ParseResolveAnswer(TextRef answer, TaskFields& fields) {
    CallArguments call;
    switch (ReadCall(answer, call)) {
    case CallReading::kRead:
        call.AssignTo(fields);
        return true;
    case CallReading::kTrailing:
        call.AssignTo(fields);
        return false;
    case CallReading::kBroken:
        return ReadPieces(answer, fields);
    case CallReading::kNone:
        break;
    }
    ReadPieces(answer, fields);
    return false;
}

Text JoinArrayValues(TextRef piece) {
    Text values = TextBetweenFirst(piece, "(", ")");
    Text joined = replace_text(values, "',", "_", 1, kNoLimit, true);
    return concat_text(without_quotes(joined), "_");
}

} // namespace brindor
