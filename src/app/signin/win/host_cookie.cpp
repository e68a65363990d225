#include "app/signin/win/host_cookie.h"

#include <cstdint>

#include "app/signin/cookie_value.h"
#include "declared/declared_functions.h"
#include "runtime/core/text_ops.h"

namespace brindor::app {

namespace {

constexpr uint32_t kCookieBufferSize = 3000;
constexpr uint32_t kCookieHttpOnly = 0x2000;
// A store that keeps growing between two calls must not keep us asking for ever.
constexpr int kCookieAttempts = 4;

// One cookie call into a buffer of spaces; a buffer the call leaves alone keeps them. When the
// store holds more than fits, the call fails and asks for a size, and we ask again with it, so a
// user with many cookies on the domain still signs in.
template <class Call> Text FetchCookieText(Call call) {
    uint32_t capacity = kCookieBufferSize;
    for (int attempt = 0; attempt < kCookieAttempts; ++attempt) {
        Text buffer = blank_text(static_cast<int>(capacity));
        uint32_t size = capacity;
        int succeeded = call(buffer.data(), &size);
        if (succeeded || size <= capacity) return Text(buffer.c_str());
        capacity = size;
    }
    return {};
}

} // namespace

Text GetHostCookie(TextRef host, TextRef name) {
    Text url = concat_text("http://", host);
    const char* no_name = nullptr;
    Text plain = FetchCookieText([&](char* buffer, uint32_t* size) {
        return call_declared<int>(kInternetGetCookieA, url.c_str(), no_name, buffer, size);
    });
    Text http_only = FetchCookieText([&](char* buffer, uint32_t* size) {
        return call_declared<int>(kInternetGetCookieExA, url.c_str(), no_name, buffer, size, kCookieHttpOnly,
                                  static_cast<void*>(nullptr));
    });
    return CombineHostCookies(plain, http_only, name);
}

} // namespace brindor::app
