#include "submit/answer_shape.h"

#include <cstring>

namespace brindor {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool StartsIdentifier(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == '$';
}

bool InIdentifier(char c) {
    return StartsIdentifier(c) || (c >= '0' && c <= '9');
}

const char* SkipBlanks(const char* p) {
    while (IsBlank(*p))
        ++p;
    return p;
}

// Leading blanks and a byte order mark, raw or as code page 936 shows it.
const char* SkipLead(const char* p) {
    p = SkipBlanks(p);
    if (std::strncmp(p, "\xEF\xBB\xBF", 3) == 0)
        p += 3;
    else if (*p == '?')
        ++p;
    return SkipBlanks(p);
}

// The end of the text once a trailing ";" and blanks are set aside.
const char* TrimmedEnd(const char* begin) {
    const char* end = begin + std::strlen(begin);
    while (end > begin && IsBlank(end[-1]))
        --end;
    if (end > begin && end[-1] == ';') --end;
    while (end > begin && IsBlank(end[-1]))
        --end;
    return end;
}

// The ")" that closes a call whose "(" stands just before `p`; null when the text ends first.
const char* ClosingParenthesis(const char* p) {
    int depth = 1;
    bool quoted = false;
    for (; *p; ++p) {
        if (quoted) {
            if (*p == '\'' && (p[1] == ',' || p[1] == ')')) quoted = false;
        } else if (*p == '\'') {
            quoted = true;
        } else if (*p == '(') {
            ++depth;
        } else if (*p == ')' && --depth == 0) {
            return p;
        }
    }
    return nullptr;
}

} // namespace

bool IsJsonpCall(TextRef text) {
    const char* p = SkipLead(text.c_str());
    if (!StartsIdentifier(*p)) return false;
    while (InIdentifier(*p))
        ++p;
    if (*p != '(') return false;
    const char* end = TrimmedEnd(p);
    return end - p >= 2 && end[-1] == ')';
}

ResolveShape ResolveAnswerShape(TextRef text) {
    static constexpr char kCall[] = "queryUrl(";
    const char* p = SkipLead(text.c_str());
    if (std::strncmp(p, kCall, sizeof kCall - 1) != 0) return ResolveShape::kOther;
    const char* close = ClosingParenthesis(p + sizeof kCall - 1);
    if (!close) return ResolveShape::kCut;
    return close + 1 == TrimmedEnd(p) ? ResolveShape::kWhole : ResolveShape::kOther;
}

} // namespace brindor
