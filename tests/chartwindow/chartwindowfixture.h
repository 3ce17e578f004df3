// A chart window with its fake dialogs, and month files made for it.
#pragma once

#include "chartwindow/fakechartdialogs.h"
#include "fakes/manualclock.h"
#include "logging/sqlitefile.h"
#include "ui/chartmain.h"

#include <QComboBox>
#include <QListWidget>
#include <QTemporaryDir>

// Tables "A" and "B" (the second, which the window chooses), both with `columns`; B gets
// the rows.
inline QString makeFile(const QTemporaryDir &dir, const QString &name, const QString &columns,
                        const QStringList &rows = {})
{
    const QString path = dir.filePath(name);
    SqliteFile db;
    if (!db.open(path, SqliteFile::Mode::Create).ok())
        return {};
    QStringList sql = {QStringLiteral("CREATE TABLE A (%1)").arg(columns),
                       QStringLiteral("CREATE TABLE B (%1)").arg(columns)};
    for (const QString &r : rows)
        sql << QStringLiteral("INSERT INTO B VALUES (%1)").arg(r);
    for (const QString &s : sql) {
        if (!db.exec(s).ok())
            return {};
    }
    return path;
}

struct Window
{
    ManualClock clock;
    FakeChartDialogs dialogs;
    ChartMain chart{clock, dialogs};

    // A control of the window itself; SelectSeries has a "Command2" too.
    template <typename W> W *find(const char *name) const
    {
        return chart.centralWidget()->findChild<W *>(QString::fromLatin1(name));
    }
    QStringList items(const char *combo) const
    {
        QStringList out;
        auto *c = find<QComboBox>(combo);
        for (int i = 0; i < c->count(); ++i)
            out << c->itemText(i);
        return out;
    }
    QStringList series(const char *list) const
    {
        QStringList out;
        auto *l = find<QListWidget>(list);
        for (int i = 0; i < l->count(); ++i)
            out << l->item(i)->text();
        return out;
    }
    void open(const QString &path)
    {
        dialogs.files << path;
        chart.action("m_sr")->trigger();
    }
    // A choice in a drop-down list, as the user makes it.
    void choose(const char *combo, const QString &text)
    {
        auto *c = find<QComboBox>(combo);
        c->setCurrentIndex(c->findText(text));
        emit c->activated(c->currentIndex());
        emit c->textActivated(text);
    }
    void waitShown() { clock.advanceMs(1000); }
};
