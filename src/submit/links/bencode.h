// Reading bencoded data, such as a .torrent file, which comes from outside and may be hostile:
// every length is checked against the bytes left, nesting is bounded and nothing recurses. Values
// are spans of the caller's bytes; nothing is copied.
#pragma once
#include <cstddef>
#include <cstdint>

namespace brindor {

struct ByteSpan {
    const uint8_t* data = nullptr;
    size_t size = 0;

    bool equals(const char* ascii) const;
};

enum class BencodeKind : uint8_t { String, Integer, List, Dictionary };

constexpr int kBencodeMaxDepth = 64;

struct BencodeValue {
    BencodeKind kind = BencodeKind::String;
    ByteSpan raw;        // the whole encoded value, as it stands in the bytes
    ByteSpan string;     // String: the bytes after the length
    int64_t integer = 0; // Integer
};

// The one value that starts at `at`: complete inside `bytes`, no deeper than kBencodeMaxDepth,
// integers without leading zeros, "-0" or 64-bit overflow, dictionary keys byte strings, none of
// them twice in one dictionary.
bool ReadBencodeValue(ByteSpan bytes, size_t at, BencodeValue& value);

// The members of a list, or the key and value pairs of a dictionary, that ReadBencodeValue gave.
class BencodeMembers {
  public:
    explicit BencodeMembers(const BencodeValue& container);
    // False after the last member.
    bool next(BencodeValue& member);
    bool next(ByteSpan& key, BencodeValue& member);

  private:
    ByteSpan bytes_;
    size_t at_ = 1;
};

} // namespace brindor
