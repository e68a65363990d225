// Runs the URL, header and cookie-text helpers on cookie-, URL- and GBK-like input and checks
// what must hold whatever the input: results lie inside their input, merged cookie texts hold
// no removed or repeated items, and a merge repeated changes nothing.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "net/cookies.h"
#include "net/text_between.h"
#include "net/url_parts.h"
#include "runtime/core/text_ops.h"
#include "fuzz_input.h"

using namespace brindor;

namespace {

// Tokens that steer the input towards the cases the helpers tell apart.
const char* const kTokens[] = {
    "http://", "https://", "HTTP://", "=deleted", "#引号",    "\"",   "=",           "; ", ";",
    ":",       "/",        "?",       " ",        "\xA1\xA1", "\xB0", "\xB0\xA1",    "a",  "A",
    "b",       "x=1",      "usrname", ".",        "8080",     "host", "Set-Cookie:",
};

struct Input : FuzzInput {
    // A NUL-free piece made of tokens and raw bytes.
    std::string piece(size_t max) {
        size_t n = next() % (max + 1);
        std::string s;
        for (size_t i = 0; i < n && size; ++i) {
            uint8_t b = next();
            if (b < 0xC0) {
                s += kTokens[b % (sizeof kTokens / sizeof kTokens[0])];
            } else {
                uint8_t raw = next();
                s += static_cast<char>(raw ? raw : 'z');
            }
        }
        return s;
    }
};

// The texts of the case at hand, shown when a check fails.
std::string g_case;

void check(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "violated: %s\n%s\n", what, g_case.c_str());
    std::abort();
}

bool inside(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

std::vector<std::string> items(TextRef text, const char* separator) {
    std::vector<std::string> out;
    TextArray array = split_text(text, separator);
    for (int i = 1; i <= array.count(); ++i)
        out.emplace_back(array.at(i));
    return out;
}

bool ends_with(const std::string& s, const char* tail) {
    size_t n = std::strlen(tail);
    return s.size() >= n && s.compare(s.size() - n, n, tail) == 0;
}

void check_text_between(Input& in) {
    uint8_t flags = in.next();
    int start = static_cast<int8_t>(in.next());
    std::string left = in.piece(3), right = in.piece(3), text = in.piece(64);
    g_case = "text [" + text + "] left [" + left + "] right [" + right + "]";
    Text between = TextBetween(text.c_str(), left.c_str(), right.c_str(), start, flags & 1);
    check(inside(text, between.c_str()) && between.length() <= text.size(), "TextBetween inside its text");
    Text first = TextBetweenFirst(text.c_str(), left.c_str(), right.c_str());
    if (!first.empty())
        check(inside(text, (left + first.c_str() + right).c_str()), "TextBetweenFirst delimited");
    Text value = ValueAfterColon(text.c_str());
    check(inside(text, value.c_str()), "ValueAfterColon inside its line");
}

void check_url(Input& in) {
    std::string url = in.piece(24);
    g_case = "url [" + url + "]";
    Text host = UrlHost(url.c_str());
    Text with_port = UrlHost(url.c_str(), false, true);
    Text main_domain = UrlHost(url.c_str(), true, false);
    check(find_text(host, ":") == -1 && find_text(main_domain, ":") == -1, "UrlHost without port");
    check(find_text(with_port, "/") == -1 && find_text(with_port, "?") == -1, "UrlHost ends at / or ?");
    check(host.length() <= with_port.length() && main_domain.length() <= with_port.length(),
          "UrlHost lengths");
    Text path = UrlPath(url.c_str());
    check(path[0] == '/', "UrlPath begins with /");
    check(path.length() <= url.size() + 1, "UrlPath length");
    int port = UrlPort(url.c_str());
    if (find_text(with_port, ":") == -1) check(port == 80 || port == 443, "UrlPort default");
}

void check_merge(Input& in) {
    std::string old_text = in.piece(24), new_text = in.piece(24);
    g_case = "old [" + old_text + "] new [" + new_text + "]";
    Text old_cookies(old_text.c_str());
    Text new_cookies(new_text.c_str());
    Text merged = MergeCookies(old_cookies, new_cookies);
    check(merged == old_cookies, "MergeCookies result in the old variable");

    std::vector<std::string> kept = items(merged, "; ");
    for (size_t i = 0; i < kept.size(); ++i) {
        check(!ends_with(kept[i], "=deleted"), "no removed cookie kept");
        for (size_t k = 0; k < i; ++k)
            check(kept[k] != kept[i], "no repeated item");
    }
    for (const std::string& item : items(new_cookies, ";")) {
        if (item.empty() || ends_with(item, "=deleted")) continue;
        bool found = false;
        for (const std::string& k : kept)
            found = found || k == item;
        check(found, "every item set anew is kept");
    }

    Text again_old = merged;
    Text again_new = new_cookies;
    check(MergeCookies(again_old, again_new) == merged, "a repeated merge changes nothing");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in{{data, size}};
    check_text_between(in);
    check_url(in);
    check_merge(in);
    return 0;
}
