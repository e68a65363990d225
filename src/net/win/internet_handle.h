// Owner of one WinInet handle (root, connection or request), closed through the declared
// InternetCloseHandle.
#pragma once
#include "declared/declared_functions.h"
#include "runtime/win/owned.h"

namespace brindor {

struct InternetCloseTraits {
    using Handle = void*;
    static Handle invalid() { return nullptr; }
    static void close(Handle handle) { call_declared(kInternetCloseHandle, handle); }
};
using InternetHandle = Owned<InternetCloseTraits>;

} // namespace brindor
