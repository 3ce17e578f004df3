// The once-flags of the pager rows.
#pragma once

#include <array>

// The pager checks set a row's flag before its page is sent, so a page is attempted once
// per flag period; the quarter-hour reset that the scheduler asks for clears them all.
struct PagerFlags
{
    std::array<bool, 5> HourlyPageSent{};
    std::array<bool, 5> DailyPageSent{};
    std::array<bool, 5> AlarmPageSent{};

    void clear() { *this = PagerFlags{}; }
};
