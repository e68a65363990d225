#include "submit/service/service_message.h"

#include <cstring>

#include "runtime/core/text_builder.h"
#include "submit/service/script_tokens.h"

namespace brindor {

namespace {

bool IsMessageKey(const ScriptToken& token) {
    return token.kind == TokenKind::kString && token.length() == 5 &&
           (token.begin[0] == '"' || token.begin[0] == '\'') && std::memcmp(token.begin + 1, "msg", 3) == 0;
}

// The text after a quote up to the end of the answer: what came of a message cut short.
Text Rest(const ScriptToken& token) {
    TextBuilder rest(token.length());
    rest.append(token.begin + 1, token.length() - 1);
    return rest.take();
}

} // namespace

Text RawServiceMessage(TextRef answer) {
    ScriptTokens tokens(answer);
    ScriptToken before_last, last;
    for (;;) {
        const ScriptToken token = tokens.Take();
        if (token.kind == TokenKind::kEnd) return {};
        if (IsMessageKey(before_last) && last.Is(":")) {
            if (token.kind == TokenKind::kString) return StringTokenContent(token);
            if (token.kind == TokenKind::kUnterminated && *token.begin == '"') return Rest(token);
        }
        if (token.kind == TokenKind::kUnterminated) return {};
        before_last = last;
        last = token;
    }
}

} // namespace brindor
