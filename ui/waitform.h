// "Loading Data....Please Wait": shown while the chart reads, for at least a second so that
// it is painted before the reading starts.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class Clock;
class ClockTimer;

class WaitForm : public QWidget
{
    Q_OBJECT
public:
    explicit WaitForm(Clock &clock, QWidget *parent = nullptr);
    ~WaitForm() override;

    // Shows the window and runs `then` once its one-second timer has fired; work asked for
    // while a wait is on runs after the work before it, on the same firing.
    void runAfterWait(std::function<void()> then);

private:
    void timerFired();

    std::unique_ptr<ClockTimer> m_timer;
    std::vector<std::function<void()>> m_pending;
};
