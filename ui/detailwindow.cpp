// Detail windows: a reading panel in a window of its own, following the record.
#include "ui/detailwindow.h"

#include "acquisition/readingsrecord.h"
#include "ui/readingpanel.h"

#include <QVBoxLayout>

DetailWindow::DetailWindow(const ReadingLayout &layout, const ReadingsRecord &record,
                           QWidget *parent)
    : QWidget(parent, Qt::Window), m_record(record), m_panel(new ReadingPanel(layout, this))
{
    setObjectName(layout.name);
    setWindowTitle(layout.title);
    auto *box = new QVBoxLayout(this);
    box->addWidget(m_panel);
    box->setSizeConstraint(QLayout::SetMinimumSize);
    connect(&record, &ReadingsRecord::groupChanged, this, &DetailWindow::showReadings);
    showReadings();
}

void DetailWindow::showAndRaise()
{
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void DetailWindow::showReadings()
{
    m_panel->showReadings(m_record);
}
