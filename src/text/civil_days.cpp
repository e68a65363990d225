#include "text/civil_days.h"

namespace brindor {

// Years counted from March, so that February's end is the year's end; eras of 400 years repeat.
int64_t DaysFromCivil(int64_t year, int month, int day) {
    year -= month <= 2;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t year_of_era = year - era * 400;
    const int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
    return era * 146097 + day_of_era - 719468;
}

CivilDate CivilFromDays(int64_t days) {
    const int64_t shifted = days + 719468;
    const int64_t era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const int64_t of_era = shifted - era * 146097;
    const int64_t year_of_era = (of_era - of_era / 1460 + of_era / 36524 - of_era / 146096) / 365;
    const int64_t day_of_year = of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const int64_t month_index = (5 * day_of_year + 2) / 153;
    const int month = static_cast<int>(month_index < 10 ? month_index + 3 : month_index - 9);
    return {static_cast<int>(year_of_era + era * 400 + (month <= 2 ? 1 : 0)), month,
            static_cast<int>(day_of_year - (153 * month_index + 2) / 5 + 1)};
}

} // namespace brindor
