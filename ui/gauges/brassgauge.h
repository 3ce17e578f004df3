// The common body of the main window's round gauges: brass bezel, cream face, glass.
#pragma once

#include <QPixmap>
#include <QWidget>

class QPainter;

// A gauge draws in dial units: origin at the centre, y downwards, the bezel's rim at
// radius 500. The face with its scale is drawn once per size and kept; the indicator
// is drawn over it on every paint.
class BrassGauge : public QWidget
{
    Q_OBJECT
    // The one number a gauge is given; each gauge says its unit.
    Q_PROPERTY(double Value READ Value WRITE setValue)
public:
    static constexpr double Radius = 500.0;
    static constexpr double FaceRadius = 438.0;

    explicit BrassGauge(QWidget *parent = nullptr);

    double Value() const { return m_value; }
    // Stores the value and redraws.
    void setValue(double value);
    // The no-argument update method of the gauge controls.
    void Redraw();

    // Dial units to widget pixels: the dial is kept square and centred.
    QTransform dialToWidget() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    // The gauge's own markings on the face; drawn into the kept picture.
    virtual void paintScale(QPainter &p) = 0;
    // What the value moves; drawn under the glass on every paint.
    virtual void paintIndicator(QPainter &p) = 0;

    void paintEvent(QPaintEvent *event) override;

    // A point at a compass angle (degrees clockwise from the top) and radius.
    static QPointF polar(double compassDeg, double radius);
    static QFont serifFont(double pixelSize, int weight = 400);
    // `text` centred on `centre`, by its cap height vertically.
    static void drawCentredText(QPainter &p, const QString &text, const QPointF &centre);
    // A tapered needle from `tail` behind the centre to `length` at a compass angle.
    static void paintNeedle(QPainter &p, double compassDeg, double length, double tail,
                            double width, const QColor &colour);
    static void paintHub(QPainter &p, double radius, const QColor &colour);

    static const QColor Ink;
    static const QColor IndicatorRed;

private:
    void paintBody(QPainter &p);
    void paintGlass(QPainter &p);

    QPixmap m_faceCache;
    double m_value = 0.0;
};
