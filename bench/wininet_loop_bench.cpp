// The platform's floor for HttpRequest: count sequential GETs straight over WinInet, opening and
// closing root, connection and request per GET with the routine's flags and reading in 1,024-byte
// pieces as the routine does, with none of its header work. Prints the count, the seconds taken and the last
// answer's bytes.
#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "net/http_request_parts.h"

int main(int argc, char** argv) {
    if (argc < 5) return 2; // host port path count
    const char* host = argv[1];
    INTERNET_PORT port = static_cast<INTERNET_PORT>(std::atoi(argv[2]));
    const char* path = argv[3];
    int count = std::atoi(argv[4]);
    size_t last = 0;
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < count; ++i) {
        HINTERNET root = InternetOpenA("bench", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        HINTERNET connection =
            InternetConnectA(root, host, port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
        HINTERNET request = HttpOpenRequestA(connection, "GET", path, "HTTP/1.1", nullptr, nullptr,
                                             brindor::RequestFlags(path, false, false), 0);
        HttpSendRequestA(request, nullptr, 0, nullptr, 0);
        char buffer[1024];
        DWORD read = 0;
        last = 0;
        while (InternetReadFile(request, buffer, sizeof buffer, &read) && read)
            last += read;
        char headers[5000];
        DWORD length = sizeof headers;
        HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, headers, &length, nullptr);
        InternetCloseHandle(request);
        InternetCloseHandle(connection);
        InternetCloseHandle(root);
    }
    QueryPerformanceCounter(&stop);
    double seconds = static_cast<double>(stop.QuadPart - start.QuadPart) / frequency.QuadPart;
    std::printf("%d %.6f %zu\n", count, seconds, last);
    return 0;
}
