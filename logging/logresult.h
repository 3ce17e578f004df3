// The outcome of one logging step: done, or why not.
#pragma once

#include <QString>

struct LogResult
{
    QString error; // empty when the step succeeded

    bool ok() const { return error.isEmpty(); }
    static LogResult success() { return {}; }
    static LogResult failure(const QString &why)
    {
        return {why.isEmpty() ? QStringLiteral("unknown error") : why};
    }
};
