// Field-name rules of the chart window.
#include "charting/data/chartfields.h"

int findDateTimeField(const QStringList &fields)
{
    for (int i = 0; i < fields.size(); ++i) {
        const QString &f = fields[i];
        for (const char *form : {"Time", "Date", "TIME", "DATE"}) {
            if (f.contains(QLatin1String(form)))
                return i;
        }
    }
    return -1;
}

QString appendAxisTitle(const QString &title, const QString &field)
{
    return title.isEmpty() ? field : title + QStringLiteral(" & ") + field;
}
