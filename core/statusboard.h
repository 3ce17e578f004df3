// The places status is reported: the main window's status bar text, its title, and a note.
#pragma once

#include <QObject>
#include <QString>

// Jobs write here; the main window shows it, headless mode prints it with a time stamp.
// The note is the scheduler's word on a job it skipped or abandoned; it has a place of its
// own so that it never takes the place of a job's status text.
class StatusBoard : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    QString statusText() const { return m_status; }
    QString title() const { return m_title; }
    QString note() const { return m_note; }

public slots:
    void setStatusText(const QString &text);
    void setTitle(const QString &text);
    void setNote(const QString &text);

signals:
    void statusTextChanged(const QString &text);
    void titleChanged(const QString &text);
    void noteChanged(const QString &text);

private:
    QString m_status;
    QString m_title;
    QString m_note;
};
