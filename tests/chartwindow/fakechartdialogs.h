// Chart window questions answered at once from lists; every question and message is kept.
#pragma once

#include "ui/chartdialogs.h"

#include <QColor>
#include <QList>
#include <QPrinter>
#include <QStringList>

struct FakeChartDialogs final : ChartDialogs
{
    QStringList files;    // answers to the file dialog; an empty one cancels
    QList<bool> yesNo;    // answers to Yes/No questions; No when none is left
    QStringList answers;  // answers to input boxes; empty when none is left
    QStringList asked;    // questions and messages in the order they came
    QStringList paths;    // answers to the open and save dialogs; empty when none is left
    QList<QColor> colors; // answers to the colour dialog; invalid (cancel) when none is left
    QString pdf;          // the print dialog prints to this PDF file; cancelled when empty
    int resolution = 96;  // of the PDF printer, dots an inch
    bool printCancelled = false;

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
    void askTextTitled(QWidget *, const QString &title, const QString &prompt,
                       const QString &preset,
                       std::function<void(const QString &)> answered) override
    {
        asked << title + QStringLiteral(": ") + prompt + QStringLiteral(" [") + preset +
                     QLatin1Char(']');
        answered(answers.isEmpty() ? QString() : answers.takeFirst());
    }
    void tell(QWidget *, const QString &message) override { asked << message; }
    void chooseFile(QWidget *, bool save, const QString &filter, const QString &suffix,
                    std::function<void(const QString &)> chosen) override
    {
        asked << QStringLiteral("%1 file [%2] [%3]")
                     .arg(save ? QStringLiteral("save") : QStringLiteral("open"), filter, suffix);
        chosen(paths.isEmpty() ? QString() : paths.takeFirst());
    }
    void chooseColor(QWidget *, const QColor &, std::function<void(const QColor &)> chosen) override
    {
        chosen(colors.isEmpty() ? QColor() : colors.takeFirst());
    }
    // What a user does who picks "Print to File (PDF)": the page at 96 pixels an inch, so
    // that a picture of it at 96 dpi has a pixel for each printer pixel.
    void choosePrinter(QWidget *, QPrinter *printer, std::function<void(bool)> answered) override
    {
        asked << QStringLiteral("print");
        if (!pdf.isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            printer->setResolution(resolution);
            printer->setFullPage(true);
        }
        answered(!printCancelled && !pdf.isEmpty());
    }
};
