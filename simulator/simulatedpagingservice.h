// The paging demo: a simulated modem and paging service behind a pseudo-terminal, for running
// without hardware.
#pragma once

#include "acquisition/pseudoterminal.h"

#include "simulator/hayesmodemsimulator.h"

#include <QObject>
#include <QString>
#include <memory>

class Clock;

// `corvane --simulate` maps PagerPort to devicePath(), so that a page goes through the
// real serial path and the whole dialogue shows in the status bar.
class SimulatedPagingService : public QObject
{
    Q_OBJECT
public:
    explicit SimulatedPagingService(Clock &clock, QObject *parent = nullptr);
    ~SimulatedPagingService() override;

    // Opens the pseudo-terminal and puts the modem on it; false when none could be opened.
    // Starting again once started does nothing and succeeds.
    bool start();
    // The pseudo-terminal's slave: the device the pager port opens. Empty before start().
    QString devicePath() const { return m_devicePath; }
    // The modem, for its record of the pages taken (empty before start()).
    HayesModemSimulator *modem() const { return m_modem.get(); }

signals:
    void pageReceived(const QString &pagerNumber, const QString &message);

private:
    Clock &m_clock;
    PseudoTerminal m_line; // keeps its slave open, so the line survives the pager port closing
    QString m_devicePath;
    std::unique_ptr<HayesModemSimulator> m_modem;
};
