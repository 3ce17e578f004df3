// Reading the configuration file with the sequential-input rules of the original.
#include "config/configfile.h"

#include "core/programdir.h"
#include "core/regularfile.h"

#include <QDateTime>
#include <QRegularExpression>
#include <climits>
#include <cmath>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isLineEnd(char c)
{
    return c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Optional sign, digits with an optional fraction, optional exponent. Sets `integer` when
// there is neither fraction nor exponent.
bool isNumber(QByteArrayView s, bool &integer)
{
    qsizetype i = 0;
    const qsizetype n = s.size();
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && isDigit(s[i]))
        ++i, ++digits;
    integer = true;
    if (i < n && s[i] == '.') {
        integer = false;
        ++i;
        while (i < n && isDigit(s[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        integer = false;
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            ++i;
        qsizetype expDigits = 0;
        while (i < n && isDigit(s[i]))
            ++i, ++expDigits;
        if (expDigits == 0)
            return false;
    }
    return i == n;
}

// #yyyy-mm-dd#, #yyyy-mm-dd hh:mm[:ss]# or a time alone (on the zero date 1899-12-30).
QVariant dateLiteral(const QString &inner)
{
    static const QRegularExpression re(QStringLiteral(
        "^\\s*(?:(\\d{4})-(\\d{1,2})-(\\d{1,2}))?\\s*(?:(\\d{1,2}):(\\d{2})(?::(\\d{2}))?)?\\s*$"));
    const QRegularExpressionMatch m = re.match(inner);
    if (!m.hasMatch() || (m.capturedLength(1) == 0 && m.capturedLength(4) == 0))
        return {};
    const QDate date = m.capturedLength(1) ? QDate(m.captured(1).toInt(), m.captured(2).toInt(),
                                                   m.captured(3).toInt())
                                           : QDate(1899, 12, 30);
    const QTime time = m.capturedLength(4) ? QTime(m.captured(4).toInt(), m.captured(5).toInt(),
                                                   m.captured(6).toInt())
                                           : QTime(0, 0);
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

// The value of an unquoted field (leading blanks already skipped).
QVariant unquotedValue(QByteArrayView field)
{
    while (!field.isEmpty() && isBlank(field.back()))
        field.chop(1);
    if (field.isEmpty())
        return {};
    const QString text = QString::fromLatin1(field);
    if (field.size() >= 2 && field.front() == '#' && field.back() == '#') {
        const QVariant date = dateLiteral(text.mid(1, text.size() - 2));
        return date.isValid() ? date : QVariant(text);
    }
    bool integer = false;
    if (isNumber(field, integer)) {
        bool ok = false;
        if (integer) {
            const qlonglong n = text.toLongLong(&ok);
            if (ok)
                return n >= INT_MIN && n <= INT_MAX ? QVariant(int(n)) : QVariant(n);
        }
        const double d = text.toDouble(&ok);
        if (ok && std::isfinite(d))
            return d;
    }
    return text;
}

// `text` as one word of a shell command line.
QString shellWord(const QString &text)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_./+:@%=,-]+$"));
    if (plain.match(text).hasMatch())
        return text;
    return QLatin1Char('\'') + QString(text).replace(QLatin1Char('\''), QStringLiteral("'\\''")) +
           QLatin1Char('\'');
}

} // namespace

QString configurationFilePath()
{
    return programFile(configurationFileName());
}

ConfigValues parseConfigValues(QByteArrayView bytes)
{
    ConfigValues values;
    const qsizetype n = bytes.size();
    qsizetype pos = 0;
    // Moves past the comma or line end (CR LF counted once) that ends a field.
    auto consumeDelimiter = [&] {
        if (pos >= n)
            return;
        const char c = bytes[pos++];
        if (c == '\r' && pos < n && bytes[pos] == '\n')
            ++pos;
    };
    while (values.size() < ConfigValueCount && pos < n) {
        while (pos < n && isBlank(bytes[pos]))
            ++pos;
        if (pos >= n)
            break;
        if (bytes[pos] == '"') {
            const qsizetype start = ++pos;
            while (pos < n && bytes[pos] != '"' && !isLineEnd(bytes[pos]))
                ++pos;
            values.append(QString::fromLatin1(bytes.sliced(start, pos - start)));
            if (pos < n && bytes[pos] == '"') {
                // Whatever follows the closing quote up to the delimiter is dropped.
                while (pos < n && bytes[pos] != ',' && !isLineEnd(bytes[pos]))
                    ++pos;
            }
            consumeDelimiter();
            continue;
        }
        const qsizetype start = pos;
        while (pos < n && bytes[pos] != ',' && !isLineEnd(bytes[pos]))
            ++pos;
        values.append(unquotedValue(bytes.sliced(start, pos - start)));
        consumeDelimiter();
    }
    return values;
}

ConfigLoadResult loadConfiguration(const QString &path)
{
    ConfigLoadResult result;
    const RegularFileRead file = readRegularFile(path, SettingsFileLimit);
    result.fileExisted = !file.missing;
    if (!file.ok()) {
        if (!file.missing)
            result.notices << file.error;
        return result;
    }
    // The mode is the user's to choose; only say how to close the file to others.
    if (file.mode & 0044)
        result.notices << QStringLiteral("%1 is readable by other users, and it holds the FTP "
                                         "password: chmod 600 %2 makes it private")
                              .arg(path, shellWord(path));
    result.values = parseConfigValues(file.bytes);
    result.valuesRead = int(result.values.size());
    applyConfigValues(result.values, result.config);
    return result;
}
