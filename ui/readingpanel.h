// A panel of titled reading sections built from a layout table.
#pragma once

#include "ui/readingbox.h"
#include "ui/readinglayouts.h"

#include <QWidget>

class QGridLayout;

class ReadingPanel : public QWidget
{
    Q_OBJECT
public:
    explicit ReadingPanel(const ReadingLayout &layout, QWidget *parent = nullptr);

    // Copies the current texts of every bound field into its box.
    void showReadings(const ReadingsRecord &record) const { m_texts.show(record); }

private:
    QWidget *buildSection(const ReadingSection &section);
    void addRow(QGridLayout *grid, int line, const ReadingRow &row);

    BoundTexts m_texts;
    int m_captionWidth = 0;
    int m_unitWidth = 0;
};
