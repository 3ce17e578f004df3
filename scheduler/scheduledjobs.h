// What the scheduler runs: the jobs of the publishing, paging and graph subsystems.
#pragma once

#include <array>

// Once-flags of the pager rows. The pager checks set them before a page is sent;
// the scheduler clears all of them every quarter hour.
struct PagerFlags
{
    std::array<bool, 5> HourlyPageSent{};
    std::array<bool, 5> DailyPageSent{};
    std::array<bool, 5> AlarmPageSent{};

    void clear() { *this = PagerFlags{}; }
};

// The jobs are plugged in by the subsystems that own them; a job that is not
// plugged in yet is simply not run.
class ScheduledJobs
{
public:
    virtual ~ScheduledJobs() = default;
    virtual void PublishWebPages() = 0;
    virtual void CheckPagers() = 0;
    virtual void GenerateDailyGraphs() = 0;
};
