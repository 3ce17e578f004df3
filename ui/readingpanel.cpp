// Builds group boxes of caption, value box, unit label and, for highs and lows, the time
// and date boxes, from a layout table.
#include "ui/readingpanel.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

namespace {

enum Column { CaptionColumn, ValueColumn, UnitColumn, TimeColumn, DateColumn };

} // namespace

ReadingPanel::ReadingPanel(const ReadingLayout &layout, QWidget *parent) : QWidget(parent)
{
    auto *columns = new QHBoxLayout(this);
    columns->setContentsMargins(0, 0, 0, 0);
    QList<QVBoxLayout *> stacks;
    for (const ReadingSection &section : layout.sections) {
        while (stacks.size() <= section.column) {
            stacks.append(new QVBoxLayout);
            columns->addLayout(stacks.last(), 1);
        }
        stacks[section.column]->addWidget(buildSection(section));
    }
    // Columns of unequal height keep their sections at the top.
    for (QVBoxLayout *stack : std::as_const(stacks))
        stack->addStretch(1);
    m_texts.bind(this, bindingsOf(layout));
}

QWidget *ReadingPanel::buildSection(const ReadingSection &section)
{
    auto *box = new QGroupBox(section.title, this);
    auto *grid = new QGridLayout(box);
    grid->setHorizontalSpacing(6);
    for (int i = 0; i < section.rows.size(); ++i)
        addRow(grid, i, section.rows.at(i));
    grid->setColumnStretch(ValueColumn, 1);
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
