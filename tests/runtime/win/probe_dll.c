/* A library of our own for resolving declared functions by name and by ordinal. */
#include <stdint.h>

__declspec(dllexport) int __stdcall add_three(int a, int b, int c) {
    return a + b + c;
}

/* An 8-byte argument between two words, and a 64-bit result in EDX:EAX. */
__declspec(dllexport) int64_t __stdcall mix_words(int a, double b, int c) {
    return (int64_t)a * 1000000000LL + (int64_t)b + c;
}

/* cdecl: the caller pops, so a declaration that expects the callee to pop fails the stack check. */
__declspec(dllexport) int __cdecl cdecl_sum(int a, int b) {
    return a + b;
}
