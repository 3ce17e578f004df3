// Artwork of the barometer dial, drawn in twips on the 1500 x 1500 design surface.
#pragma once

#include <QColor>
#include <QRectF>

class QPainter;

namespace quillon {

// The dial centre: the point the hand turns about.
constexpr double CentreX = 740.0;
constexpr double CentreY = 740.0;

// Compass angle (degrees clockwise from the top) of a pressure on the scale,
// the same piecewise scale that turns the hand.
double scaleAngle(double inHg);

// Bezel, face, graduation, numbers and weather words: everything that never moves.
void paintDialFace(QPainter &p);
// Line1 as a slender needle: full width at the fixed end, tapering to a point.
void paintHand(QPainter &p, const QPointF &fixedEnd, const QPointF &freeEnd, double width,
               const QColor &red);
// The red hub over the hand's root.
void paintHub(QPainter &p, const QRectF &rect, const QColor &red);
// A faint reflection of the cover glass, drawn last.
void paintGlass(QPainter &p);

} // namespace quillon
