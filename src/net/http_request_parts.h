// The parts of one HTTP exchange that need no network: composing the request and reading the
// answer's header block and body. HttpRequest (net/win) strings them together over WinInet.
#pragma once
#include <cstdint>

#include "net/request_limits.h"
#include "runtime/core/bytes.h"
#include "runtime/core/text.h"
#include "runtime/core/text_ref.h"

namespace brindor {

inline constexpr const char* kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; 408QT; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; "
    ".NET CLR 3.5.21022)";
inline constexpr int kReadChunkSize = 1024;
inline constexpr int kAnswerHeaderBufferLength = 5000;

inline constexpr uint32_t kFlagReload = 0x80000000;
inline constexpr uint32_t kFlagNoCacheWrite = 0x04000000;
inline constexpr uint32_t kFlagNoCookies = 0x00080000;
inline constexpr uint32_t kFlagNoAutoRedirect = 0x00200000;
inline constexpr uint32_t kFlagSecure = 0x00800000;
inline constexpr uint32_t kFlagIgnoreRedirectToHttps = 0x00004000;

// "https" in the first five characters, any letter case.
bool IsSecureUrl(TextRef url);

// The agent string: the value of the block's User-Agent line (name in any letter case), or the
// default agent when there is none or its value is blank.
Text AgentString(TextRef extraHeaders);

// A GET's answer is never written to the URL cache. A POST does without the flag: with it the
// platform client would add a Cache-Control line to the request.
uint32_t RequestFlags(TextRef url, bool cookiesGiven, bool noRedirect, bool post = false);

// Appends the default lines the block lacks (case-sensitive search) and, for non-empty cookies,
// a Cookie line in any case.
void AddDefaultHeaders(Text& extraHeaders, TextRef url, TextRef cookiesIn);

// Location (the last line holding "Location:", else empty) and the Set-Cookie items joined by "; ".
void ScanAnswerHeaders(TextRef rawHeaders, Text& cookiesOut, Text& locationOut);

// The status code of the block's status line ("HTTP/1.x NNN ..."); 0 when there is none.
int AnswerStatus(TextRef rawHeaders);

// Only "HTTP/1.1 301 Moved" is followed by the routine itself.
bool IsMovedAnswer(TextRef rawHeaders);

// The location followed by the path and query of the URL that was moved.
Text RedirectUrl(TextRef location, TextRef url);

// "utf-8" (exact bytes) starting before position 500 of the body, or "utf-8" in any letter case
// in the header block.
bool IsUtf8Answer(const Bytes& body, TextRef rawHeaders);

// The body up to its first zero byte.
Text BodyText(const Bytes& body);

} // namespace brindor
