// A PostgreSQL server of the test's own: a cluster made by initdb in a temporary folder,
// listening on a free port of 127.0.0.1 and on a socket in that folder, stopped at the end.
// PostgreSQL refuses to run as root, so as root the server runs as "nobody".
#pragma once

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class LocalPostgres
{
public:
    static constexpr int NobodyId = 65534;

    LocalPostgres() = default;
    ~LocalPostgres() { stop(); }

    // The server's binaries: Debian keeps them per major version.
    static QString binDir()
    {
        const QDir versions(QStringLiteral("/usr/lib/postgresql"));
        QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        std::sort(found.begin(), found.end(),
                  [](const QString &a, const QString &b) { return a.toInt() > b.toInt(); });
        for (const QString &v : found)
            if (QFile::exists(versions.filePath(v + QStringLiteral("/bin/initdb"))))
                return versions.filePath(v + QStringLiteral("/bin"));
        return {};
    }

    // Makes the cluster with superuser "postgres" (trust on 127.0.0.1 and the socket) and,
    // unless empty, a database `database` beside "postgres", and starts it with `options`
    // ("-c name=value ..."). Empty, or why not.
    QString start(const QString &database, const QStringList &options = {})
    {
        if (!m_dir.isValid())
            return QStringLiteral("no temporary folder");
        if (binDir().isEmpty())
            return QStringLiteral("PostgreSQL's initdb is not installed (package postgresql)");
        if (::geteuid() == 0 && ::chown(qPrintable(m_dir.path()), NobodyId, NobodyId) != 0)
            return QStringLiteral("cannot give the folder to nobody");
        m_port = freePort();
        QString out;
        if (!run(QStringLiteral("initdb"),
                 {QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), QStringLiteral("postgres"),
                  QStringLiteral("-A"), QStringLiteral("trust"), QStringLiteral("-E"),
                  QStringLiteral("UTF8"), QStringLiteral("--no-sync")},
                 &out))
            return QStringLiteral("initdb: ") + out;
        m_options = options;
        if (const QString why = startServer(); !why.isEmpty())
            return why;
        if (!database.isEmpty() &&
            !run(QStringLiteral("createdb"),
                 {QStringLiteral("-h"), QStringLiteral("127.0.0.1"), QStringLiteral("-p"),
                  QString::number(m_port), QStringLiteral("-U"), QStringLiteral("postgres"),
                  database},
                 &out))
            return QStringLiteral("createdb: ") + out;
        return {};
    }

    // Stops the server at once (open connections are cut), as a server that goes away.
    bool stop()
    {
        if (!m_running)
            return true;
        m_running = !run(QStringLiteral("pg_ctl"),
                         {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"),
                          QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
        return !m_running;
    }
    // Starts it again on the same port.
    QString restart() { return startServer(); }

    int port() const { return m_port; }
    QString folder() const { return m_dir.path(); }
    QString log() const
    {
        QFile f(m_dir.filePath(QStringLiteral("server.log")));
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll()) : QString();
    }

    // CPU seconds of process `pid` (as it is: 0 when gone), and of the server's children that
    // have ended, connections among them.
    static double processCpuSeconds(qint64 pid, bool endedChildren = false)
    {
        QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!f.open(QIODevice::ReadOnly))
            return 0;
        const QByteArray stat = f.readAll();
        // Fields after the command's closing parenthesis: state is field 3, utime 14.
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        const int first = endedChildren ? 13 : 11; // cutime, cstime : utime, stime
        if (fields.size() < first + 2)
            return 0;
        return (fields[first].toDouble() + fields[first + 1].toDouble()) / ::sysconf(_SC_CLK_TCK);
    }
    double endedConnectionsCpuSeconds() const
    {
        QFile pidFile(dataDir() + QStringLiteral("/postmaster.pid"));
        if (!pidFile.open(QIODevice::ReadOnly))
            return 0;
        return processCpuSeconds(pidFile.readLine().trimmed().toLongLong(), true);
    }

private:
    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }

    QString startServer()
    {
        QString out;
        const QString serverOptions =
            QStringLiteral("-p %1 -k %2 -c listen_addresses=127.0.0.1 ")
                .arg(m_port)
                .arg(m_dir.path()) +
            m_options.join(QLatin1Char(' '));
        if (!run(QStringLiteral("pg_ctl"),
                 {QStringLiteral("-D"), dataDir(), QStringLiteral("-l"),
                  m_dir.filePath(QStringLiteral("server.log")), QStringLiteral("-o"), serverOptions,
                  QStringLiteral("-w"), QStringLiteral("-t"), QStringLiteral("30"),
                  QStringLiteral("start")},
                 &out))
            return QStringLiteral("pg_ctl start: ") + out + log();
        m_running = true;
        return {};
    }

    // Runs one of the server's programs, as nobody when we are root.
    bool run(const QString &tool, const QStringList &args, QString *output = nullptr)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setWorkingDirectory(m_dir.path());
        const QString program = binDir() + QLatin1Char('/') + tool;
        if (::geteuid() == 0) {
            p.start(QStringLiteral("setpriv"),
                    QStringList{QStringLiteral("--reuid=%1").arg(NobodyId),
                                QStringLiteral("--regid=%1").arg(NobodyId),
                                QStringLiteral("--clear-groups"), program} +
                        args);
        } else {
            p.start(program, args);
        }
        const bool ok = p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit &&
                        p.exitCode() == 0;
        if (output)
            *output = QString::fromLocal8Bit(p.readAll());
        return ok;
    }

    static int freePort()
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        int port = 0;
        if (::bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) == 0 &&
            ::getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &len) == 0)
            port = ntohs(addr.sin_port);
        ::close(fd);
        return port;
    }

    QTemporaryDir m_dir;
    QStringList m_options;
    int m_port = 0;
    bool m_running = false;
};
