// "Select Series To Add": the table's fields, one of which the chart window adds as a series.
#pragma once

#include <QWidget>

class QListWidget;

class SelectSeries : public QWidget
{
    Q_OBJECT
public:
    explicit SelectSeries(QWidget *parent = nullptr);

    void setFields(const QStringList &fields);
    void clearFields();
    QListWidget *fieldList() const { return m_list; }

signals:
    // "OK" or a double click on a field, with the field selected.
    void fieldChosen(const QString &field);

private:
    void choose();

    QListWidget *m_list;
};
