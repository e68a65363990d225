#include "net/win/hop_work.h"

#include "declared/declared_functions.h"
#include "declared/declared_handles.h"
#include "net/http_request_parts.h"
#include "net/win/internet_handle.h"
#include "runtime/core/text_ops.h"
#include "runtime/win/dialog_ops.h"

namespace brindor {

namespace {

constexpr uint32_t kOpenTypeDirect = 1;
constexpr uint32_t kOpenTypeProxy = 3;
constexpr uint32_t kServiceHttp = 3;
constexpr uint32_t kQueryRawHeadersCrlf = 22;
constexpr uint32_t kQueryContentLength = 5;
constexpr uint32_t kQueryStatusCode = 19;
constexpr uint32_t kQueryFlagNumber = 0x20000000;
constexpr uint32_t kOptionConnectTimeout = 2;
constexpr uint32_t kOptionSendTimeout = 5;
constexpr uint32_t kOptionReceiveTimeout = 6;
constexpr uint32_t kOptionSettingsChanged = 39;
constexpr uint32_t kWaitObject0 = 0;
constexpr uint32_t kInfinite = 0xFFFFFFFF;
constexpr uint32_t kQueueSentMessages = 0x0040; // QS_SENDMESSAGE

std::atomic<int> abandonedHops{0};

// Each handle level gets the time-outs: Wine takes them from the handle a socket works for.
void SetTimeouts(const InternetHandle& handle, uint32_t ms) {
    for (uint32_t option : {kOptionConnectTimeout, kOptionSendTimeout, kOptionReceiveTimeout})
        call_declared<int32_t>(kInternetSetOptionA, handle.get(), option, &ms, uint32_t{sizeof ms});
}

InternetHandle OpenRoot(const HopWork& work) {
    if (work.use_proxy)
        return InternetHandle(call_declared<void*>(kInternetOpenA, work.agent.c_str(), kOpenTypeProxy,
                                                   work.proxies.c_str(), "", uint32_t{0}));
    return InternetHandle(call_declared<void*>(kInternetOpenA, work.agent.c_str(), kOpenTypeDirect,
                                               static_cast<const char*>(nullptr),
                                               static_cast<const char*>(nullptr), uint32_t{0}));
}

void Send(const InternetHandle& request, const HopWork& work) {
    const char* headers = work.headers.c_str();
    uint32_t headersLength = static_cast<uint32_t>(work.headers.length());
    if (!work.send_body) {
        call_declared(kHttpSendRequestText, request.get(), headers, headersLength, "", uint32_t{0});
        return;
    }
    call_declared(kHttpSendRequestBytes, request.get(), headers, headersLength, work.body.data(),
                  static_cast<uint32_t>(work.body.size()));
}

// Reads only what has arrived, so that a trickle cannot hold a read until a whole chunk is full,
// and stops at the next look once the caller has given up.
void ReadBody(const InternetHandle& request, HopWork& work) {
    for (;;) {
        if (work.state.load() == HopWork::kAbandoned) {
            work.receipt.timed_out = true;
            break;
        }
        uint32_t available = 0;
        if (!call_declared<int32_t>(kInternetQueryDataAvailable, request.get(), &available, uint32_t{0},
                                    uint32_t{0})) {
            work.receipt.read_failed = true;
            break;
        }
        uint8_t chunk[kReadChunkSize] = {};
        uint32_t wanted = available > 0 && available < kReadChunkSize ? available : kReadChunkSize;
        uint32_t read = 0;
        if (!call_declared<int32_t>(kInternetReadFile, request.get(), chunk, wanted, &read)) {
            work.receipt.read_failed = true;
            break;
        }
        if (read == 0) break;
        work.answer.append(chunk, read);
    }
    work.receipt.received = work.answer.size();
}

// The whole header block, in a buffer of the size the client asks for when the usual one is too
// small; 5,000 spaces when there is none.
Text QueryRawHeaders(const InternetHandle& request) {
    uint32_t capacity = kAnswerHeaderBufferLength;
    for (int attempt = 0; attempt < 3; ++attempt) {
        Text buffer = blank_text(static_cast<int>(capacity));
        uint32_t length = capacity;
        if (call_declared<int32_t>(kHttpQueryInfoA, request.get(), kQueryRawHeadersCrlf, buffer.data(),
                                   &length, static_cast<uint32_t*>(nullptr)))
            return Text(buffer.c_str());
        if (length <= capacity) break; // failed for want of headers, not of room
        capacity = length + 1;
    }
    return blank_text(kAnswerHeaderBufferLength);
}

// The status as the client parsed it, whatever the length of the header block; 0 without one.
int32_t QueryStatus(const InternetHandle& request) {
    uint32_t status = 0;
    uint32_t length = sizeof status;
    if (!call_declared<int32_t>(kHttpQueryInfoA, request.get(), kQueryStatusCode | kQueryFlagNumber, &status,
                                &length, static_cast<uint32_t*>(nullptr)))
        return 0;
    return static_cast<int32_t>(status);
}

Text QueryContentLength(const InternetHandle& request) {
    char buffer[32] = {};
    uint32_t length = sizeof buffer;
    if (!call_declared<int32_t>(kHttpQueryInfoA, request.get(), kQueryContentLength, buffer, &length,
                                static_cast<uint32_t*>(nullptr)))
        return Text();
    return Text(buffer);
}

void LetGo(HopWork* work) {
    if (work->owners.fetch_sub(1) == 1) delete work;
}

uint32_t __stdcall HopThread(void* parameter) {
    auto* work = static_cast<HopWork*>(parameter);
    RunHop(*work);
    if (work->state.exchange(HopWork::kDone) == HopWork::kAbandoned) abandonedHops.fetch_sub(1);
    LetGo(work);
    return 0;
}

// True when the hop is now abandoned; false when its thread finished first after all.
bool Abandon(HopWork& work) {
    abandonedHops.fetch_add(1); // before the hop can see itself abandoned and count itself out
    int running = HopWork::kRunning;
    if (work.state.compare_exchange_strong(running, HopWork::kAbandoned)) return true;
    abandonedHops.fetch_sub(1);
    return false;
}

// The calling thread owns windows (the script object's among them), so it goes on answering sent
// messages while it waits: whoever sends to it, a system broadcast say, must not wait for the request.
bool WaitForHop(void* thread, uint32_t limitMs) {
    const uint32_t start = call_declared<uint32_t>(kGetTickCount);
    for (;;) {
        const uint32_t elapsed = call_declared<uint32_t>(kGetTickCount) - start;
        if (elapsed >= limitMs) return false;
        const uint32_t woke = call_declared<uint32_t>(kMsgWaitForMultipleObjects, uint32_t{1}, &thread,
                                                      int32_t{0}, limitMs - elapsed, kQueueSentMessages);
        if (woke == kWaitObject0) return true;
        if (woke != kWaitObject0 + 1) return false;
        do_events();
    }
}

} // namespace

// The client sends a request again by itself when a connection it kept alive drops before the answer:
// for a commit that would make a second task. Told that its settings changed, it closes the idle
// connections it keeps (measured under Wine), so the request goes out on a new one, once.
void LetGoOfIdleConnections() {
    call_declared<int32_t>(kInternetSetOptionA, static_cast<void*>(nullptr), kOptionSettingsChanged,
                           static_cast<void*>(nullptr), uint32_t{0});
}

void RunHop(HopWork& work) {
    if (work.fresh_connection) LetGoOfIdleConnections();
    InternetHandle root = OpenRoot(work);
    if (!root) return;
    SetTimeouts(root, work.socket_timeout_ms);
    InternetHandle connection(call_declared<void*>(
        kInternetConnectA, root.get(), work.host.c_str(), work.port, static_cast<const char*>(nullptr),
        static_cast<const char*>(nullptr), kServiceHttp, uint32_t{0}, uint32_t{0}));
    if (!connection) return;
    SetTimeouts(connection, work.socket_timeout_ms);
    InternetHandle request(call_declared<void*>(
        kHttpOpenRequestA, connection.get(), work.verb, work.path.c_str(), "HTTP/1.1",
        static_cast<const char*>(nullptr), static_cast<const char**>(nullptr), work.flags, uint32_t{0}));
    if (!request) return;
    SetTimeouts(request, work.socket_timeout_ms);
    work.opened = true;

    Send(request, work);
    ReadBody(request, work);
    work.status = QueryStatus(request);
    work.raw_headers = QueryRawHeaders(request);
    work.content_length = QueryContentLength(request);
    request.reset();
    connection.reset();
    root.reset();
    if (work.forget_cache_entry) call_declared<int32_t>(kDeleteUrlCacheEntryA, work.url.c_str());
}

int AbandonedHops() {
    return abandonedHops.load();
}

bool RunHopWithin(HopWork* work, uint32_t limitMs) {
    if (abandonedHops.load() >= kMaxAbandonedHops) {
        delete work;
        return false;
    }
    work->owners.store(2);
    uint32_t(__stdcall * routine)(void*) = &HopThread;
    uint32_t threadId = 0;
    const KernelHandle thread(call_declared<void*>(kCreateThread, static_cast<void*>(nullptr), uint32_t{0},
                                                   routine, static_cast<void*>(work), uint32_t{0},
                                                   &threadId));
    if (!thread) {
        // Run here, it would be bounded by its socket time-outs only, and a trickle has none.
        delete work;
        return false;
    }
    bool finished = WaitForHop(thread.get(), limitMs);
    if (!finished && !Abandon(*work)) {
        // Done just now: only letting go is left to its thread.
        void* const handles[] = {thread.get()};
        call_declared<uint32_t>(kMsgWaitForMultipleObjects, uint32_t{1}, handles, int32_t{0}, kInfinite,
                                uint32_t{0});
        finished = true;
    }
    if (finished) {
        work->owners.store(1);
        return true;
    }
    LetGo(work);
    return false;
}

} // namespace brindor
