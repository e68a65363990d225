// Owners of the handles the application opens through the declared functions.
#pragma once
#include <cstdint>

#include "declared/declared_functions.h"
#include "runtime/win/owned.h"

namespace brindor {

// A thread, a token or another kernel object.
struct KernelCloseTraits {
    using Handle = void*;
    static Handle invalid() { return nullptr; }
    static void close(Handle handle) { call_declared<int32_t>(kCloseHandle, handle); }
};
using KernelHandle = Owned<KernelCloseTraits>;

struct RegistryCloseTraits {
    using Handle = void*;
    static Handle invalid() { return nullptr; }
    static void close(Handle key) { call_declared<int32_t>(kRegCloseKey, key); }
};

} // namespace brindor
