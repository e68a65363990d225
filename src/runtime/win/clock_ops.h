// The computer's local date and time.
#pragma once

namespace brindor {

struct LocalTime {
    int year, month, day, hour, minute, second;
};

LocalTime local_time();

} // namespace brindor
