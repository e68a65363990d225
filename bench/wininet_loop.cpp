// A bare loop over the operating system's HTTP client: per link one resolve GET and one commit POST,
// each with its own internet, connection and request handles, and one script-object timestamp, as
// the program does, without anything else. Prints one line: links, milliseconds, and per link the
// total and the share of each step.
//   wininet_loop.exe HOST PORT LINKS_FILE [USER_ID]
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "text/win/script_timestamp.h"

namespace {

std::string Request(const std::string& host, INTERNET_PORT port, const char* verb, const std::string& path,
                    const std::string& body) {
    std::string answer;
    HINTERNET internet = InternetOpenA("Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1)",
                                       INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    HINTERNET connection = internet ? InternetConnectA(internet, host.c_str(), port, nullptr, nullptr,
                                                       INTERNET_SERVICE_HTTP, 0, 0)
                                    : nullptr;
    HINTERNET request = connection ? HttpOpenRequestA(connection, verb, path.c_str(), "HTTP/1.1", nullptr,
                                                      nullptr, INTERNET_FLAG_RELOAD, 0)
                                   : nullptr;
    static const char kHeaders[] = "Accept: */*\r\nAccept-Language: zh-cn\r\n"
                                   "Content-Type: application/x-www-form-urlencoded\r\n";
    if (request && HttpSendRequestA(request, kHeaders, sizeof kHeaders - 1, const_cast<char*>(body.data()),
                                    static_cast<DWORD>(body.size()))) {
        char buffer[4096];
        DWORD got = 0;
        while (InternetReadFile(request, buffer, sizeof buffer, &got) && got)
            answer.append(buffer, got);
    }
    if (request) InternetCloseHandle(request);
    if (connection) InternetCloseHandle(connection);
    if (internet) InternetCloseHandle(internet);
    return answer;
}

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
        const std::string answer = Request(
            host, port, "GET", "/interface/url_query?callback=queryUrl&u=" + link + "&interfrom=task", "");
        const std::string body = "uid=" + user + "&btname=x&cid=" + Quoted(answer, 0) +
                                 "&goldbean=0&silverbean=0&tsize=" + Quoted(answer, 1) +
                                 "&findex=0_&size=0_&o_taskid=0&o_page=task&class_id=0&interfrom=task";
        double t1 = now_ms();
        const std::string stamp = brindor::ScriptTimestamp().c_str();
        if (stamp.empty()) ++empty_timestamps;
        double t2 = now_ms();
        Request(host, port, "POST", "/interface/bt_task_commit?callback=jsonp" + stamp, body);
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
