#include "runtime/core/conversions.h"

#include <cstdio>
#include <cstring>

#include "runtime/core/number_format.h"

namespace brindor {

namespace {

const ArrayHeader* bytes_block(const Value& value) {
    return static_cast<const ArrayHeader*>(value.as_pointer());
}

const uint8_t* bytes_of(const ArrayHeader* block) {
    return reinterpret_cast<const uint8_t*>(block + 1);
}

Text formatted(double value, int precision) {
    char out[kFormattedNumberCapacity];
    size_t length = format_general(value, precision, out);
    return Text(out, length);
}

Text printed(const char* format, auto number) {
    char out[24];
    int length = std::snprintf(out, sizeof out, format, number);
    return Text(out, static_cast<size_t>(length));
}

} // namespace

Text to_text(const Value& value) {
    switch (value.type) {
    case kTypeInteger:
        return printed("%d", static_cast<int>(value.as_integer()));
    case kTypeShort:
        return printed("%d", static_cast<int>(static_cast<int16_t>(value.low)));
    case kTypeByte:
        return printed("%u", static_cast<unsigned>(value.low & 0xFF));
    case kTypeLong:
        return printed("%lld", static_cast<long long>(value.as_long()));
    case kTypeDouble:
        return formatted(value.as_double(), 13);
    case kTypeFloat:
        return formatted(value.as_float(), 6);
    case kTypeBoolean:
        return Text(value.low ? "真" : "假");
    case kTypeText:
        return Text(value.as_text(), value.as_text() ? std::strlen(value.as_text()) : 0);
    case kTypeBytes: {
        const ArrayHeader* block = bytes_block(value);
        if (!block || block->count <= 0) return Text();
        const void* zero = std::memchr(bytes_of(block), 0, static_cast<size_t>(block->count));
        size_t length = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes_of(block))
                             : static_cast<size_t>(block->count);
        return Text(reinterpret_cast<const char*>(bytes_of(block)), length);
    }
    default:
        return Text();
    }
}

Bytes to_bytes(const Value& value) {
    // Both targets are little-endian; the words go out low first either way.
    uint8_t raw[8];
    for (int i = 0; i < 4; ++i) {
        raw[i] = static_cast<uint8_t>(value.low >> (8 * i));
        raw[4 + i] = static_cast<uint8_t>(value.high >> (8 * i));
    }
    switch (value.type) {
    case kTypeText:
        return value.as_text() ? Bytes(value.as_text(), std::strlen(value.as_text())) : Bytes();
    case kTypeBytes: {
        const ArrayHeader* block = bytes_block(value);
        if (!block || block->count <= 0) return Bytes();
        return Bytes(bytes_of(block), static_cast<size_t>(block->count));
    }
    case kTypeByte:
        return Bytes(raw, 1);
    case kTypeShort:
        return Bytes(raw, 2);
    case kTypeInteger:
    case kTypeFloat:
    case kTypeBoolean:
        return Bytes(raw, 4);
    case kTypeLong:
    case kTypeDouble:
    case kTypeDateTime:
        return Bytes(raw, 8);
    default:
        return Bytes();
    }
}

Text to_hex_text(int32_t value) {
    return printed("%X", static_cast<unsigned>(value));
}

} // namespace brindor
