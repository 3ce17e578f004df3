// A job that does its work when started and finishes after a set time on the clock.
#pragma once

#include "core/clock.h"
#include "core/job.h"

#include <functional>
#include <memory>

class FakeJob final : public Job
{
public:
    // A negative duration never finishes on its own.
    FakeJob(Clock &clock, int durationMs, std::function<void()> work = {})
        : m_timer(clock.createTimer()), m_durationMs(durationMs), m_work(std::move(work))
    {
        m_timer->setSingleShot(true);
        connect(m_timer.get(), &ClockTimer::timeout, this, [this] { end(false); });
    }

    // Called when the run ends, finished or abandoned.
    std::function<void(bool abandoned)> onEnd;

protected:
    void run() override
    {
        if (m_work)
            m_work();
        if (m_durationMs == 0) {
            end(false);
        } else if (m_durationMs > 0) {
            m_timer->setInterval(m_durationMs);
            m_timer->start();
        }
    }
    void stopSteps() override
    {
        m_timer->stop();
        if (onEnd)
            onEnd(true);
    }

private:
    void end(bool abandoned)
    {
        if (onEnd)
            onEnd(abandoned);
        finish();
    }

    std::unique_ptr<ClockTimer> m_timer;
    int m_durationMs;
    std::function<void()> m_work;
};
