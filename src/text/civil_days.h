// Dates of the Gregorian calendar as days since 1970-01-01, and back: record ages, HTTP dates and
// cookie expiry all count in days.
#pragma once
#include <cstdint>

namespace brindor {

struct CivilDate {
    int year;
    int month; // 1 to 12
    int day;   // 1 to 31
};

int64_t DaysFromCivil(int64_t year, int month, int day);
CivilDate CivilFromDays(int64_t days);

} // namespace brindor
