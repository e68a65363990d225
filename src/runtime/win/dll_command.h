// Windows functions the application declares itself (its DLL commands), called with a stack
// check: a declared argument list that does not match the real function is runtime error 6.
#pragma once
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace brindor {

struct DllCommand {
    const char* library; // file name, absolute path, or null/"" to search the usual system libraries
    const char* name;    // exported name, or "#" and a decimal ordinal
};

// The application's numbered table (entry numbers are indexes into it).
void register_dll_commands(const DllCommand* table, int count);
void release_dll_command_modules();

// Resolves an entry on first use; a missing library or export is a fatal runtime error.
void* resolve_dll_command(int entry);

// Pushes `count` words (last first), calls `function` and compares the stack pointer with the one
// recorded before the pushes. Returns EDX:EAX; *stack_difference is 0 when the stack matched.
extern "C" uint64_t brindor_call_checked(void* function, const uint32_t* words, uint32_t count,
                                         int32_t* stack_difference);

void check_stack_after_dll_call(int32_t stack_difference);

namespace detail {
template <class T> constexpr uint32_t word_count() {
    return (sizeof(T) + 3) / 4;
}
template <class T> void put_words(uint32_t*& out, T value) {
    uint32_t words[word_count<T>()] = {};
    std::memcpy(words, &value, sizeof value);
    for (uint32_t w : words)
        *out++ = w;
}
} // namespace detail

template <class R = uint32_t, class... Args> R call_dll_command(int entry, Args... args) {
    static_assert((std::is_trivially_copyable_v<Args> && ...), "DLL command arguments are plain words");
    void* function = resolve_dll_command(entry);
    constexpr uint32_t count = (detail::word_count<Args>() + ... + 0);
    uint32_t words[count ? count : 1];
    [[maybe_unused]] uint32_t* out = words;
    (detail::put_words(out, args), ...);
    int32_t difference = 0;
    uint64_t result = brindor_call_checked(function, words, count, &difference);
    check_stack_after_dll_call(difference);
    if constexpr (std::is_void_v<R>) {
        return;
    } else {
        static_assert(sizeof(R) <= 8 && std::is_trivially_copyable_v<R>, "results come back in EDX:EAX");
        R value;
        std::memcpy(&value, &result, sizeof value);
        return value;
    }
}

} // namespace brindor
