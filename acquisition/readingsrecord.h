// The current readings: one display text per field, written a whole sensor group at a time.
#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

enum class SensorGroup { Humidity, Temperature, BarometerDewpoint, Rain, Wind };

// Values for the gauges, always in English units.
struct GaugeValues
{
    std::optional<double> seaLevelInHg;  // unrounded
    std::optional<double> outdoorTempF;  // formatted "000.0", as a number
    std::optional<double> gustMph;       // formatted "000.0", as a number
    std::optional<double> gustDirection; // whole degrees
};

// Field names are those of the readings tables (OutdoorTemperature, HeatIndex, ...). The
// main window also shows texts made from a field: "GustDirectionWord" and
// "AverageDirectionWord" (compass words), "WindChillWhole" (the wind chill as a whole
// number), and "GustSpeedCaption", "SeaLevelPressureCaption" and
// "OutdoorTemperatureCaption" (the reading followed by its unit, under the gauges).
class ReadingsRecord : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The text of a field; empty when no frame has filled it yet.
    QString text(const QString &field) const { return m_texts.value(field); }
    bool has(const QString &field) const { return m_texts.contains(field); }
    const QHash<QString, QString> &texts() const { return m_texts; }
    const GaugeValues &gauges() const { return m_gauges; }

    // Writes the texts of one decoded group at once; fields not in `texts` keep their
    // previous text (a field that failed to decode is not updated). Gauge values that
    // are set in `gauges` replace the previous ones.
    void applyGroup(SensorGroup group, const QHash<QString, QString> &texts,
                    const GaugeValues &gauges = {});

    // The same for texts in a list, as the decoders produce them (no hash built twice).
    void applyTexts(SensorGroup group, const QList<std::pair<QString, QString>> &texts,
                    const GaugeValues &gauges = {});

    // Sets one field outside a frame (reading a `Field=Text` file); emits no group signal.
    void setText(const QString &field, const QString &text) { m_texts.insert(field, text); }

    // Every field name, in the order of the readings tables, group by group.
    static const QStringList &fieldNames();
    // The field a readings file of an earlier version meant by `name` ("Wx.Text14" was
    // GustDirectionWord); `name` itself when it was never renamed.
    static QString currentFieldName(const QString &name);

signals:
    void groupChanged(SensorGroup group);

private:
    void applyGauges(const GaugeValues &gauges);

    QHash<QString, QString> m_texts;
    GaugeValues m_gauges;
};
