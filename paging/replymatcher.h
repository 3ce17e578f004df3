// Waiting for one of a few modem replies in whatever pieces the port hands them over.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// Finds the first moment at which any expected reply has arrived, even when it is split
// over several reads ("O", then "K"). It keeps only the bytes a reply still split at the
// end could need, so a line that never stops talking costs neither memory nor time.
class ReplyMatcher
{
public:
    // The progress text keeps this many of the latest bytes.
    static constexpr qsizetype ProgressLimit = 1024;

    // Starts a new wait: nothing received yet.
    void expect(const QList<QByteArray> &replies);
    // Bytes that arrived; true once one of the expected replies is among everything
    // received since expect() (and from then on).
    bool feed(QByteArrayView bytes);
    bool found() const { return m_found; }
    // What has arrived during this wait, for the status bar: at most the latest
    // ProgressLimit bytes.
    const QByteArray &progress() const { return m_progress; }

private:
    QList<QByteArray> m_expected;
    QByteArray m_tail; // the received bytes a split reply could still begin in
    QByteArray m_progress;
    qsizetype m_longest = 0;
    bool m_found = false;
};
