// Bounded reads of regular files.
#include "core/regularfile.h"

#include <QFile>
#include <QScopeGuard>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString sizeText(qint64 bytes)
{
    if (bytes >= (qint64(1) << 20) && bytes % (qint64(1) << 20) == 0)
        return QStringLiteral("%1 MiB").arg(bytes >> 20);
    return QStringLiteral("%1 bytes").arg(bytes);
}

RegularFileRead failure(const QString &path, const QString &why)
{
    RegularFileRead r;
    r.error = QStringLiteral("%1: %2").arg(path, why);
    return r;
}

QString systemError(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

} // namespace

RegularFileRead readRegularFile(const QString &path, qint64 limit)
{
    if (path.isEmpty())
        return failure(path, QStringLiteral("no file name"));
    const QByteArray name = QFile::encodeName(path);
    // The type is checked before opening, since opening a device can act on it (a serial
    // line raises DTR), and again on the open file, which is the one read.
    struct stat st = {};
    if (::stat(name.constData(), &st) != 0) {
        RegularFileRead r = failure(path, systemError(errno));
        r.missing = errno == ENOENT;
        return r;
    }
    if (!S_ISREG(st.st_mode))
        return failure(path, QStringLiteral("not a regular file"));
    // O_NONBLOCK: should a FIFO take the file's place in between, the open does not wait
    // for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return failure(path, systemError(errno));
    const auto closeFd = qScopeGuard([fd] { ::close(fd); });
    if (::fstat(fd, &st) != 0)
        return failure(path, systemError(errno));
    if (!S_ISREG(st.st_mode))
        return failure(path, QStringLiteral("not a regular file"));
    const QString tooLarge = QStringLiteral("larger than %1").arg(sizeText(limit));
    if (st.st_size > limit)
        return failure(path, tooLarge);

    // The size may change while reading; one byte past the limit is enough to tell.
    RegularFileRead result;
    result.mode = uint(st.st_mode & 07777);
    result.bytes.resize(qsizetype(st.st_size) + 1);
    qint64 got = 0;
    for (;;) {
        if (got == result.bytes.size()) {
            if (got > limit)
                return failure(path, tooLarge);
            result.bytes.resize(qsizetype(qMin(limit + 1, got * 2 + 4096)));
        }
        const ssize_t n = ::read(fd, result.bytes.data() + got, size_t(result.bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return failure(path, systemError(errno));
        if (n == 0)
            break;
        got += n;
    }
    if (got > limit)
        return failure(path, tooLarge);
    result.bytes.resize(qsizetype(got));
    return result;
}
