// The speed dial for the gust speed, 0 to 100 miles per hour.
#pragma once

#include "ui/gauges/brassgauge.h"

// Stands in for the main window's Tamsel1. The scale runs clockwise over 270 degrees,
// 0 mph at the lower left, 50 at the top, 100 at the lower right; speeds beyond the
// scale rest the needle on its stops.
class TamselGauge : public BrassGauge
{
    Q_OBJECT
public:
    static constexpr double Maximum = 100.0;

    explicit TamselGauge(QWidget *parent = nullptr);

    // The needle in degrees clockwise from the top: -135 at 0 mph, +135 at 100.
    double needleAngle() const;

protected:
    void paintScale(QPainter &p) override;
    void paintIndicator(QPainter &p) override;
};
