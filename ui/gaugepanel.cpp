// The gauge panel. The dials always show English units; the panel is offered in English only.
#include "ui/gaugepanel.h"

#include "acquisition/readingsrecord.h"

#include <QGridLayout>

namespace {

struct GaugeColumn
{
    const char *gauge;      // objectName of the dial
    const char *captionBox; // objectName of the box under it
    const char *field;
};

// Left to right: temperature, gust speed, gust direction, sea-level pressure.
const GaugeColumn gaugeColumns[] = {
    {"Ferrick1", "Text22", "Wx.Text22"},
    {"Tamsel1", "Text15", "Wx.Text15"},
    {"Velmor", "Text14", "Wx.Text14"},
    {"Quillon1", "Text21", "Wx.Text21"},
};

} // namespace

GaugePanel::GaugePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("GaugePanel"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    int column = 0;
    for (const GaugeColumn &c : gaugeColumns) {
        auto *caption = new ReadingBox(QString::fromLatin1(c.captionBox),
                                       QString::fromLatin1(c.field), this);
        grid->addWidget(caption, 1, column, Qt::AlignHCenter);
        grid->setColumnStretch(column, 1);
        ++column;
    }
    m_captions.bind(this, captionBindings());
}

const QList<TextBinding> &GaugePanel::captionBindings()
{
    static const QList<TextBinding> bindings = [] {
        QList<TextBinding> b;
        for (const GaugeColumn &c : gaugeColumns)
            b.append({QString::fromLatin1(c.captionBox), QString::fromLatin1(c.field)});
        return b;
    }();
    return bindings;
}

void GaugePanel::showReadings(const ReadingsRecord &record)
{
    m_captions.show(record);
    showGauges(record.gauges());
}

void GaugePanel::showGauges(const GaugeValues &values)
{
    Q_UNUSED(values)
}
