// Connection options of the archive.
#include "archive/archiveconnection.h"

QSqlDatabase openArchiveDatabase(const ArchiveSettings &settings, const QString &name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(settings.host);
    db.setPort(settings.port);
    db.setDatabaseName(settings.database);
    db.setUserName(settings.user);
    db.setPassword(settings.password);
    // A server that does not answer is given up after 10 s and tried again later; keepalives
    // notice one that went away in the middle of a batch. sslmode is one of libpq's words.
    db.setConnectOptions(QStringLiteral("connect_timeout=10;sslmode=%1;keepalives_idle=30;"
                                        "application_name=corvane")
                             .arg(settings.sslmode));
    db.open();
    return db;
}
