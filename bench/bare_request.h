// One request over the operating system's HTTP client with its own internet, connection and
// request handles, opened and closed as the program's request routine does: the platform's floor.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>

inline std::string BareRequest(const std::string& host, INTERNET_PORT port, const char* verb,
                               const std::string& path, const std::string& body) {
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
