// The driver's line protocol: UTF-8 lines in, UTF-8 lines out, tab-separated fields.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace driver {

using Args = std::vector<std::wstring>;

// A command that cannot be carried out; its message becomes the "error" answer.
struct Failure {
    std::wstring message;
};

struct Reply {
    std::vector<std::wstring> fields;
    Reply& add(const std::wstring& field);
    Reply& add(int64_t number);
    Reply& add_hex(uint32_t number);
};

std::wstring from_utf8(const std::string& bytes);
std::string to_utf8(const std::wstring& text);

// Backslash, tab, CR and LF are escaped so that any text fits in one field.
std::wstring escape_field(const std::wstring& text);
// Arguments accept the same escapes plus \b and \uXXXX, so control characters can be typed.
std::wstring unescape_field(const std::wstring& text);

// Splits on tabs and unescapes each field.
Args split_line(const std::wstring& line);

// Decimal or 0x-prefixed hexadecimal, the full 32 or 64 bits.
int64_t parse_number(const std::wstring& text);
std::wstring hex(uint32_t number);

// Reads one line from standard input without the line end; false at the end of input.
bool read_line(std::string& line);
void write_line(const std::string& line);

const std::wstring& arg(const Args& args, size_t index, const wchar_t* name);
int64_t number_arg(const Args& args, size_t index, const wchar_t* name, int64_t fallback);

} // namespace driver
