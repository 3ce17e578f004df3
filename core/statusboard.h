// The two places status is reported: the main window's status bar text and its title.
#pragma once

#include <QObject>
#include <QString>

// Jobs write here; the main window shows it, headless mode prints it with a time stamp.
class StatusBoard : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    QString statusText() const { return m_status; }
    QString title() const { return m_title; }

public slots:
    void setStatusText(const QString &text);
    void setTitle(const QString &text);

signals:
    void statusTextChanged(const QString &text);
    void titleChanged(const QString &text);

private:
    QString m_status;
    QString m_title;
};
