// The value record every runtime operation takes and returns: {low word, high word, type code}.
#pragma once
#include <cstdint>
#include <cstring>

namespace brindor {

enum TypeCode : uint32_t {
    kTypeOmitted = 0, // an optional argument that was left out
    kTypeBoolean = 0x80000002,
    kTypeDateTime = 0x80000003,
    kTypeText = 0x80000004,
    kTypeBytes = 0x80000005,
    kTypeRoutine = 0x80000006,
    kTypeByte = 0x80000101,
    kTypeShort = 0x80000201,
    kTypeInteger = 0x80000301,
    kTypeLong = 0x80000401,
    kTypeFloat = 0x80000501,
    kTypeDouble = 0x80000601,
    kTypeArrayFlag = 0x20000000,
};

struct Value {
    uint32_t low = 0;
    uint32_t high = 0;
    uint32_t type = kTypeOmitted;

    bool omitted() const { return type == kTypeOmitted; }

    static Value integer(int32_t v) { return {static_cast<uint32_t>(v), 0, kTypeInteger}; }
    static Value boolean(bool v) { return {v ? 1u : 0u, 0, kTypeBoolean}; }
    static Value byte(uint8_t v) { return {v, 0, kTypeByte}; }
    static Value short_integer(int16_t v) {
        return {static_cast<uint32_t>(static_cast<int32_t>(v)), 0, kTypeShort};
    }
    static Value long_integer(int64_t v) { return split(&v, kTypeLong); }
    static Value real(double v) { return split(&v, kTypeDouble); }
    static Value single(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        return {bits, 0, kTypeFloat};
    }
    // Texts and byte sets travel as pointers to their blocks; the record does not own them.
    static Value text(const char* s) { return pointer(s, kTypeText); }
    static Value bytes(const void* block) { return pointer(block, kTypeBytes); }

    int32_t as_integer() const { return static_cast<int32_t>(low); }
    int64_t as_long() const { return static_cast<int64_t>((static_cast<uint64_t>(high) << 32) | low); }
    double as_double() const { return join<double>(); }
    float as_float() const {
        float f;
        std::memcpy(&f, &low, sizeof f);
        return f;
    }
    const void* as_pointer() const {
        uint64_t bits = (static_cast<uint64_t>(high) << 32) | low;
        return reinterpret_cast<const void*>(static_cast<uintptr_t>(bits));
    }
    const char* as_text() const { return static_cast<const char*>(as_pointer()); }

  private:
    // On 64-bit hosts (the native test tree) a pointer does not fit in one word; the high
    // word carries the rest so that records round-trip there too. On Windows it is 0.
    static Value pointer(const void* p, uint32_t type) {
        uint64_t bits = reinterpret_cast<uintptr_t>(p);
        return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), type};
    }
    template <class T> static Value split(const T* v, uint32_t type) {
        uint64_t bits;
        std::memcpy(&bits, v, sizeof bits);
        return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), type};
    }
    template <class T> T join() const {
        uint64_t bits = (static_cast<uint64_t>(high) << 32) | low;
        T v;
        std::memcpy(&v, &bits, sizeof v);
        return v;
    }
};

} // namespace brindor
