#include "submit/links/bencode.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace brindor {

namespace {

bool IsDigit(uint8_t c) {
    return c >= '0' && c <= '9';
}

// "<length>:<bytes>" at `at`; moves `at` past it.
bool ReadString(ByteSpan bytes, size_t& at, ByteSpan& content) {
    size_t p = at, digits = 0;
    uint64_t length = 0;
    for (; p < bytes.size && IsDigit(bytes.data[p]); ++p, ++digits) {
        if (digits == 1 && length == 0) return false; // a leading zero
        length = length * 10 + (bytes.data[p] - '0');
        if (length > bytes.size) return false; // longer than everything, and no room to overflow
    }
    if (digits == 0 || p >= bytes.size || bytes.data[p] != ':') return false;
    ++p;
    if (length > bytes.size - p) return false;
    content = {bytes.data + p, static_cast<size_t>(length)};
    at = p + static_cast<size_t>(length);
    return true;
}

// "i<digits>e" at `at`; moves `at` past it.
bool ReadInteger(ByteSpan bytes, size_t& at, int64_t& value) {
    size_t p = at + 1;
    const bool negative = p < bytes.size && bytes.data[p] == '-';
    if (negative) ++p;
    const size_t first = p;
    const uint64_t limit = negative ? uint64_t{1} << 63 : (uint64_t{1} << 63) - 1;
    uint64_t magnitude = 0;
    for (; p < bytes.size && IsDigit(bytes.data[p]); ++p) {
        const unsigned digit = bytes.data[p] - '0';
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    if (p == first || p >= bytes.size || bytes.data[p] != 'e') return false;
    if (bytes.data[first] == '0' && (p - first > 1 || negative)) return false; // "03", "-0"
    value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    at = p + 1;
    return true;
}

bool Before(const ByteSpan& a, const ByteSpan& b) {
    const int order = std::memcmp(a.data, b.data, std::min(a.size, b.size));
    return order < 0 || (order == 0 && a.size < b.size);
}

// The keys of one dictionary, from `first` on, hold none twice: which of two would count is
// anybody's guess. Leaves them sorted.
bool KeysDistinct(std::vector<ByteSpan>& keys, size_t first) {
    const auto begin = keys.begin() + static_cast<std::ptrdiff_t>(first);
    std::sort(begin, keys.end(), Before);
    return std::adjacent_find(begin, keys.end(), [](const ByteSpan& a, const ByteSpan& b) {
               return !Before(a, b);
           }) == keys.end();
}

// The end of the value at `at`, found with a bounded stack of open containers instead of recursion.
bool SkipValue(ByteSpan bytes, size_t at, size_t& end) {
    bool is_dictionary[kBencodeMaxDepth];
    bool wants_value[kBencodeMaxDepth]; // a dictionary whose key has been read
    size_t first_key[kBencodeMaxDepth]; // where its keys start in `keys`
    std::vector<ByteSpan> keys;         // those of the open dictionaries, innermost last
    int depth = 0;
    size_t p = at;
    do {
        if (p >= bytes.size) return false;
        const uint8_t c = bytes.data[p];
        const bool at_key = depth > 0 && is_dictionary[depth - 1] && !wants_value[depth - 1];
        if (c == 'e') {
            if (depth == 0 || (is_dictionary[depth - 1] && wants_value[depth - 1])) return false;
            if (is_dictionary[depth - 1]) {
                if (!KeysDistinct(keys, first_key[depth - 1])) return false;
                keys.resize(first_key[depth - 1]);
            }
            ++p;
            --depth;
        } else if (IsDigit(c)) {
            ByteSpan string;
            if (!ReadString(bytes, p, string)) return false;
            if (at_key) keys.push_back(string);
        } else if (at_key) {
            return false;
        } else if (c == 'i') {
            int64_t ignored = 0;
            if (!ReadInteger(bytes, p, ignored)) return false;
        } else if (c == 'l' || c == 'd') {
            if (depth == kBencodeMaxDepth) return false;
            is_dictionary[depth] = c == 'd';
            wants_value[depth] = false;
            first_key[depth] = keys.size();
            ++depth;
            ++p;
            continue;
        } else {
            return false;
        }
        if (depth > 0 && is_dictionary[depth - 1]) wants_value[depth - 1] = !wants_value[depth - 1];
    } while (depth > 0);
    end = p;
    return true;
}

} // namespace

bool ByteSpan::equals(const char* ascii) const {
    return std::strlen(ascii) == size && (size == 0 || std::memcmp(data, ascii, size) == 0);
}

bool ReadBencodeValue(ByteSpan bytes, size_t at, BencodeValue& value) {
    size_t end = 0;
    if (!SkipValue(bytes, at, end)) return false;
    BencodeValue read;
    read.raw = {bytes.data + at, end - at};
    const uint8_t c = bytes.data[at];
    size_t p = at;
    if (IsDigit(c)) {
        read.kind = BencodeKind::String;
        ReadString(bytes, p, read.string);
    } else if (c == 'i') {
        read.kind = BencodeKind::Integer;
        ReadInteger(bytes, p, read.integer);
    } else {
        read.kind = c == 'd' ? BencodeKind::Dictionary : BencodeKind::List;
    }
    value = read;
    return true;
}

BencodeMembers::BencodeMembers(const BencodeValue& container) : bytes_(container.raw) {
    if (container.kind != BencodeKind::List && container.kind != BencodeKind::Dictionary) at_ = bytes_.size;
}

bool BencodeMembers::next(BencodeValue& member) {
    if (at_ + 1 >= bytes_.size || !ReadBencodeValue(bytes_, at_, member)) return false;
    at_ += member.raw.size;
    return true;
}

bool BencodeMembers::next(ByteSpan& key, BencodeValue& member) {
    BencodeValue name;
    if (!next(name) || name.kind != BencodeKind::String || !next(member)) return false;
    key = name.string;
    return true;
}

} // namespace brindor
