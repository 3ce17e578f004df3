// Builds group boxes of caption, value box, unit label and, for highs and lows, the time
// and date boxes, from a layout table.
#include "ui/readingpanel.h"

#include "config/unitcaptions.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include <algorithm>

namespace {

enum Column { CaptionColumn, ValueColumn, UnitColumn, TimeColumn, DateColumn, SpareColumn };

} // namespace

ReadingPanel::ReadingPanel(const ReadingLayout &layout, QWidget *parent) : QWidget(parent)
{
    // Shared column widths line the sections of a window up with each other.
    const QFontMetrics fm = fontMetrics();
    for (const ReadingSection &section : layout.sections) {
        for (const ReadingRow &row : section.rows) {
            m_captionWidth = qMax(m_captionWidth, fm.horizontalAdvance(row.caption));
            QStringList units{row.unit};
            if (!row.unitLabel.isEmpty())
                units << unitCaption(layout.name, row.unitLabel, 0)
                      << unitCaption(layout.name, row.unitLabel, 1);
            for (const QString &unit : std::as_const(units))
                m_unitWidth = qMax(m_unitWidth, fm.horizontalAdvance(unit));
        }
    }

    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    QList<QVBoxLayout *> stacks;
    QList<QWidget *> lastOfColumn;
    for (const ReadingSection &section : layout.sections) {
        while (stacks.size() <= section.column) {
            stacks.append(new QVBoxLayout);
            lastOfColumn.append(nullptr);
            columns->addLayout(stacks.last(), 1);
        }
        QWidget *box = buildSection(section);
        stacks[section.column]->addWidget(box);
        lastOfColumn[section.column] = box;
    }
    // The last section of a shorter column grows, so that the columns end level.
    for (int i = 0; i < stacks.size(); ++i) {
        if (lastOfColumn.at(i))
            stacks.at(i)->setStretchFactor(lastOfColumn.at(i), 1);
    }
    m_texts.bind(this, bindingsOf(layout));
}

QWidget *ReadingPanel::buildSection(const ReadingSection &section)
{
    auto *box = new QGroupBox(section.title, this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    grid->setColumnMinimumWidth(CaptionColumn, m_captionWidth);
    grid->setColumnMinimumWidth(UnitColumn, m_unitWidth);
    int line = 0;
    const auto any = [&section](QString ReadingRow::*box) {
        return std::any_of(section.rows.cbegin(), section.rows.cend(),
                           [box](const ReadingRow &r) { return !(r.*box).isEmpty(); });
    };
    if (any(&ReadingRow::timeBox) || any(&ReadingRow::dateBox)) {
        if (any(&ReadingRow::timeBox))
            grid->addWidget(new QLabel(tr("Time"), box), line, TimeColumn, Qt::AlignHCenter);
        if (any(&ReadingRow::dateBox))
            grid->addWidget(new QLabel(tr("Date"), box), line, DateColumn, Qt::AlignHCenter);
        ++line;
    }
    for (const ReadingRow &row : section.rows)
        addRow(grid, line++, row);
    // Boxes keep the size of their longest text; extra room goes right and down.
    grid->setColumnStretch(SpareColumn, 1);
    grid->setRowStretch(line, 1);
    return box;
}

void ReadingPanel::addRow(QGridLayout *grid, int line, const ReadingRow &row)
{
    auto *parent = grid->parentWidget();
    auto *value = new ReadingBox(row.box, row.field, parent);
    auto *caption = new QLabel(row.caption, parent);
    caption->setBuddy(value);
    grid->addWidget(caption, line, CaptionColumn);
    grid->addWidget(value, line, ValueColumn);
    if (!row.unit.isEmpty() || !row.unitLabel.isEmpty()) {
        auto *unit = new QLabel(row.unit, parent);
        if (!row.unitLabel.isEmpty())
            unit->setObjectName(row.unitLabel);
        grid->addWidget(unit, line, UnitColumn);
    }
    if (!row.timeBox.isEmpty()) {
        auto *time = new ReadingBox(row.timeBox, row.timeField, parent);
        time->setToolTip(tr("Time"));
        grid->addWidget(time, line, TimeColumn);
    }
    if (!row.dateBox.isEmpty()) {
        auto *date = new ReadingBox(row.dateBox, row.dateField, parent);
        date->setToolTip(tr("Date"));
        grid->addWidget(date, line, DateColumn);
    }
}
