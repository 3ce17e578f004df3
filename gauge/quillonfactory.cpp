// The table of quillon's controls by class name.
#include "quillonfactory.h"

#include "quillon1.h"

namespace {

struct ControlClass
{
    const char *name;
    QWidget *(*create)(QWidget *parent);
};

const ControlClass Controls[] = {
    {"Quillon1", [](QWidget *parent) -> QWidget * { return new Quillon1(parent); }},
};

} // namespace

QStringList quillonClassNames()
{
    QStringList names;
    for (const ControlClass &c : Controls)
        names << QString::fromLatin1(c.name);
    return names;
}

QWidget *quillonCreate(const QString &className, QWidget *parent)
{
    for (const ControlClass &c : Controls) {
        if (className.compare(QLatin1String(c.name), Qt::CaseInsensitive) == 0)
            return c.create(parent);
    }
    return nullptr;
}
