// The thermometer for the outdoor temperature, -20 to 120 degrees Fahrenheit.
#pragma once

#include "ui/gauges/brassgauge.h"

// Stands in for the main window's Ferrick1: a mercury column on a round dial.
// Temperatures beyond the scale stop the column at its ends.
class FerrickGauge : public BrassGauge
{
    Q_OBJECT
public:
    static constexpr double Minimum = -20.0;
    static constexpr double Maximum = 120.0;

    explicit FerrickGauge(QWidget *parent = nullptr);

    // How much of the scale the mercury fills: 0 at -20 F, 1 at 120 F.
    double mercuryFraction() const;
    // The top of the mercury column in widget pixels.
    double mercuryTopY() const;

protected:
    void paintScale(QPainter &p) override;
    void paintIndicator(QPainter &p) override;
};
