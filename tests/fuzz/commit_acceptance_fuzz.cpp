// The acceptance rule on arbitrary answers against a plain reading of it; the reading of the
// service's message and its escapes, for memory faults and their invariants.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "submit/commit_body.h"
#include "submit/service_message.h"
#include "text/json_escapes.h"

using namespace brindor;

namespace {

const char* const kWords[] = {
    "jsonp1",       "(", ")",   ";",          " ",       "\r\n",           "null", "{\"id\":\"1\"}",
    "\xEF\xBB\xBF", "?", "$_9", "\"msg\":\"", "\\u672a", "\\uD83C\\uDFB5", "\\\"", "\\"};

bool Space(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool Letter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$';
}

bool Expected(const std::string& text, int status) {
    if (text.empty() || status < 200 || status > 299) return false;
    if (text.find("null") != std::string::npos) return false;
    size_t begin = 0, end = text.size();
    while (begin < end && Space(text[begin]))
        ++begin;
    if (text.compare(begin, 3, "\xEF\xBB\xBF") == 0)
        begin += 3;
    else if (begin < end && text[begin] == '?')
        ++begin;
    while (begin < end && Space(text[begin]))
        ++begin;
    if (begin == end || !Letter(text[begin])) return false;
    while (begin < end && (Letter(text[begin]) || (text[begin] >= '0' && text[begin] <= '9')))
        ++begin;
    while (end > begin && Space(text[end - 1]))
        --end;
    if (end > begin && text[end - 1] == ';') --end;
    while (end > begin && Space(text[end - 1]))
        --end;
    return end - begin >= 2 && text[begin] == '(' && text[end - 1] == ')';
}

// Decoding only ever shortens, and leaves a text without a backslash as it is.
void CheckDecoding(const std::string& text) {
    Bytes in;
    for (char c : text) {
        const uint8_t unit[2] = {static_cast<uint8_t>(c), 0};
        in.append(unit, 2);
    }
    const Bytes out = DecodeJsonEscapes(in);
    Check(out.size() <= in.size());
    if (text.find('\\') == std::string::npos)
        Check(out.size() == in.size() && (in.empty() || std::memcmp(out.data(), in.data(), in.size()) == 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    int status = static_cast<int>(in.next()) * 3 - 100 + (in.next() & 1 ? 200 : 0);
    std::string callback = in.piece(kWords, 4), text = in.piece(kWords, 40);
    bool accepted = IsCommitAccepted(ServiceAnswer{Text(text.c_str()), status, Text(callback.c_str())});
    Check(accepted == Expected(text, status));
    const Text message = RawServiceMessage(text.c_str());
    Check(text.find(message.c_str()) != std::string::npos);
    CheckDecoding(message.c_str());
    CheckDecoding(text);
    return 0;
}
