// Unit captions.
#include "unitcaptions.h"

const QList<UnitCaption> &unitCaptions()
{
    static const QList<UnitCaption> table = [] {
        QList<UnitCaption> t;
        auto add = [&t](const char *window, std::initializer_list<const char *> labels,
                        const char *english, const char *metric) {
            for (const char *l : labels)
                t.append({QString::fromLatin1(window), QString::fromLatin1(l),
                          QString::fromLatin1(english), QString::fromLatin1(metric)});
        };
        add("Wx", {"Label29", "Label31", "Label26", "Label9"}, "Deg F", "Deg C");
        add("Wx", {"Label28"}, "in HG", "MBar");
        add("Wx", {"Label22", "Label34", "Label36"}, "MPH", "M/S");
        add("Wx", {"Label40"}, "Inches", "mm");
        const auto tenLabels = {"Label4",  "Label3",  "Label9",  "Label11", "Label19",
                                "Label20", "Label25", "Label27", "Label33", "Label34"};
        add("Temperature", tenLabels, "F", "C");
        add("Dewpoint", tenLabels, "F", "C");
        add("Barometer", {"Label5", "Label6"}, "in Hg", "MBar");
        add("Rain", {"Label7", "Label8"}, "Inches", "mm");
        add("Rain", {"Label9", "Label10"}, "In/Hr", "mm/Hr");
        add("Wind", {"Label5", "Label6", "Label12", "Label18"}, "MPH", "M/S");
        add("Wind", {"Label25", "Label27"}, "F", "C");
        return t;
    }();
    return table;
}

QString unitCaption(const QString &window, const QString &label, int displayUnits)
{
    if (window == QLatin1String("Humidity") && label == QLatin1String("Label4"))
        return QStringLiteral("%");
    for (const UnitCaption &c : unitCaptions()) {
        if (c.window == window && c.label == label)
            return displayUnits != 0 ? c.metric : c.english;
    }
    return {};
}
