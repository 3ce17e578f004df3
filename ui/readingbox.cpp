// Reading boxes and their binding to the readings record.
#include "ui/readingbox.h"

#include "acquisition/readingsrecord.h"

#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// The widest text a field is expected to show.
QString sampleFor(const QString &field)
{
    if (field.endsWith(QLatin1String("Date")))
        return QStringLiteral("88-88-8888");
    if (field.endsWith(QLatin1String("Time")))
        return QStringLiteral("88:88");
    if (field == QLatin1String("PressureTrend") || field == QLatin1String("StationForecast"))
        return QStringLiteral("Partly Cloudy");
    // The main window's texts that add a unit or a word to a reading.
    if (field.endsWith(QLatin1String("Caption")) || field == QLatin1String("GustDirectionWord") ||
        field == QLatin1String("WindChillWhole"))
        return QStringLiteral("-888.8 Deg F");
    return QStringLiteral("-888.88");
}

} // namespace

ReadingBox::ReadingBox(const QString &objectName, const QString &field, QWidget *parent)
    : QLineEdit(parent), m_sample(sampleFor(field))
{
    setObjectName(objectName);
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
    setFocusPolicy(Qt::ClickFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

QSize ReadingBox::sizeHint() const
{
    ensurePolished();
    const QFontMetrics fm(font());
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QSize text(fm.horizontalAdvance(m_sample) + 2 * fm.averageCharWidth(), fm.height() + 4);
    return style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, this);
}

QSize ReadingBox::minimumSizeHint() const
{
    return sizeHint();
}

void BoundTexts::bind(QWidget *root, const QList<TextBinding> &bindings)
{
    for (const TextBinding &b : bindings) {
        if (auto *box = root->findChild<QLineEdit *>(b.box))
            m_boxes.append({box, b.field});
    }
}

void BoundTexts::show(const ReadingsRecord &record) const
{
    for (const Bound &b : m_boxes) {
        if (!b.box)
            continue;
        const QString text = record.text(b.field);
        if (b.box->text() != text)
            b.box->setText(text);
    }
}
