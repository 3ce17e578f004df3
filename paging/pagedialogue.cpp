// One page call over the modem: wake-up, dialling, manual entry, the message parts, hang-up.
#include "paging/pagedialogue.h"

#include "acquisition/serialport.h"
#include "core/clock.h"
#include "core/statusboard.h"

namespace {

// The service and the modem both expect a bare carriage return after each entry.
const QByteArray EndOfEntry("\r");

} // namespace

SerialSettings pagingLineSettings()
{
    SerialSettings s;
    s.baud = 1200;
    s.parity = 'e';
    s.dataBits = 7;
    s.stopBits = 1;
    return s;
}

PageDialogue::PageDialogue(const PageRequest &request, const PagerLine &line, Clock &clock,
                           StatusBoard &status, QObject *parent)
    : QObject(parent), m_request(request), m_line(line), m_status(status),
      m_timer(clock.createTimer())
{
    m_timer->setSingleShot(true);
    connect(m_timer.get(), &ClockTimer::timeout, this, &PageDialogue::onTimer);
    if (m_line.port) {
        connect(m_line.port, &SerialPort::readyRead, this, [this] {
            if (m_waiting)
                pollReply();
        });
    }
}

PageDialogue::~PageDialogue() = default;

void PageDialogue::start()
{
    if (m_running)
        return;
    m_running = true;
    m_parts = splitPageMessage(pageLineText(m_request.message));
    if (m_line.hangUpDialupFirst) {
        // The page needs the modem that carries the internet connection.
        if (m_line.hangUpDialup)
            m_line.hangUpDialup();
        after(10000, &PageDialogue::openPort);
        return;
    }
    openPort();
}

void PageDialogue::abandon()
{
    if (!m_running)
        return;
    m_running = false;
    m_timer->stop();
    m_onTimer = nullptr;
    m_waiting = false;
    if (m_line.port)
        m_line.port->close();
    setStatus(QString());
}

void PageDialogue::openPort()
{
    setStatus(QStringLiteral("Intializing Modem")); // spelt as users have always seen it
    if (m_line.port) {
        // A port that is already open (another use of the modem) keeps its device.
        if (!m_line.port->isOpen())
            m_line.port->setDevicePath(m_line.devicePath);
        m_line.port->setSettings(pagingLineSettings());
        // A port that will not open is not fatal here: the reset then finds no modem.
        if (!m_line.port->isOpen())
            m_line.port->open();
    }
    after(2000, &PageDialogue::resetModem);
}

void PageDialogue::resetModem()
{
    clearBuffers();
    send("ATZ" + EndOfEntry);
    waitFor({"OK"}, 5, &PageDialogue::pauseThenDial, &PageDialogue::noModem);
}

void PageDialogue::pauseThenDial()
{
    after(1000, &PageDialogue::dial);
}

void PageDialogue::dial()
{
    clearBuffers();
    setStatus(QStringLiteral("DIALING MESSAGE SERVICE"));
    send("ATDT" + pageLineText(m_request.companyNumber) + EndOfEntry);
    waitFor({"1200", "CONNECT"}, 60, &PageDialogue::connected, &PageDialogue::noConnection);
}

void PageDialogue::connected()
{
    setStatus(QStringLiteral("CONNECTED TO MESSAGE SERVICE"));
    after(3000, &PageDialogue::askForId);
}

void PageDialogue::askForId()
{
    clearBuffers();
    send(EndOfEntry);
    waitFor({"ID="}, 15, &PageDialogue::pauseThenManualEntry, &PageDialogue::noService, true);
}

void PageDialogue::pauseThenManualEntry()
{
    after(1000, &PageDialogue::requestManualEntry);
}

void PageDialogue::requestManualEntry()
{
    clearBuffers();
    send("M" + EndOfEntry);
    setStatus(QStringLiteral("SENDING ID"));
    waitFor({"RETURN"}, 15, &PageDialogue::pauseThenPagerNumber, &PageDialogue::noService);
}

void PageDialogue::pauseThenPagerNumber()
{
    after(1000, &PageDialogue::sendPagerNumber);
}

void PageDialogue::sendPagerNumber()
{
    clearBuffers();
    send(pageLineText(m_request.pagerNumber) + EndOfEntry);
    setStatus(QStringLiteral("SENDING PAGER NUMBER"));
    waitFor({"RETURN"}, 15, &PageDialogue::sendMessagePart, &PageDialogue::noService);
}

void PageDialogue::sendMessagePart()
{
    clearBuffers();
    send((m_onSecondPart ? m_parts.second : m_parts.first) + EndOfEntry);
    setStatus(QStringLiteral("SENDING ALPHA MESSAGE"));
    // The service's confirmation is not required: the dialogue goes on either way.
    waitFor({"RETURN"}, 15, &PageDialogue::messagePartDone, &PageDialogue::messagePartDone);
}

void PageDialogue::messagePartDone()
{
    // Any second part goes out, a one-character one included.
    if (!m_onSecondPart && !m_parts.second.isEmpty()) {
        m_onSecondPart = true;
        after(5000, &PageDialogue::pauseThenPagerNumber);
        return;
    }
    hangUp();
}

void PageDialogue::hangUp()
{
    clearBuffers();
    send("+++"); // the escape is the one command without a carriage return
    after(2000, &PageDialogue::hangUpReset);
}

void PageDialogue::hangUpReset()
{
    send("ATZ" + EndOfEntry);
    after(1000, &PageDialogue::hangUpHook);
}

void PageDialogue::hangUpHook()
{
    send("ATH" + EndOfEntry);
    after(1000, &PageDialogue::hangUpClose);
}

void PageDialogue::hangUpClose()
{
    if (m_line.port)
        m_line.port->close();
    setStatus(QStringLiteral("HANGING UP LINE"));
    after(3000, &PageDialogue::finish);
}

void PageDialogue::finish()
{
    setStatus(QString());
    m_running = false;
    emit finished(m_outcome);
}

void PageDialogue::noModem()
{
    m_outcome = PageOutcome::NoResponseFromModem;
    setStatus(QStringLiteral("NO RESPONSE FROM MODEM"));
    // No hang-up sequence: nothing answered. The port is closed all the same, so that
    // faxing can open it afresh.
    if (m_line.port)
        m_line.port->close();
    after(3000, &PageDialogue::finish);
}

void PageDialogue::noConnection()
{
    m_outcome = PageOutcome::NoConnection;
    setStatus(QStringLiteral("NO CONNECTION MADE, HANGING UP LINE"));
    after(2000, &PageDialogue::blankStatusThenHangUp);
}

void PageDialogue::noService()
{
    m_outcome = PageOutcome::NoResponseFromService;
    setStatus(QStringLiteral("NO RESPONSE FROM PAGING COMPANY"));
    after(3000, &PageDialogue::blankStatusThenHangUp);
}

void PageDialogue::blankStatusThenHangUp()
{
    setStatus(QString());
    hangUp();
}

void PageDialogue::after(int ms, Step next)
{
    m_onTimer = next;
    m_timer->setInterval(ms);
    m_timer->start();
}

// Waiting for a reply: what the port receives from now on is matched against the replies,
// so a reply split over several reads ("O", then "K") is still found.
void PageDialogue::waitFor(const QList<QByteArray> &replies, int seconds, Step found, Step timedOut,
                           bool showProgress)
{
    m_reply.expect(replies);
    m_onFound = found;
    m_showProgress = showProgress;
    m_waiting = true;
    if (m_showProgress)
        setStatus(QString());
    after(seconds * 1000, timedOut);
    pollReply();
}

bool PageDialogue::pollReply()
{
    if (m_line.port && m_line.port->isOpen() && m_line.port->bytesAvailable() > 0) {
        m_reply.feed(m_line.port->read(m_line.port->bytesAvailable()));
        if (m_showProgress)
            setStatus(QString::fromLatin1(m_reply.progress()));
    }
    if (!m_reply.found())
        return false;
    m_waiting = false;
    m_timer->stop();
    m_onTimer = nullptr;
    (this->*m_onFound)();
    return true;
}

void PageDialogue::onTimer()
{
    const Step next = m_onTimer;
    m_onTimer = nullptr;
    if (m_waiting) {
        // The last look at the port before the time-out counts, as a final pass would.
        if (pollReply())
            return;
        m_waiting = false;
    }
    if (next)
        (this->*next)();
}

void PageDialogue::clearBuffers()
{
    // Only received bytes are dropped: what was written is still on its way out.
    if (m_line.port && m_line.port->isOpen() && m_line.port->bytesAvailable() > 0)
        m_line.port->read(m_line.port->bytesAvailable());
}

void PageDialogue::send(const QByteArray &data)
{
    if (m_line.port && m_line.port->isOpen())
        m_line.port->write(data);
}

void PageDialogue::setStatus(const QString &text)
{
    m_status.setStatusText(text);
}
