// The network-free steps of an HTTP exchange on arbitrary header blocks, URLs and bodies:
// no crash, no leak, and the invariants the routine relies on.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/http_request_parts.h"
#include "fuzz_input.h"

using namespace brindor;

namespace {

// Header-ish bytes make lines, names and delimiters frequent.
const char* const kWords[] = {"\r\n",        "Set-Cookie:", "Set-Cookie", "Location:", ";",     "=",
                              " ",           "HTTP/1.1 ",   "301",        " Moved",    "utf-8", "UTF-8",
                              "User-Agent:", "Referer:",    "Accept:",    "Cookie: ",  ":",     "http://",
                              "https://",    "/",           "?",          "\xA1\xA1"};

struct Input : FuzzInput {
    std::string piece() { return FuzzInput::piece(kWords, 24); }
};

bool Contains(const std::string& s, const char* part) {
    return s.find(part) != std::string::npos;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{{data, size}};
    std::string block = in.piece(), url = in.piece(), cookies = in.piece(), raw = in.piece();
    std::string body_bytes = in.piece();
    if (in.next() & 1) body_bytes.insert(body_bytes.size() / 2, 1, '\0');

    Text agent = AgentString(block.c_str());
    std::string a = agent.c_str();
    Check(!a.empty() && !Contains(a, "\r\n") && a.front() != ' ' && a.back() != ' ');

    Text headers(block.c_str());
    AddDefaultHeaders(headers, url.c_str(), cookies.c_str());
    std::string h = headers.c_str();
    Check(h.compare(0, block.size(), block) == 0);
    for (const char* name : {"Referer:", "Accept:", "Accept-Language:", "Content-Type:"})
        Check(Contains(h, name));
    if (!cookies.empty())
        Check(h.size() >= cookies.size() &&
              h.compare(h.size() - cookies.size(), cookies.size(), cookies) == 0);
    Text again(headers);
    AddDefaultHeaders(again, url.c_str(), "");
    Check(again == headers);

    Text cookies_out, location;
    ScanAnswerHeaders(raw.c_str(), cookies_out, location);
    Check(!Contains(cookies_out.c_str(), "\r\n") && !Contains(location.c_str(), "\r\n"));
    IsMovedAnswer(raw.c_str());

    Text redirect = RedirectUrl(location, url.c_str());
    Check(std::strncmp(redirect.c_str(), location.c_str(), location.length()) == 0);

    Bytes body(body_bytes.data(), body_bytes.size());
    size_t probe = body_bytes.find("utf-8");
    if (probe != std::string::npos && probe < 499) Check(IsUtf8Answer(body, raw.c_str()));
    Check(std::string(BodyText(body).c_str()) == std::string(body_bytes.c_str()));
    return 0;
}
