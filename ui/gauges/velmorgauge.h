// The wind vane for the gust direction in degrees.
#pragma once

#include "ui/gauges/brassgauge.h"

// Stands in for the main window's Velmor: a compass card with N, E, S and W and an
// arrow pointing to the direction the wind blows from.
class VelmorGauge : public BrassGauge
{
    Q_OBJECT
    Q_PROPERTY(double Value READ Value WRITE setValue)
public:
    explicit VelmorGauge(QWidget *parent = nullptr);

    double Value() const { return m_value; }
    // Stores the direction in degrees (any number; it wraps) and redraws.
    void setValue(double value);
    void Redraw();

    // The arrow in degrees clockwise from north, 0 up to but not including 360.
    double needleAngle() const;

protected:
    void paintScale(QPainter &p) override;
    void paintIndicator(QPainter &p) override;

private:
    double m_value = 0.0;
};
