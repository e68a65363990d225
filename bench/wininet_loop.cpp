// The program's batch with nothing but the platform underneath: per link the program's resolve
// GET, its answer read the program's way, the program's commit body and one commit POST with a
// script-object timestamp, all sent as the program sends them (bare_request.h). No window, no list.
//   wininet_loop.exe LINKS_FILE USER_ID INTERFACE_URL [SIGN_IN_URL] [options]
// INTERFACE_URL is any URL of the interface host: whose cookies the loop sends by hand without the store.
// Options, each changing one ingredient of the default (the program's way):
//   --cache program|no-write|need-file   the cache flag of every request
//   --cookies store|none                 WinInet's cookie store, or none and a Cookie line by hand
//   --handles per-request|per-run        internet and connection handles per request or per run
//   --script run|commit|clock            one script object per run, one per commit, or no script
//   --extra-cookies N                    N more cookies for the interface host in the store first
// SIGN_IN_URL, when given, is fetched once through the cookie store first (the service's cookies).
// Prints one line of "name value" pairs: links, ms, per-link ms for the whole run and for its
// first and last tenth, and the share of each step in those tenths.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "bare_request.h"
#include "bench_clock.h"
#include "net/http_request_parts.h"
#include "runtime/core/text.h"
#include "submit/service/resolve_answer.h"
#include "submit/service/service_requests.h"
#include "submit/service/task_fields.h"
#include "submit/service/win/protocol_requests.h"
#include "text/clock_timestamp.h"
#include "text/win/code_pages.h"
#include "text/win/script_timestamp.h"

namespace {

enum class ScriptUse { PerRun, PerCommit, Clock };

struct Steps {
    double resolve = 0, stamp = 0, commit = 0;
    double total() const { return resolve + stamp + commit; }
};

std::string Narrow(const wchar_t* wide) {
    std::string text;
    for (; *wide; ++wide)
        text += static_cast<char>(*wide);
    return text;
}

// The answer text as HttpRequest and ResolveLink hand it to the worker.
brindor::Text ProgramAnswerText(const BareAnswer& answer) {
    brindor::Bytes body(reinterpret_cast<const uint8_t*>(answer.body.data()), answer.body.size());
    if (brindor::IsUtf8Answer(body, answer.raw_headers.c_str())) body = brindor::Utf8BytesToGbk(body);
    brindor::Text text = brindor::BodyText(body);
    if (brindor::ResolveAnswerStillUtf8(text, answer.raw_headers.c_str()))
        text = brindor::Utf8TextToGbk(text);
    return text;
}

brindor::Text Timestamp(ScriptUse use) {
    return use == ScriptUse::Clock ? brindor::ClockTimestamp() : brindor::ScriptTimestamp();
}

Steps SubmitLink(BareClient& client, const std::string& link, const brindor::Text& user_id,
                 ScriptUse script) {
    Steps steps;
    const double t0 = NowMs();
    const BareAnswer answer = client.Request(brindor::ResolveUrl(link.c_str()).c_str(), false, "");
    brindor::TaskFields fields;
    brindor::ParseResolveAnswer(ProgramAnswerText(answer), fields);
    const double t1 = NowMs();
    steps.resolve = t1 - t0;
    if (fields.cid.empty()) return steps;
    const brindor::Text body = brindor::BuildCommitBody(user_id, fields);
    const brindor::Text stamp = Timestamp(script);
    const double t2 = NowMs();
    client.Request(brindor::CommitUrl(stamp).c_str(), true, body.c_str());
    steps.stamp = t2 - t1;
    steps.commit = NowMs() - t2;
    return steps;
}

Steps Mean(const std::vector<Steps>& all, size_t from, size_t to) {
    Steps sum;
    for (size_t i = from; i < to; ++i) {
        sum.resolve += all[i].resolve;
        sum.stamp += all[i].stamp;
        sum.commit += all[i].commit;
    }
    const double n = to > from ? static_cast<double>(to - from) : 1.0;
    return Steps{sum.resolve / n, sum.stamp / n, sum.commit / n};
}

void PrintTenth(const char* name, const Steps& s) {
    std::printf(" %s_ms %.2f %s_resolve_ms %.2f %s_timestamp_ms %.2f %s_commit_ms %.2f", name, s.total(),
                name, s.resolve, name, s.stamp, name, s.commit);
}

struct LoopSettings {
    BareOptions options;
    ScriptUse script = ScriptUse::PerRun;
    int extra_cookies = 0;
};

bool ParseOption(const std::string& name, const std::string& value, LoopSettings& settings) {
    BareOptions& options = settings.options;
    ScriptUse& script = settings.script;
    if (name == "--extra-cookies") {
        settings.extra_cookies = std::atoi(value.c_str());
    } else if (name == "--cache") {
        if (value == "program")
            options.cache = CacheFlag::Program;
        else if (value == "no-write")
            options.cache = CacheFlag::NoWrite;
        else if (value == "need-file")
            options.cache = CacheFlag::NeedFile;
        else
            return false;
    } else if (name == "--cookies" && (value == "store" || value == "none")) {
        options.cookie_store = value == "store";
    } else if (name == "--handles" && (value == "per-request" || value == "per-run")) {
        options.keep_handles = value == "per-run";
    } else if (name == "--script") {
        if (value == "run")
            script = ScriptUse::PerRun;
        else if (value == "commit")
            script = ScriptUse::PerCommit;
        else if (value == "clock")
            script = ScriptUse::Clock;
        else
            return false;
    } else {
        return false;
    }
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> positional;
    LoopSettings settings;
    BareOptions& options = settings.options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = Narrow(argv[i]);
        if (arg.rfind("--", 0) == 0) {
            if (i + 1 >= argc || !ParseOption(arg, Narrow(argv[++i]), settings)) {
                std::fprintf(stderr, "bad option %s\n", arg.c_str());
                return 2;
            }
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.size() < 3) {
        std::fprintf(stderr,
                     "usage: wininet_loop LINKS_FILE USER_ID INTERFACE_URL [SIGN_IN_URL] [options]\n");
        return 2;
    }
    std::vector<std::string> links;
    std::ifstream in(positional[0]);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) links.push_back(line);
    }
    const brindor::Text user_id(positional[1].c_str());
    if (positional.size() > 3) BareRequest(positional[3], false, "");
    for (int i = 0; i < settings.extra_cookies; ++i) {
        const std::string cookie = "extra" + std::to_string(i) + "=" + std::string(24, 'x') +
                                   "; expires=Fri, 31 Dec 2037 23:59:59 GMT";
        InternetSetCookieA(positional[2].c_str(), nullptr, cookie.c_str());
    }
    if (!options.cookie_store) {
        // What the store would have added to the interface's requests, sent by hand instead; under
        // Wine without the HttpOnly session cookie, which the store does not hand out.
        std::string cookies(65536, '\0');
        DWORD length = static_cast<DWORD>(cookies.size());
        if (InternetGetCookieA(positional[2].c_str(), nullptr, cookies.data(), &length))
            options.cookie_line = cookies.c_str();
    }
    BareClient client(options);
    std::vector<Steps> steps;
    steps.reserve(links.size());
    const double start = NowMs();
    {
        // The program's worker keeps one script object for its run; without the scope each
        // timestamp makes and drops its own.
        std::optional<brindor::ScriptClockScope> clock;
        if (settings.script == ScriptUse::PerRun) clock.emplace();
        for (const std::string& link : links)
            steps.push_back(SubmitLink(client, link, user_id, settings.script));
    }
    const double ms = NowMs() - start;
    const size_t tenth = links.size() >= 10 ? links.size() / 10 : links.size();
    std::printf("links %zu ms %.0f per_link_ms %.2f", links.size(), ms,
                ms / (links.empty() ? 1.0 : static_cast<double>(links.size())));
    PrintTenth("first_tenth", Mean(steps, 0, tenth));
    PrintTenth("last_tenth", Mean(steps, steps.size() - tenth, steps.size()));
    std::printf("\n");
    return 0;
}
