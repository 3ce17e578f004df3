// Faxing a graph: the steps around the fax component that the chart window's command takes.
#pragma once

#include "fax/faxdevice.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <functional>

class StatusBoard;

// Writes "graph.jpg" from `chart` (or, given a null image, takes the "graph.jpg" already in
// `dir`), its two-colour "TestMono.BMP", and imports that into "GI2.FMF", which becomes the
// document to send. Every step is tried; the first failure is returned.
FaxResult prepareGraphFax(FaxDevice &fax, const QImage &chart, const QString &dir);

// Sends the prepared document to `number`. An empty or cancelled number sends nothing.
FaxResult sendGraphFax(FaxDevice &fax, const QString &number);

// Why a fax on `faxDevice` cannot go now: the pager is calling on the same modem. An alias
// (a udev link such as /dev/modem) counts as the device it names. Empty when the modem is free
// or the fax device is not known yet.
QString pagerHoldsModem(const QString &faxDevice, const QString &pagerDevice, bool pagerBusy);

// "Fax Graph" without its window: one graph fax at a time, each step's outcome in the status
// bar. The send's end is reported whatever became of the window that started it.
class GraphFaxSender : public QObject
{
    Q_OBJECT
public:
    GraphFaxSender(FaxDevice &fax, StatusBoard &status, const QString &programDir,
                   QObject *parent = nullptr);

    // Why the modem cannot take a fax now (the pager is calling on it), empty when it can.
    // Asked before a document is made and again before it is sent.
    void setModemBusyCheck(std::function<QString()> check) { m_modemBusy = std::move(check); }

    // Whether a new graph fax may begin; when not, the status bar says why. A fax being sent
    // keeps its document, which a new one would replace under efax.
    bool mayStart();
    // Writes the working files and the fax document from `chart`; false (and the status bar
    // says why) when there is no document to send.
    bool prepare(const QImage &chart);
    // Sends the prepared document. An empty number (a cancelled box) sends nothing and says
    // nothing; a refused one says why. True when the send has started.
    bool send(const QString &number);

    bool isSending() const { return m_sending; }
    QString programDir() const { return m_dir; }

private:
    void finished(bool sent, const QString &why);

    FaxDevice &m_fax;
    StatusBoard &m_status;
    QString m_dir;
    std::function<QString()> m_modemBusy;
    QString m_number; // the one being sent to, as typed
    bool m_sending = false;
};
