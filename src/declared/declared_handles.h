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

struct CryptProviderCloseTraits {
    using Handle = uintptr_t;
    static Handle invalid() { return 0; }
    static void close(Handle provider) {
        call_declared<int32_t>(kCryptReleaseContext, provider, uint32_t{0});
    }
};

struct CryptHashCloseTraits {
    using Handle = uintptr_t;
    static Handle invalid() { return 0; }
    static void close(Handle hash) { call_declared<int32_t>(kCryptDestroyHash, hash); }
};

} // namespace brindor
