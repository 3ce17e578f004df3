// A piece of unattended work that runs as a sequence of steps on the clock's timers and I/O
// signals.
#pragma once

#include <QObject>
#include <functional>
#include <memory>

// A job never waits inside a step: a step that must wait arms a timer or listens for
// a signal, and the next step runs from there. So nothing runs inside a job's step but
// the step itself, and the job's owner can abandon it between two steps.
class Job : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Runs the first step. finished() follows from a later step, or from this call when
    // the job has nothing to wait for. A running job is not started again.
    void start();
    // Stops the job's timers and I/O between two steps; finished() does not follow.
    void abandon();
    bool isRunning() const { return m_running; }

signals:
    void finished();

protected:
    virtual void run() = 0;
    virtual void stopSteps() = 0;
    // The last step calls this; it does nothing once the job was abandoned.
    void finish();

private:
    bool m_running = false;
};

// Makes a new run of a job; an empty factory, or one that returns null, runs nothing.
using JobFactory = std::function<std::unique_ptr<Job>()>;
