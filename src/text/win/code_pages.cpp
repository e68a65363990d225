#include "text/win/code_pages.h"

#include "declared/declared_functions.h"

namespace brindor {

namespace {

constexpr uint32_t kCompositeCheck = 0x200;
const char* const kNoDefaultChar = nullptr;
int* const kNoUsedDefault = nullptr;

int to_utf16(DeclaredFunction function, uint32_t code_page, const void* source, int source_count, void* units,
             int unit_count) {
    return call_declared<int>(function, code_page, 0u, source, source_count, units, unit_count);
}

Bytes utf16_to_gbk(const Bytes& wide, uint32_t flags) {
    int units = static_cast<int>(wide.size() / 2);
    if (!units) return Bytes();
    auto convert = [&](void* target, int capacity) {
        return call_declared<int>(kWideCharToMultiByteToBytes, kCodePageGbk, flags, wide.data(), units,
                                  target, capacity, kNoDefaultChar, kNoUsedDefault);
    };
    int length = convert(nullptr, 0);
    if (length <= 0) return Bytes();
    Bytes out = Bytes::with_length(static_cast<size_t>(length));
    length = convert(out.mutable_data(), length);
    if (length <= 0) return Bytes();
    out.resize(static_cast<size_t>(length));
    return out;
}

} // namespace

Bytes Utf8BytesToUtf16(const Bytes& utf8) {
    if (utf8.empty()) return Bytes();
    int source_count = static_cast<int>(utf8.size());
    int units = to_utf16(kMultiByteToWideCharFromBytes, kCodePageUtf8, utf8.data(), source_count, nullptr, 0);
    if (units <= 0) return Bytes();
    Bytes out = Bytes::with_length(static_cast<size_t>(units) * 2);
    units = to_utf16(kMultiByteToWideCharFromBytes, kCodePageUtf8, utf8.data(), source_count,
                     out.mutable_data(), units);
    if (units <= 0) return Bytes();
    out.resize(static_cast<size_t>(units) * 2);
    return out;
}

Bytes Utf8BytesToGbk(const Bytes& utf8) {
    Bytes wide = Utf8BytesToUtf16(utf8);
    // The code page lacks the line and paragraph separators; as line feeds they still end a line, so
    // a script answer reads as the service's script engine would read it.
    uint8_t* units = wide.mutable_data();
    for (size_t i = 0; i + 1 < wide.size(); i += 2) {
        if (units[i + 1] == 0x20 && (units[i] == 0x28 || units[i] == 0x29)) {
            units[i] = '\n';
            units[i + 1] = 0;
        }
    }
    return utf16_to_gbk(wide, kCompositeCheck);
}

Bytes Utf16BytesToGbk(const Bytes& utf16) {
    return utf16_to_gbk(utf16, 0);
}

Bytes TextToUtf16(TextRef text, uint32_t code_page) {
    // -1: the terminating zero is converted too, so the result ends with a zero unit.
    int units = to_utf16(kMultiByteToWideCharFromText, code_page, text.c_str(), -1, nullptr, 0);
    if (units <= 0) return Bytes();
    Bytes out = Bytes::with_length(static_cast<size_t>(units) * 2);
    units = to_utf16(kMultiByteToWideCharFromText, code_page, text.c_str(), -1, out.mutable_data(), units);
    if (units <= 0) return Bytes();
    out.resize(static_cast<size_t>(units) * 2);
    return out;
}

Text Utf16ToText(const Bytes& utf16, uint32_t code_page) {
    // Counted up to the first zero unit inside the block: a block without one must not make
    // the conversion read past its end.
    const uint8_t* bytes = utf16.data();
    int units = 0;
    int available = static_cast<int>(utf16.size() / 2);
    while (units < available && (bytes[2 * units] || bytes[2 * units + 1]))
        ++units;
    if (!units) return Text();
    auto convert = [&](char* target, int capacity) {
        return call_declared<int>(kWideCharToMultiByteToText, code_page, 0u, bytes, units, target, capacity,
                                  kNoDefaultChar, kNoUsedDefault);
    };
    int length = convert(nullptr, 0);
    if (length <= 0) return Text();
    Text out = Text::with_length(static_cast<size_t>(length));
    length = convert(out.data(), length);
    if (length <= 0) return Text();
    out.data()[length] = '\0';
    return out;
}

Text Utf8TextToGbk(TextRef text) {
    return Utf16ToText(TextToUtf16(text, kCodePageUtf8), kCodePageGbk);
}

Text GbkTextToUtf8(TextRef text) {
    return Utf16ToText(TextToUtf16(text, kCodePageGbk), kCodePageUtf8);
}

} // namespace brindor
