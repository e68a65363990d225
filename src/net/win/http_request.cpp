#include "net/win/http_request.h"

#include "declared/declared_functions.h"
#include "net/cookies.h"
#include "net/http_request_parts.h"
#include "net/url_parts.h"
#include "net/win/internet_handle.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "text/win/code_pages.h"

namespace brindor {

namespace {

constexpr uint32_t kOpenTypeDirect = 1;
constexpr uint32_t kOpenTypeProxy = 3;
constexpr uint32_t kServiceHttp = 3;
constexpr uint32_t kQueryRawHeadersCrlf = 22;

// The caller's variables, or stand-ins for omitted ones, shared by every hop of one call.
struct Exchange {
    int32_t method;
    TextRef bodyText;
    Text& cookiesIn;
    bool cookiesGiven;
    Text& cookiesOut;
    Text& extraHeaders;
    Text& locationOut;
    bool noRedirect;
    Bytes& bodyBytes;
    const Text* proxy;
    Text& rawHeadersOut;
};

InternetHandle OpenRoot(const Exchange& x) {
    Text agent = AgentString(x.extraHeaders);
    if (x.proxy) {
        Text proxies = concat_text("http=", *x.proxy);
        return InternetHandle(call_declared<void*>(kInternetOpenA, agent.c_str(), kOpenTypeProxy,
                                                   proxies.c_str(), "", uint32_t{0}));
    }
    return InternetHandle(call_declared<void*>(kInternetOpenA, agent.c_str(), kOpenTypeDirect,
                                               static_cast<const char*>(nullptr),
                                               static_cast<const char*>(nullptr), uint32_t{0}));
}

void Send(const InternetHandle& request, Exchange& x) {
    const char* headers = x.extraHeaders.c_str();
    uint32_t headersLength = static_cast<uint32_t>(x.extraHeaders.length());
    if (x.method == 0) {
        call_declared(kHttpSendRequestText, request.get(), headers, headersLength, "", uint32_t{0});
        return;
    }
    if (x.bodyBytes.empty()) x.bodyBytes = to_bytes(x.bodyText);
    call_declared(kHttpSendRequestBytes, request.get(), headers, headersLength, x.bodyBytes.data(),
                  static_cast<uint32_t>(x.bodyBytes.size()));
}

Bytes ReadBody(const InternetHandle& request) {
    Bytes body;
    for (;;) {
        uint8_t chunk[kReadChunkSize] = {};
        uint32_t read = 0;
        call_declared(kInternetReadFile, request.get(), chunk, uint32_t{kReadChunkSize}, &read);
        if (read == 0) break;
        body.append(chunk, read);
    }
    return body;
}

// The header block up to its terminating zero; 5,000 spaces when it does not fit or is missing.
Text QueryRawHeaders(const InternetHandle& request) {
    Text buffer = blank_text(kAnswerHeaderBufferLength);
    uint32_t length = kAnswerHeaderBufferLength;
    call_declared(kHttpQueryInfoA, request.get(), kQueryRawHeadersCrlf, buffer.data(), &length,
                  static_cast<uint32_t*>(nullptr));
    return Text(buffer.c_str());
}

// One request and its answer; false when a handle cannot be opened.
bool ExchangeOnce(TextRef url, Exchange& x, Bytes& body) {
    InternetHandle root = OpenRoot(x);
    if (!root) return false;
    Text host = UrlHost(url);
    InternetHandle connection(
        call_declared<void*>(kInternetConnectA, root.get(), host.c_str(), static_cast<uint32_t>(UrlPort(url)),
                             static_cast<const char*>(nullptr), static_cast<const char*>(nullptr),
                             kServiceHttp, uint32_t{0}, uint32_t{0}));
    if (!connection) return false;
    uint32_t flags = RequestFlags(url, x.cookiesGiven, x.noRedirect);
    const char* verb = x.method == 1 ? "POST" : "GET";
    Text path = UrlPath(url);
    InternetHandle request(call_declared<void*>(kHttpOpenRequestA, connection.get(), verb, path.c_str(),
                                                "HTTP/1.1", static_cast<const char*>(nullptr),
                                                static_cast<const char**>(nullptr), flags, uint32_t{0}));
    if (!request) return false;

    AddDefaultHeaders(x.extraHeaders, url, x.cookiesGiven ? TextRef(x.cookiesIn) : TextRef(""));
    Send(request, x);
    body = ReadBody(request);
    x.rawHeadersOut = QueryRawHeaders(request);
    request.close();
    connection.close();
    root.close();

    ScanAnswerHeaders(x.rawHeadersOut, x.cookiesOut, x.locationOut);
    if (x.cookiesGiven) MergeCookies(x.cookiesIn, x.cookiesOut);
    if (x.locationOut.empty()) x.locationOut = x.rawHeadersOut;
    return true;
}

} // namespace

Text HttpRequest(TextRef url, int32_t method, TextRef bodyText, Text* cookiesIn, Text* cookiesOut,
                 Text* extraHeaders, Text* locationOut, int32_t noRedirect, Bytes* bodyBytes,
                 const Text* proxy, Text* rawHeadersOut) {
    Text ownCookiesIn, ownCookiesOut, ownHeaders, ownLocation, ownRawHeaders;
    Bytes ownBodyBytes;
    Exchange x{method,
               bodyText,
               cookiesIn ? *cookiesIn : ownCookiesIn,
               cookiesIn != nullptr,
               cookiesOut ? *cookiesOut : ownCookiesOut,
               extraHeaders ? *extraHeaders : ownHeaders,
               locationOut ? *locationOut : ownLocation,
               noRedirect != 0,
               bodyBytes ? *bodyBytes : ownBodyBytes,
               proxy,
               rawHeadersOut ? *rawHeadersOut : ownRawHeaders};

    Text current(url.c_str());
    Bytes body;
    for (int hop = 0;; ++hop) {
        if (!ExchangeOnce(current, x, body)) return Text();
        if (hop == kMaxRedirectHops || !IsMovedAnswer(x.rawHeadersOut)) break;
        current = RedirectUrl(x.locationOut, current);
        x.locationOut = Text();
    }
    if (IsUtf8Answer(body, x.rawHeadersOut)) body = Utf8BytesToGbk(body);
    return BodyText(body);
}

} // namespace brindor
