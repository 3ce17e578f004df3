// Read-only text boxes that show readings, and the binding of boxes to record fields.
#pragma once

#include "ui/readinglayouts.h"

#include <QLineEdit>
#include <QList>
#include <QPointer>

class ReadingsRecord;

// A read-only box sized for the longest text its field takes, so that panels stay compact.
class ReadingBox : public QLineEdit
{
    Q_OBJECT
public:
    ReadingBox(const QString &objectName, const QString &field, QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    QString m_sample;
};

// Text boxes resolved once from a binding table; show() copies the record's texts into them.
class BoundTexts
{
public:
    // Looks every box of `bindings` up by objectName under `root`; missing boxes are skipped.
    void bind(QWidget *root, const QList<TextBinding> &bindings);
    void show(const ReadingsRecord &record) const;
    int size() const { return int(m_boxes.size()); }

private:
    struct Bound
    {
        QPointer<QLineEdit> box;
        QString field;
    };
    QList<Bound> m_boxes;
};
