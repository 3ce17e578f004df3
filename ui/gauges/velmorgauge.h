// The wind vane for the gust direction in degrees.
#pragma once

#include "ui/gauges/brassgauge.h"

// Stands in for the main window's Velmor: a compass card with N, E, S and W and an
// arrow pointing to the direction the wind blows from.
class VelmorGauge : public BrassGauge
{
    Q_OBJECT
public:
    explicit VelmorGauge(QWidget *parent = nullptr);

    // The arrow in degrees clockwise from north, 0 up to but not including 360.
    double needleAngle() const;

protected:
    void paintScale(QPainter &p) override;
    void paintIndicator(QPainter &p) override;
};
