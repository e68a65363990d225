// Slow, literal versions of the double-byte aware text operations, written straight from their
// rules on std::string, to check the real ones against (unit tests and the fuzz target).
#pragma once
#include <string>
#include <vector>

namespace reference {

inline bool lead(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}
inline char fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

inline bool matches_at(const std::string& text, size_t p, const std::string& sought, bool ignore_case) {
    if (text.size() - p < sought.size()) return false;
    for (size_t i = 0; i < sought.size(); ++i) {
        char a = text[p + i], b = sought[i];
        if (ignore_case ? fold(a) != fold(b) : a != b) return false;
    }
    return true;
}

inline int find(const std::string& text, const std::string& sought, int start, bool ignore_case) {
    size_t p = start < 1 ? 0 : static_cast<size_t>(start) - 1;
    if (p >= text.size()) return -1;
    if (sought.empty()) return 1;
    for (; p < text.size(); p += lead(text[p]) ? 2 : 1)
        if (matches_at(text, p, sought, ignore_case)) return static_cast<int>(p) + 1;
    return -1;
}

inline int find_reverse(const std::string& text, const std::string& sought, int start, bool ignore_case) {
    size_t range = start < 1 ? 0 : static_cast<size_t>(start) - 1;
    if (range > text.size()) range = text.size();
    std::string inside = text.substr(0, range);
    if (inside.empty()) return -1;
    if (sought.empty()) return 1;
    int last = -1;
    for (size_t p = 0; p < inside.size(); p += lead(inside[p]) ? 2 : 1)
        if (matches_at(inside, p, sought, ignore_case)) last = static_cast<int>(p) + 1;
    return last;
}

inline std::vector<std::string> split(const std::string& text, const std::string& delimiter, int maximum) {
    std::vector<std::string> out;
    if (text.empty() || maximum <= 0) return out;
    if (delimiter.empty()) return {text};
    size_t cut = 0;
    for (size_t p = 0; p < text.size();) {
        if (matches_at(text, p, delimiter, false)) {
            out.push_back(text.substr(cut, p - cut));
            p = cut = p + delimiter.size();
            if (static_cast<int>(out.size()) >= maximum) return out;
        } else {
            p += lead(text[p]) ? 2 : 1;
        }
    }
    if (cut < text.size()) out.push_back(text.substr(cut));
    return out;
}

inline std::string replace(const std::string& text, const std::string& sought, const std::string& replacement,
                           int start, int count, bool case_sensitive) {
    size_t p = start < 1 ? 0 : static_cast<size_t>(start) - 1;
    if (text.empty() || sought.empty() || p >= text.size() || count == 0) return text;
    std::string out = text.substr(0, p);
    bool replacing = true;
    while (p < text.size()) {
        if (replacing && matches_at(text, p, sought, !case_sensitive)) {
            out += replacement;
            p += sought.size();
            if (count > 0 && --count == 0) replacing = false;
        } else {
            size_t width = lead(text[p]) && p + 1 < text.size() ? 2 : 1;
            out += text.substr(p, width);
            p += width;
        }
    }
    return out;
}

inline std::string trim(const std::string& text) {
    // Characters first, then whole characters dropped from both ends.
    std::vector<std::string> chars;
    for (size_t p = 0; p < text.size();) {
        if (lead(text[p]) && p + 1 == text.size()) break; // a lone lead byte at the end
        size_t width = lead(text[p]) ? 2 : 1;
        chars.push_back(text.substr(p, width));
        p += width;
    }
    auto space = [](const std::string& c) { return c == " " || c == "\xA1\xA1"; };
    size_t b = 0, e = chars.size();
    while (b < e && space(chars[b]))
        ++b;
    while (e > b && space(chars[e - 1]))
        --e;
    std::string out;
    for (size_t i = b; i < e; ++i)
        out += chars[i];
    return out;
}

} // namespace reference
