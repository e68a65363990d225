#include "net/win/http_request.h"

#include <memory>
#include <utility>

#include "declared/declared_functions.h"
#include "net/body_completeness.h"
#include "net/cookies.h"
#include "net/http_request_parts.h"
#include "net/redirect_rules.h"
#include "net/request_limits.h"
#include "net/url_parts.h"
#include "net/win/hop_work.h"
#include "runtime/core/conversions.h"
#include "runtime/core/text_ops.h"
#include "text/win/code_pages.h"

namespace brindor {

namespace {

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
    int32_t& status;
    uint32_t started; // tick count at the start of the call
};

// How one hop differs from the call's first request.
struct Hop {
    bool composeHeaders = true;  // the routine's own 301 adds its lines again, a followed redirect does not
    bool send_body = true;       // a redirect that turns the request into a GET drops the body
    bool keepCredentials = true; // the caller's Cookie and Authorization lines go only to the first origin
    bool storeCookies = true;    // the cookie store lends its cookies only to the service's hosts
};

enum class HopResult { kNotOpened, kFailed, kAnswered };

uint32_t Ticks() {
    return call_declared<uint32_t>(kGetTickCount);
}

uint32_t MillisecondsLeft(const Exchange& x) {
    uint32_t spent = Ticks() - x.started; // unsigned: right across the tick count's wrap
    return spent < kRequestLimitMs ? kRequestLimitMs - spent : 0;
}

std::unique_ptr<HopWork> ComposeHop(TextRef url, Exchange& x, const Hop& hop) {
    auto work = std::make_unique<HopWork>();
    work->agent = AgentString(x.extraHeaders);
    work->use_proxy = x.proxy != nullptr;
    if (x.proxy) work->proxies = concat_text("http=", *x.proxy);
    work->host = UrlHost(url);
    work->port = static_cast<uint32_t>(UrlPort(url));
    bool post = x.method == 1 && hop.send_body;
    work->verb = post ? "POST" : "GET";
    work->path = UrlPath(url);
    // Redirects are always the routine's to follow, so that its bound and credential rules hold.
    work->flags = RequestFlags(url, x.cookiesGiven || !hop.storeCookies, true, post);
    if (hop.composeHeaders)
        AddDefaultHeaders(x.extraHeaders, url, x.cookiesGiven ? TextRef(x.cookiesIn) : TextRef(""));
    work->headers = hop.keepCredentials ? x.extraHeaders : WithoutCredentialLines(x.extraHeaders);
    work->send_body = x.method != 0 && hop.send_body;
    if (work->send_body) {
        if (x.bodyBytes.empty()) x.bodyBytes = to_bytes(x.bodyText);
        work->body = x.bodyBytes;
    }
    // The client caches a POST's answer unless told not to, and telling it so would add a
    // Cache-Control line to the request: the entry is removed instead.
    work->forget_cache_entry = post;
    work->fresh_connection = post;
    work->url = Text(url.c_str());
    uint32_t left = MillisecondsLeft(x);
    work->socket_timeout_ms = left < kSocketTimeoutMs ? left : kSocketTimeoutMs;
    return work;
}

// One request and its answer. kFailed: the answer did not arrive whole or in time.
HopResult ExchangeOnce(TextRef url, Exchange& x, const Hop& hop, Bytes& body, Text& location) {
    // A request that cannot even be opened leaves the caller's variables as they were.
    Text headersBefore = x.extraHeaders;
    Bytes bodyBytesBefore = x.bodyBytes;
    std::unique_ptr<HopWork> work = ComposeHop(url, x, hop);
    x.status = 0;
    uint32_t left = MillisecondsLeft(x);
    bool inTime = left > 0 && RunHopWithin(work.get(), left);
    if (!inTime) {
        // A hop that overran belongs to its thread now, which frees it when it is done.
        if (left > 0) (void)work.release();
        x.rawHeadersOut = blank_text(kAnswerHeaderBufferLength);
        return HopResult::kFailed;
    }
    if (!work->opened) {
        x.extraHeaders = std::move(headersBefore);
        x.bodyBytes = std::move(bodyBytesBefore);
        return HopResult::kNotOpened;
    }
    body = std::move(work->answer);
    x.status = work->status;
    x.rawHeadersOut = std::move(work->raw_headers);
    ScanAnswerHeaders(x.rawHeadersOut, x.cookiesOut, x.locationOut);
    location = x.locationOut;
    if (x.cookiesGiven) MergeCookies(x.cookiesIn, x.cookiesOut);
    if (x.locationOut.empty()) x.locationOut = x.rawHeadersOut;
    return IsBodyComplete(work->content_length, work->receipt) ? HopResult::kAnswered : HopResult::kFailed;
}

} // namespace

Text HttpRequest(TextRef url, int32_t method, TextRef bodyText, Text* cookiesIn, Text* cookiesOut,
                 Text* extraHeaders, Text* locationOut, int32_t noRedirect, Bytes* bodyBytes,
                 const Text* proxy, Text* rawHeadersOut, int32_t* statusOut) {
    Text ownCookiesIn, ownCookiesOut, ownHeaders, ownLocation, ownRawHeaders;
    int32_t ownStatus = 0;
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
               rawHeadersOut ? *rawHeadersOut : ownRawHeaders,
               statusOut ? *statusOut : ownStatus,
               Ticks()};

    Text first(url.c_str());
    Text current = first;
    Hop hop;
    Bytes body;
    for (int hops = 0;; ++hops) {
        Text location;
        if (ExchangeOnce(current, x, hop, body, location) != HopResult::kAnswered) return Text();
        if (hops == kMaxRedirectHops) break;
        const int32_t status = x.status;
        Text next;
        if (!x.noRedirect && IsFollowedStatus(status) && !location.empty()) {
            // As the platform client would follow it: the Location as it stands, the same lines.
            next = ResolveLocation(location, current);
            hop.composeHeaders = false;
            if (!KeepsMethodAndBody(status)) hop.send_body = false;
        } else if (status == 301 && IsMovedAnswer(x.rawHeadersOut)) {
            next = RedirectUrl(x.locationOut, current);
            x.locationOut = Text();
            hop.composeHeaders = true;
        } else {
            break;
        }
        hop.keepCredentials = hop.keepCredentials && SameOrigin(next, first);
        hop.storeCookies = SameOrigin(next, first) || IsServiceOrigin(next);
        current = std::move(next);
    }
    if (IsUtf8Answer(body, x.rawHeadersOut)) body = Utf8BytesToGbk(body);
    return BodyText(body);
}

} // namespace brindor
