#include <windows.h>

#include "runtime/win/clock_ops.h"

namespace brindor {

LocalTime local_time() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

} // namespace brindor
