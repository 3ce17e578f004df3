// `corvane decode`: console bytes on standard input go through the frame handler in the
// pieces they arrive in; the readings record comes out as `Field=Text` lines.
#include "app/commands.h"

#include "acquisition/framehandler.h"
#include "acquisition/readingsrecord.h"
#include "acquisition/readingstexts.h"
#include "core/clock.h"

#include <QDate>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

struct DecodeOptions
{
    int units = 0;
    QDate today;
};

class RecordWriter final : public FrameHandler::Listener
{
public:
    RecordWriter(ReadingsRecord &record, const DecodeOptions &options)
        : m_record(record), m_options(options)
    {
    }
    void frameChecked(const QByteArray &frame) override
    {
        applyFrame(frame, m_record, m_options.units, m_options.today);
    }

private:
    ReadingsRecord &m_record;
    const DecodeOptions &m_options;
};

int usage(const QString &why)
{
    std::fprintf(
        stderr,
        "corvane decode: %s\n"
        "Usage: corvane decode [--units english|metric] [--date YYYY-MM-DD | --year YYYY]\n",
        qPrintable(why));
    return 2;
}

// Returns an empty text when the arguments are good, otherwise why they are not.
QString parseArguments(const QStringList &args, DecodeOptions &options)
{
    for (int i = 0; i < args.size(); ++i) {
        QString name = args.at(i);
        QString value;
        const int equals = name.indexOf(QLatin1Char('='));
        if (name.startsWith(QLatin1String("--")) && equals > 0) {
            value = name.mid(equals + 1);
            name = name.left(equals);
        } else if (i + 1 < args.size()) {
            value = args.at(++i);
        } else {
            return QStringLiteral("%1 needs a value").arg(name);
        }
        if (name == QLatin1String("--units")) {
            if (value.compare(QLatin1String("english"), Qt::CaseInsensitive) == 0)
                options.units = 0;
            else if (value.compare(QLatin1String("metric"), Qt::CaseInsensitive) == 0)
                options.units = 1;
            else
                return QStringLiteral("unknown units %1").arg(value);
        } else if (name == QLatin1String("--date")) {
            options.today = QDate::fromString(value, Qt::ISODate);
            if (!options.today.isValid())
                return QStringLiteral("not a date: %1").arg(value);
        } else if (name == QLatin1String("--year")) {
            // The last day of the year: every record date then falls in that year.
            bool ok = false;
            const int year = value.toInt(&ok);
            if (!ok || year < 1 || year > 9999)
                return QStringLiteral("not a year: %1").arg(value);
            options.today = QDate(year, 12, 31);
        } else {
            return QStringLiteral("unknown option %1").arg(name);
        }
    }
    return {};
}

} // namespace

int runDecode(const QStringList &args)
{
    SystemClock clock;
    DecodeOptions options;
    options.today = clock.now().date();
    const QString bad = parseArguments(args, options);
    if (!bad.isEmpty())
        return usage(bad);

    ReadingsRecord record;
    RecordWriter writer(record, options);
    FrameStream stream(writer);
    char buffer[4096];
    int status = 0;
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            std::fprintf(stderr, "corvane decode: reading standard input: %s\n",
                         std::strerror(errno));
            status = 1;
        }
        if (n <= 0)
            break;
        // A frame still waiting when a piece arrives after its 0.3 s is finished first,
        // as on the serial line.
        stream.feed(QByteArrayView(buffer, qsizetype(n)), clock.monotonicMs());
    }
    stream.finish();

    for (const QString &field : ReadingsRecord::fieldNames()) {
        const QString text = record.text(field);
        if (text.isEmpty())
            continue;
        const QByteArray line = (field + QLatin1Char('=') + text + QLatin1Char('\n')).toUtf8();
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    }
    return status;
}
