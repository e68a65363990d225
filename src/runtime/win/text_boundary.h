// Conversions at the boundary to Windows: the program's GBK texts to and from UTF-16.
#pragma once
#include <string>

#include "runtime/core/text.h"

namespace brindor {

constexpr unsigned kProgramCodePage = 936;

std::wstring to_wide(const char* gbk);
Text from_wide(const wchar_t* wide, int length = -1);

} // namespace brindor
