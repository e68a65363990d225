// One request and its answer over WinInet, as a unit that can run on a thread of its own: a
// synchronous WinInet call cannot be made to give up under Wine (neither closing its handles from
// another thread, synchronous or asynchronous, nor a shorter time-out set meanwhile ends it or lets
// go of its socket), so HttpRequest waits for the hop no longer than its time limit and leaves a
// hop that overruns to finish, and free itself, on its own. Only a few such hops may be left at a
// time: a server that trickles for ever would otherwise pile up threads and connections.
#pragma once
#include <atomic>
#include <cstdint>

#include "net/body_completeness.h"
#include "runtime/core/bytes.h"
#include "runtime/core/text.h"

namespace brindor {

struct HopWork {
    // What to send; filled before the hop starts and not touched by the caller afterwards.
    Text agent;
    bool use_proxy = false;
    Text proxies;
    Text host;
    uint32_t port = 80;
    const char* verb = "GET";
    Text path;
    uint32_t flags = 0;
    Text headers;
    bool send_body = false;
    Bytes body;
    bool forget_cache_entry = false; // a POST's answer the client cached all the same
    bool fresh_connection = false;   // on a connection of its own, never one kept from an earlier request
    Text url;
    uint32_t socket_timeout_ms = 0;

    // What came back; read by the caller only when the hop finished in time.
    bool opened = false; // root, connection and request could be opened
    Bytes answer;
    int32_t status = 0; // the client's own reading of the status line
    Text raw_headers;
    Text content_length;
    BodyReceipt receipt;

    // kRunning until the hop's thread is done or the caller stops waiting, whichever comes first;
    // an abandoned hop stops reading at its next look.
    std::atomic<int> state{kRunning};
    static constexpr int kRunning = 0, kDone = 1, kAbandoned = 2;
    // The caller and the hop's thread; the last to let go deletes the work.
    std::atomic<int> owners{1};
};

// The whole exchange on the calling thread; handles are opened and closed within it.
void RunHop(HopWork& work);

// Abandoned hops whose threads still run; while this many are, no further hop starts.
inline constexpr int kMaxAbandonedHops = 4;
int AbandonedHops();

// RunHop on a thread of its own, waited for at most `limitMs`. True when it finished in time;
// otherwise the work is marked abandoned and its thread deletes it when done. False at once, the
// hop not started, while kMaxAbandonedHops are outstanding or when no thread can be made. `work`
// was made with new and belongs to this function from here on: the caller reads it only after a
// true result and then deletes it.
bool RunHopWithin(HopWork* work, uint32_t limitMs);

} // namespace brindor
