// The acceptance rule and the reading of the service's message on arbitrary answers, against
// plain readings of both.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
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

int Hex(char16_t c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// -1 unless s holds \uXXXX at i.
long Escape(const std::u16string& s, size_t i) {
    if (i + 6 > s.size() || s.compare(i, 2, u"\\u") != 0) return -1;
    long v = 0;
    for (size_t k = i + 2; k < i + 6; ++k) {
        if (Hex(s[k]) < 0) return -1;
        v = v * 16 + Hex(s[k]);
    }
    return v;
}

std::u16string Decoded(const std::u16string& s) {
    const std::u16string simple = u"\"\\/bfnrt", meant = u"\"\\/\b\f\n\r\t";
    std::u16string out;
    for (size_t i = 0; i < s.size();) {
        long v = Escape(s, i), w = Escape(s, i + 6);
        if (v >= 0xD800 && v < 0xDC00 && w >= 0xDC00 && w < 0xE000) {
            out += {char16_t(v), char16_t(w)};
            i += 12;
        } else if (v >= 0) {
            out += (v >= 0xD800 && v < 0xE000) || v == 0 ? u'\uFFFD' : char16_t(v);
            i += 6;
        } else if (s[i] == '\\' && i + 1 < s.size() && simple.find(s[i + 1]) != std::u16string::npos) {
            out += meant[simple.find(s[i + 1])];
            i += 2;
        } else {
            out += s[i++];
        }
    }
    return out;
}

void CheckDecoding(const std::string& text) {
    // Code page 936 text reads as UTF-16 here byte for byte: the escapes are ASCII either way.
    std::u16string units(text.begin(), text.end());
    Bytes in;
    for (char16_t u : units) {
        const uint8_t pair[2] = {uint8_t(u & 0xFF), uint8_t(u >> 8)};
        in.append(pair, 2);
    }
    const Bytes out = DecodeJsonEscapes(in);
    std::u16string got;
    for (size_t i = 0; i + 1 < out.size(); i += 2)
        got += char16_t(out.data()[i] | out.data()[i + 1] << 8);
    Check(got == Decoded(units));
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
