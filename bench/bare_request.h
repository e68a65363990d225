// The program's HTTP exchange straight over WinInet, with none of the routine's own layers: the
// same agent, open type, request flags (taken from the program's own RequestFlags), header lines,
// 1,024-byte reads and header query, and the same order of closing. The options switch one
// ingredient at a time so that a loop can tell which one costs.
#pragma once
#include <windows.h>
#include <wininet.h>

#include <string>

#include "net/http_request_parts.h"
#include "net/url_parts.h"
#include "runtime/core/text.h"

enum class CacheFlag { Program, NoWrite, NeedFile };

struct BareOptions {
    CacheFlag cache = CacheFlag::Program;
    // Off: the store is bypassed and `cookie_line` goes out as the request's Cookie line.
    bool cookie_store = true;
    std::string cookie_line;
    // On: one internet and one connection handle for the whole run, as a kept-alive client would.
    bool keep_handles = false;
};

struct BareAnswer {
    std::string body;
    std::string raw_headers;
};

inline DWORD BareRequestFlags(const std::string& url, const BareOptions& options) {
    DWORD flags = brindor::RequestFlags(url.c_str(), !options.cookie_store, false);
    if (options.cache == CacheFlag::NoWrite)
        flags = (flags & ~INTERNET_FLAG_NEED_FILE) | INTERNET_FLAG_NO_CACHE_WRITE;
    if (options.cache == CacheFlag::NeedFile)
        flags = (flags & ~INTERNET_FLAG_NO_CACHE_WRITE) | INTERNET_FLAG_NEED_FILE;
    return flags;
}

class BareClient {
  public:
    explicit BareClient(BareOptions options) : options_(std::move(options)) {}
    ~BareClient() { CloseShared(); }
    BareClient(const BareClient&) = delete;
    BareClient& operator=(const BareClient&) = delete;

    const BareOptions& options() const { return options_; }

    BareAnswer Request(const std::string& url, bool post, const std::string& body) {
        BareAnswer answer;
        const brindor::Text host = brindor::UrlHost(url.c_str());
        const INTERNET_PORT port = static_cast<INTERNET_PORT>(brindor::UrlPort(url.c_str()));
        HINTERNET internet = shared_internet_;
        HINTERNET connection = shared_connection_;
        if (!internet)
            internet = InternetOpenA(brindor::kDefaultAgent, INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
        if (internet && !connection)
            connection =
                InternetConnectA(internet, host.c_str(), port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0);
        const brindor::Text path = brindor::UrlPath(url.c_str());
        HINTERNET request =
            connection ? HttpOpenRequestA(connection, post ? "POST" : "GET", path.c_str(), "HTTP/1.1",
                                          nullptr, nullptr, BareRequestFlags(url, options_), 0)
                       : nullptr;
        if (request) {
            brindor::Text headers;
            brindor::AddDefaultHeaders(headers, url.c_str(),
                                       options_.cookie_store ? "" : options_.cookie_line.c_str());
            const DWORD length = static_cast<DWORD>(headers.length());
            if (post)
                HttpSendRequestA(request, headers.c_str(), length, const_cast<char*>(body.data()),
                                 static_cast<DWORD>(body.size()));
            else
                HttpSendRequestA(request, headers.c_str(), length, const_cast<char*>(""), 0);
            for (;;) {
                char chunk[brindor::kReadChunkSize] = {};
                DWORD read = 0;
                InternetReadFile(request, chunk, sizeof chunk, &read);
                if (read == 0) break;
                answer.body.append(chunk, read);
            }
            std::string raw(brindor::kAnswerHeaderBufferLength, ' ');
            DWORD raw_length = brindor::kAnswerHeaderBufferLength;
            HttpQueryInfoA(request, HTTP_QUERY_RAW_HEADERS_CRLF, raw.data(), &raw_length, nullptr);
            answer.raw_headers = raw.c_str();
            InternetCloseHandle(request);
        }
        if (options_.keep_handles) {
            shared_internet_ = internet;
            shared_connection_ = connection;
        } else {
            if (connection) InternetCloseHandle(connection);
            if (internet) InternetCloseHandle(internet);
        }
        return answer;
    }

  private:
    void CloseShared() {
        if (shared_connection_) InternetCloseHandle(shared_connection_);
        if (shared_internet_) InternetCloseHandle(shared_internet_);
        shared_connection_ = shared_internet_ = nullptr;
    }

    BareOptions options_;
    HINTERNET shared_internet_ = nullptr;
    HINTERNET shared_connection_ = nullptr;
};

// One exchange with the program's defaults, each with its own handles.
inline std::string BareRequest(const std::string& url, bool post, const std::string& body) {
    BareClient client{BareOptions{}};
    return client.Request(url, post, body).body;
}
