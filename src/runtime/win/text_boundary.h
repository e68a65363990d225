// Conversions at the boundary to Windows: the program's GBK texts to and from UTF-16.
#pragma once
#include <string>

#include "runtime/core/file_name.h"
#include "runtime/core/text.h"

namespace brindor {

constexpr unsigned kProgramCodePage = 936;

std::wstring to_wide(const char* gbk);
Text from_wide(const wchar_t* wide, int length = -1);

// File names cross as they are: wchar_t is UTF-16 on Windows.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
inline const wchar_t* wide_units(const FileName& name) {
    return reinterpret_cast<const wchar_t*>(name.units());
}
inline FileName file_name_of(const wchar_t* wide, size_t length) {
    return FileName(reinterpret_cast<const char16_t*>(wide), length);
}

} // namespace brindor
