// The barometer dial control: a round face with one red hand moved by BaroPressure.
#pragma once

#include "quillon_global.h"

#include <QFont>
#include <QPixmap>
#include <QPointF>
#include <QVariant>
#include <QWidget>

class QDataStream;

// Geometry is kept in twips on a 1500 x 1500 design surface (15 twips per pixel at
// the design size) and scaled to whatever square the widget is given.
//
// The appearance properties (BackColor .. BorderStyle, and our own Enabled and Font)
// are stored and persisted for the host only; they neither change the drawing nor
// touch QWidget's enabled state or font.
class QUILLON_EXPORT Quillon1 : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor NOTIFY BackColorChanged)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor NOTIFY ForeColorChanged)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabledValue NOTIFY EnabledChanged)
    Q_PROPERTY(QFont Font READ Font WRITE setFontValue NOTIFY FontChanged)
    Q_PROPERTY(qint16 BackStyle READ BackStyle WRITE setBackStyle NOTIFY BackStyleChanged)
    Q_PROPERTY(qint16 BorderStyle READ BorderStyle WRITE setBorderStyle NOTIFY BorderStyleChanged)
    Q_PROPERTY(
        QVariant BaroPressure READ BaroPressure WRITE setBaroPressure NOTIFY BaroPressureChanged)

public:
    static constexpr int DesignSize = 1500; // twips, both ways

    explicit Quillon1(QWidget *parent = nullptr);
    ~Quillon1() override;

    // Colours are 32-bit values in the host's 0x00BBGGRR form, kept exactly as written.
    quint32 BackColor() const { return m_backColor; }
    void setBackColor(quint32 value);
    quint32 ForeColor() const { return m_foreColor; }
    void setForeColor(quint32 value);
    bool Enabled() const { return m_enabled; }
    void setEnabledValue(bool value);
    QFont Font() const { return m_font; }
    void setFontValue(const QFont &value);
    qint16 BackStyle() const { return m_backStyle; }
    void setBackStyle(qint16 value);
    qint16 BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(qint16 value);
    QVariant BaroPressure() const { return m_baroPressure; }
    // Stores p, announces it, then turns the hand: 29 inHg at 210 degrees, 30 at the
    // top, 31 at 150. Exactly 30, 31.01 and above, or a non-number leave the hand.
    void setBaroPressure(const QVariant &value);

    // Points the hand at `SpeedCorrected` degrees clockwise from the top.
    Q_INVOKABLE void SetHand(double SpeedCorrected);
    // Kept for hosts that call it; the control redraws by itself.
    Q_INVOKABLE void Refresh();

    // Resets every property to its initial value (creation without saved data).
    void InitProperties();
    // The property bag: name/value pairs in the order BackColor, ForeColor, Enabled,
    // Font, BackStyle, BorderStyle, BaroPressure. Reading restores the values without
    // notifying and without moving the hand; a missing entry takes its default, a
    // damaged bag changes nothing and returns false.
    void WriteProperties(QDataStream &out) const;
    bool ReadProperties(QDataStream &in);

    // The hand Line1 in twips: the fixed end and the free end set by SetHand.
    QPointF handFixedEnd() const;
    QPointF handFreeEnd() const;
    // The widget-pixel transform of the design surface (square, centred).
    QTransform twipsToWidget() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void propertyChanged(const QString &name);
    void BackColorChanged();
    void ForeColorChanged();
    void EnabledChanged();
    void FontChanged();
    void BackStyleChanged();
    void BorderStyleChanged();
    void BaroPressureChanged();

    // Declared for hosts that connect to them; the control never raises them.
    void Click();
    void DblClick();
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QFont ambientFont() const;
    void announce(const char *name, void (Quillon1::*notify)());

    quint32 m_backColor = 0;
    quint32 m_foreColor = 0;
    bool m_enabled = false;
    QFont m_font;
    qint16 m_backStyle = 0;
    qint16 m_borderStyle = 0;
    QVariant m_baroPressure;

    // Line1's free end, single precision like the design's line coordinates.
    float m_handX2 = 300.0f;
    float m_handY2 = 760.0f;

    QPixmap m_faceCache; // the static dial face at the current size
};
