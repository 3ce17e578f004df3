// The field table of the configuration file and its mapping onto the record.
#include "config/configfields.h"

#include "config/variantvalue.h"

#include <QDateTime>
#include <limits>

namespace {

struct SingleField
{
    const char *name;
    ConfigFieldKind kind;
    qint16 Configuration::*int16 = nullptr;
    bool Configuration::*boolean = nullptr;
    QString Configuration::*text = nullptr;
};

using K = ConfigFieldKind;
using C = Configuration;

// Fields 1-21, in file order.
const SingleField singleFields[] = {
    {"StationPort", K::Integer, &C::StationPort},
    {"RemoteHost", K::TrimmedText, nullptr, nullptr, &C::RemoteHost},
    {"RemotePort", K::TrimmedText, nullptr, nullptr, &C::RemotePort},
    {"UserName", K::TrimmedText, nullptr, nullptr, &C::UserName},
    {"Password", K::TrimmedText, nullptr, nullptr, &C::Password},
    {"UploadPath", K::TrimmedText, nullptr, nullptr, &C::UploadPath},
    {"TemplateFile1", K::TrimmedText, nullptr, nullptr, &C::TemplateFile1},
    {"OutputFile1", K::TrimmedText, nullptr, nullptr, &C::OutputFile1},
    {"UploadInterval", K::Integer, &C::UploadInterval},
    {"AutoDisconnect", K::Boolean, nullptr, &C::AutoDisconnect},
    {"NwsRemoteHost", K::TrimmedText, nullptr, nullptr, &C::NwsRemoteHost},
    {"NwsDownloadPath", K::TrimmedText, nullptr, nullptr, &C::NwsDownloadPath},
    {"NwsStartKey", K::TrimmedText, nullptr, nullptr, &C::NwsStartKey},
    {"NwsEndKey", K::TrimmedText, nullptr, nullptr, &C::NwsEndKey},
    {"HourlyPageTemplate", K::TrimmedText, nullptr, nullptr, &C::HourlyPageTemplate},
    {"TemplateFile2", K::TrimmedText, nullptr, nullptr, &C::TemplateFile2},
    {"OutputFile2", K::TrimmedText, nullptr, nullptr, &C::OutputFile2},
    {"UploadPath2", K::TrimmedText, nullptr, nullptr, &C::UploadPath2},
    {"LoggingInterval", K::IntegerText, &C::LoggingInterval},
    {"DisplayUnits", K::Integer, &C::DisplayUnits},
    {"DailyPageTemplate", K::TrimmedText, nullptr, nullptr, &C::DailyPageTemplate},
};
constexpr int SingleCount = int(std::size(singleFields));
constexpr int PagerColumns = 6;
constexpr int PagerFirst = SingleCount;                       // 21
constexpr int PagerPortIndex = PagerFirst + 5 * PagerColumns; // 51
constexpr int GraphFirst = PagerPortIndex + 2;                // 53
static_assert(GraphFirst + 6 == ConfigValueCount, "the file holds 59 values");

QVariant PagerRow::*const pagerColumns[PagerColumns] = {
    &PagerRow::PagerNumber, &PagerRow::CompanyNumber, &PagerRow::Enabled,
    &PagerRow::PageType,    &PagerRow::AlarmType,     &PagerRow::AlarmSetting,
};
const char *const pagerColumnNames[PagerColumns] = {
    "PagerNumber", "CompanyNumber", "Enabled", "PageType", "AlarmType", "AlarmSetting",
};
const char *const graphNames[6] = {
    "GraphStyle", "GraphSize", "GraphHeader", "GraphUploadPath", "GraphUploadTime", "UploadGraphs",
};

// The variant behind fields 22-59 (index 21-58).
template <typename Config> auto &variantSlot(Config &config, int index)
{
    if (index < PagerPortIndex) {
        const int cell = index - PagerFirst;
        return config.Pagers[cell / PagerColumns].*pagerColumns[cell % PagerColumns];
    }
    if (index == PagerPortIndex)
        return config.PagerPort;
    if (index == PagerPortIndex + 1)
        return config.FtpPort;
    return config.Graph[index - GraphFirst];
}

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QString trimBlanks(const QString &s)
{
    int from = 0;
    int to = s.size();
    while (from < to && isBlank(s.at(from)))
        ++from;
    while (to > from && isBlank(s.at(to - 1)))
        --to;
    return s.mid(from, to - from);
}

QDateTime wholeSeconds(const QDate &date, const QTime &time)
{
    return QDateTime(date, QTime(time.hour(), time.minute(), time.second()));
}

// A variant in the form a load returns it after it has been written.
QVariant asReadBack(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? 1 : 0;
    case QMetaType::QDateTime: {
        const QDateTime dt = v.toDateTime();
        return dt.isValid() ? QVariant(wholeSeconds(dt.date(), dt.time())) : v;
    }
    case QMetaType::QDate:
        return v.toDate().isValid() ? QVariant(QDateTime(v.toDate(), QTime(0, 0))) : v;
    case QMetaType::QTime:
        // A time alone is a date-time on the zero date, as the original stored it.
        return v.toTime().isValid() ? QVariant(wholeSeconds(QDate(1899, 12, 30), v.toTime())) : v;
    case QMetaType::Float:
        return double(v.toFloat());
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: {
        if ((v.typeId() == QMetaType::ULongLong || v.typeId() == QMetaType::ULong) &&
            v.toULongLong() > quint64(std::numeric_limits<qlonglong>::max()))
            return v.toDouble();
        const qlonglong n = v.toLongLong();
        if (n >= std::numeric_limits<int>::min() && n <= std::numeric_limits<int>::max())
            return int(n);
        return n;
    }
    default:
        return v;
    }
}

} // namespace

const QList<ConfigField> &configFields()
{
    static const QList<ConfigField> fields = [] {
        QList<ConfigField> list;
        for (const SingleField &f : singleFields)
            list.append({QString::fromLatin1(f.name), f.kind});
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < PagerColumns; ++col)
                list.append({QStringLiteral("Pagers[%1].%2")
                                 .arg(row)
                                 .arg(QLatin1String(pagerColumnNames[col])),
                             K::Variant});
        list.append({QStringLiteral("PagerPort"), K::Variant});
        list.append({QStringLiteral("FtpPort"), K::Variant});
        for (int i = 0; i < 6; ++i)
            list.append({QStringLiteral("Graph[%1].%2").arg(i).arg(QLatin1String(graphNames[i])),
                         K::Variant});
        return list;
    }();
    return fields;
}

ConfigValues configValues(const Configuration &config)
{
    ConfigValues values;
    values.reserve(ConfigValueCount);
    for (const SingleField &f : singleFields) {
        switch (f.kind) {
        case K::Integer:
            values.append(int(config.*f.int16));
            break;
        case K::Boolean:
            values.append((config.*f.boolean) ? 1 : 0);
            break;
        case K::IntegerText:
            values.append(QString::number(config.*f.int16));
            break;
        case K::TrimmedText:
        case K::Variant:
            values.append(config.*f.text);
            break;
        }
    }
    for (int i = SingleCount; i < ConfigValueCount; ++i)
        values.append(variantSlot(config, i));
    return values;
}

int applyConfigValues(const ConfigValues &values, Configuration &config)
{
    int applied = 0;
    const int count = qMin<int>(values.size(), ConfigValueCount);
    for (int i = 0; i < count; ++i) {
        const QVariant &v = values.at(i);
        if (i >= SingleCount) {
            variantSlot(config, i) = v;
            ++applied;
            continue;
        }
        const SingleField &f = singleFields[i];
        if (f.kind == K::TrimmedText) {
            config.*f.text = variantToText(v);
            ++applied;
        } else if (f.kind == K::Boolean) {
            if (const auto b = variantToBool(v)) {
                config.*f.boolean = *b;
                ++applied;
            }
        } else if (const auto n = variantToInt16(v)) {
            config.*f.int16 = *n;
            ++applied;
        }
    }
    return applied;
}

Configuration configurationAsSaved(const Configuration &config)
{
    Configuration saved = config;
    for (const SingleField &f : singleFields)
        if (f.kind == K::TrimmedText)
            saved.*f.text = trimBlanks(saved.*f.text);
    for (int i = SingleCount; i < ConfigValueCount; ++i)
        variantSlot(saved, i) = asReadBack(variantSlot(saved, i));
    return saved;
}

bool sameConfiguration(const Configuration &a, const Configuration &b)
{
    const ConfigValues va = configValues(a);
    const ConfigValues vb = configValues(b);
    for (int i = 0; i < ConfigValueCount; ++i) {
        if (va.at(i).typeId() != vb.at(i).typeId() || va.at(i) != vb.at(i))
            return false;
    }
    return true;
}
