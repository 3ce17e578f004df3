// The reading panels of the main and detail windows: which box shows which record field,
// with its caption and unit label, laid out in titled sections.
#pragma once

#include <QList>
#include <QString>

// One line of a reading panel: a caption, the value box with its unit label, and for the
// highs and lows the boxes with the time and date of the record.
struct ReadingRow
{
    QString caption;
    QString box;       // objectName of the text box, "Text10"
    QString field;     // readings record field, "OutdoorTemperature"
    QString unitLabel; // objectName of the unit label; empty for an unnamed one
    QString unit;      // the label's design text (the switched ones are set by ApplyUnitCaptions)
    QString timeBox = {};
    QString timeField = {};
    QString dateBox = {};
    QString dateField = {};
};

struct ReadingSection
{
    QString title; // group box title
    QList<ReadingRow> rows;
    int column = 0; // sections of one column are stacked top to bottom
};

// One window's panel; `name` is the window's objectName ("Wx", "Humidity", ...).
struct ReadingLayout
{
    QString name;
    QString title;          // window title of a detail window
    QString menuObjectName; // the "Extended Data" item that shows it
    QString menuCaption;
    QList<ReadingSection> sections;
};

// objectName of a text box and the record field it shows.
struct TextBinding
{
    QString box;
    QString field;
};

// The reading panel of the main window (Wind, Temperature, Pressure, Rain).
const ReadingLayout &wxReadingLayout();
// The six detail windows, in the order of the "Extended Data" menu.
const QList<ReadingLayout> &detailLayouts();
// Every box of a layout with its field, value, time and date boxes alike.
QList<TextBinding> bindingsOf(const ReadingLayout &layout);
