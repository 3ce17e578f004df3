// Chart window questions answered at once from lists; every question and message is kept.
#pragma once

#include "ui/chartdialogs.h"

#include <QList>
#include <QStringList>

struct FakeChartDialogs final : ChartDialogs
{
    QStringList files;   // answers to the file dialog; an empty one cancels
    QList<bool> yesNo;   // answers to Yes/No questions; No when none is left
    QStringList answers; // answers to input boxes; empty when none is left
    QStringList asked;   // questions and messages in the order they came

    void chooseDatabase(QWidget *, const QString &,
                        std::function<void(const QString &)> chosen) override
    {
        chosen(files.isEmpty() ? QString() : files.takeFirst());
    }
    void askYesNo(QWidget *, const QString &question, std::function<void(bool)> answered) override
    {
        asked << question;
        answered(!yesNo.isEmpty() && yesNo.takeFirst());
    }
    void askText(QWidget *, const QString &prompt, const QString &preset,
                 std::function<void(const QString &)> answered) override
    {
        asked << prompt + QStringLiteral(" [") + preset + QLatin1Char(']');
        answered(answers.isEmpty() ? QString() : answers.takeFirst());
    }
    void tell(QWidget *, const QString &message) override { asked << message; }
};
