// The gauge panel. The dials always show English units; the panel is offered in English only.
#include "ui/gaugepanel.h"

#include "acquisition/readingsrecord.h"
#include "gauge/quillon1.h"
#include "ui/gauges/ferrickgauge.h"
#include "ui/gauges/tamselgauge.h"
#include "ui/gauges/velmorgauge.h"

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
    {"Ferrick1", "Text22", "OutdoorTemperatureCaption"},
    {"Tamsel1", "Text15", "GustSpeedCaption"},
    {"Velmor", "Text14", "GustDirectionWord"},
    {"Quillon1", "Text21", "SeaLevelPressureCaption"},
};

} // namespace

GaugePanel::GaugePanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("GaugePanel"));
    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    m_ferrick = new FerrickGauge(this);
    m_tamsel = new TamselGauge(this);
    m_velmor = new VelmorGauge(this);
    m_quillon = new Quillon1(this);
    const QList<QWidget *> gauges = {m_ferrick, m_tamsel, m_velmor, m_quillon};
    // Big enough to read the scales; the dials keep square as the panel grows.
    const int side = fontMetrics().height() * 9;
    int column = 0;
    for (const GaugeColumn &c : gaugeColumns) {
        QWidget *gauge = gauges.at(column);
        gauge->setObjectName(QString::fromLatin1(c.gauge));
        gauge->setMinimumSize(side, side);
        gauge->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        grid->addWidget(gauge, 0, column);
        auto *caption =
            new ReadingBox(QString::fromLatin1(c.captionBox), QString::fromLatin1(c.field), this);
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
    // Only a new value moves a dial; a gauge whose group has not arrived keeps its rest.
    if (values.outdoorTempF && m_ferrick->Value() != *values.outdoorTempF)
        m_ferrick->setValue(*values.outdoorTempF);
    if (values.gustMph && m_tamsel->Value() != *values.gustMph) {
        m_tamsel->setValue(*values.gustMph);
        m_tamsel->Redraw();
    }
    if (values.gustDirection && m_velmor->Value() != *values.gustDirection) {
        m_velmor->setValue(*values.gustDirection);
        m_velmor->Redraw();
    }
    if (values.seaLevelInHg && m_quillon->BaroPressure() != QVariant(*values.seaLevelInHg))
        m_quillon->setBaroPressure(*values.seaLevelInHg);
}
