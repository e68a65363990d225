// Calls HttpRequest as the command line says and prints what it returned and left in the
// caller's variables, for the Python tests beside it. Every value travels as hex so that any
// byte survives the command line and the console.
//
//   http_request_probe name=HEX ... [-- name=HEX ...]
//
// Names: url, method, body, cookies, headers, noredirect, bytes, proxy. A missing name is an
// omitted parameter; "--" starts a further call in the same process. repeat=HEX (a decimal
// count, hex-coded like the rest) makes that many calls, the i-th with i appended to the URL,
// and prints the last.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "net/win/http_request.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"

using namespace brindor;

namespace {

std::string FromHex(const char* hex) {
    std::string out;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2) {
        char pair[3] = {hex[i], hex[i + 1], 0};
        out.push_back(static_cast<char>(std::strtoul(pair, nullptr, 16)));
    }
    return out;
}

void PrintHex(const char* name, const void* data, size_t length) {
    std::printf("%s=", name);
    for (size_t i = 0; i < length; ++i)
        std::printf("%02x", static_cast<const unsigned char*>(data)[i]);
    std::printf("\n");
}

void PrintText(const char* name, const Text& text) {
    PrintHex(name, text.c_str(), text.length());
}

struct Call {
    bool has[9] = {};
    std::string value[9];
};

constexpr int kNameCount = 9;
constexpr const char* kNames[kNameCount] = {"url",        "method", "body",  "cookies", "headers",
                                            "noredirect", "bytes",  "proxy", "repeat"};

// Threads of this process, hops left running included.
int ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

void Run(const Call& call) {
    const DWORD started = GetTickCount();
    enum { kUrl, kMethod, kBody, kCookies, kHeaders, kNoRedirect, kBytes, kProxy, kRepeat };
    auto text = [&](int i) { return Text(call.value[i].data(), call.value[i].size()); };
    Text cookiesIn, headers, proxy, cookiesOut, location, raw, result;
    int32_t status = -1;
    Bytes bytes;
    int repeat = call.has[kRepeat] ? std::atoi(call.value[kRepeat].c_str()) : 1;
    for (int i = 0; i < repeat; ++i) {
        cookiesIn = text(kCookies), headers = text(kHeaders), proxy = text(kProxy);
        bytes = Bytes(call.value[kBytes].data(), call.value[kBytes].size());
        Text url = repeat > 1 ? concat_text(text(kUrl), to_text(i)) : text(kUrl);
        result = HttpRequest(
            url, call.has[kMethod] ? std::atoi(call.value[kMethod].c_str()) : 0, text(kBody),
            call.has[kCookies] ? &cookiesIn : nullptr, &cookiesOut, call.has[kHeaders] ? &headers : nullptr,
            &location, call.has[kNoRedirect] ? std::atoi(call.value[kNoRedirect].c_str()) : 0,
            call.has[kBytes] ? &bytes : nullptr, call.has[kProxy] ? &proxy : nullptr, &raw, &status);
    }
    PrintText("result", result);
    PrintText("cookies", cookiesIn);
    PrintText("cookies_out", cookiesOut);
    PrintText("headers", headers);
    PrintText("location", location);
    PrintHex("bytes", bytes.data(), bytes.size());
    PrintText("raw", raw);
    PrintText("status", to_text(status));
    PrintText("ms", to_text(static_cast<int32_t>(GetTickCount() - started)));
    PrintText("threads", to_text(ThreadCount()));
    std::printf("end\n");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    Call call;
    for (int i = 1; i <= argc; ++i) {
        if (i == argc || std::strcmp(argv[i], "--") == 0) {
            Run(call);
            call = Call();
            continue;
        }
        const char* eq = std::strchr(argv[i], '=');
        if (!eq) return 2;
        std::string name(argv[i], eq - argv[i]);
        for (int k = 0; k < kNameCount; ++k)
            if (name == kNames[k]) {
                call.has[k] = true;
                call.value[k] = FromHex(eq + 1);
            }
    }
    return 0;
}
