// One of the six detail windows (Humidity, Temperature, Barometer, Dewpoint, Rain, Wind).
#pragma once

#include "ui/readinglayouts.h"

#include <QWidget>

class ReadingPanel;
class ReadingsRecord;

// Shows the current readings of its group from the record, whether visible or not.
// Closing it by its frame only hides it: the record is the store, so showing it again
// brings back the current readings and captions.
class DetailWindow : public QWidget
{
    Q_OBJECT
public:
    DetailWindow(const ReadingLayout &layout, const ReadingsRecord &record,
                 QWidget *parent = nullptr);

    // Shows the window, or brings it up when it is already shown.
    void showAndRaise();

private:
    void showReadings();

    const ReadingsRecord &m_record;
    ReadingPanel *m_panel;
};
