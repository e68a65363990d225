// A bare loop over the operating system's HTTP client: per link one resolve GET and one commit POST,
// each with its own internet, connection and request handles, and one script-object timestamp, as
// the program does, without anything else. Prints one line: links, milliseconds, and per link the
// total and the share of each step.
//   wininet_loop.exe HOST PORT LINKS_FILE [USER_ID]
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "bare_request.h"
#include "text/win/script_timestamp.h"

namespace {

std::string Quoted(const std::string& answer, int piece) {
    // The n-th single-quoted value of the answer: enough to carry cid and tsize into the commit.
    size_t at = 0;
    for (int i = 0; i < piece; ++i) {
        at = answer.find('\'', at);
        if (at == std::string::npos) return "";
        at = answer.find('\'', at + 1);
        if (at == std::string::npos) return "";
        ++at;
    }
    size_t open = answer.find('\'', at);
    size_t close = open == std::string::npos ? open : answer.find('\'', open + 1);
    return close == std::string::npos ? "" : answer.substr(open + 1, close - open - 1);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: wininet_loop HOST PORT LINKS_FILE [USER_ID]\n");
        return 2;
    }
    std::string host;
    for (const wchar_t* c = argv[1]; *c; ++c)
        host += static_cast<char>(*c);
    const INTERNET_PORT port = static_cast<INTERNET_PORT>(_wtoi(argv[2]));
    std::string user = "100001";
    if (argc > 4) {
        user.clear();
        for (const wchar_t* c = argv[4]; *c; ++c)
            user += static_cast<char>(*c);
    }
    std::vector<std::string> links;
    std::ifstream in(argv[3]);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) links.push_back(line);
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    auto now_ms = [&] {
        LARGE_INTEGER t;
        QueryPerformanceCounter(&t);
        return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
    };
    double resolve_ms = 0, stamp_ms = 0, commit_ms = 0;
    int empty_timestamps = 0;
    const double start = now_ms();
    for (const std::string& link : links) {
        double t0 = now_ms();
        const std::string answer = BareRequest(
            host, port, "GET", "/interface/url_query?callback=queryUrl&u=" + link + "&interfrom=task", "");
        const std::string body = "uid=" + user + "&btname=x&cid=" + Quoted(answer, 0) +
                                 "&goldbean=0&silverbean=0&tsize=" + Quoted(answer, 1) +
                                 "&findex=0_&size=0_&o_taskid=0&o_page=task&class_id=0&interfrom=task";
        double t1 = now_ms();
        const std::string stamp = brindor::ScriptTimestamp().c_str();
        if (stamp.empty()) ++empty_timestamps;
        double t2 = now_ms();
        BareRequest(host, port, "POST", "/interface/bt_task_commit?callback=jsonp" + stamp, body);
        double t3 = now_ms();
        resolve_ms += t1 - t0;
        stamp_ms += t2 - t1;
        commit_ms += t3 - t2;
    }
    const double ms = now_ms() - start;
    const double n = links.empty() ? 1.0 : static_cast<double>(links.size());
    std::printf("links %zu ms %.0f per_link_ms %.2f resolve_ms %.2f timestamp_ms %.2f commit_ms %.2f "
                "empty_timestamps %d\n",
                links.size(), ms, ms / n, resolve_ms / n, stamp_ms / n, commit_ms / n, empty_timestamps);
    return 0;
}
