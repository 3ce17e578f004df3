// libcurl's multi interface on Qt socket notifiers and a timer: no threads, and every
// state is delivered from the event loop, outside libcurl's callbacks, so that its
// handlers may cancel or start operations.
#include "publishing/curltransferchannel.h"

#include "publishing/transferoperation.h"
#include "publishing/transferreason.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <curl/curl.h>
#include <sys/socket.h>

namespace {

struct CurlGlobal
{
    CurlGlobal() { curl_global_init(CURL_GLOBAL_DEFAULT); }
    ~CurlGlobal() { curl_global_cleanup(); }
};

void ensureCurlInitialised()
{
    static CurlGlobal global;
}

struct SocketWatch
{
    QPointer<QSocketNotifier> read;
    QPointer<QSocketNotifier> write;
};

QString tooLongCause(qint64 maxBytes)
{
    constexpr qint64 mebibyte = 1024 * 1024;
    const QString size = maxBytes > 0 && maxBytes % mebibyte == 0
                             ? QStringLiteral("%1 MiB").arg(maxBytes / mebibyte)
                             : QStringLiteral("%1 bytes").arg(maxBytes);
    return QStringLiteral("the reply is longer than the %1 allowed").arg(size);
}

} // namespace

class CurlTransferChannel::Private
{
public:
    Private(CurlTransferChannel *q, Protocol protocol) : q(q), protocol(protocol)
    {
        ensureCurlInitialised();
        port = protocol == Protocol::Ftp ? 21 : 80;
        multi = curl_multi_init();
        curl_multi_setopt(multi, CURLMOPT_SOCKETFUNCTION, &Private::onSocket);
        curl_multi_setopt(multi, CURLMOPT_SOCKETDATA, this);
        curl_multi_setopt(multi, CURLMOPT_TIMERFUNCTION, &Private::onTimer);
        curl_multi_setopt(multi, CURLMOPT_TIMERDATA, this);
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, q, [this] { act(CURL_SOCKET_TIMEOUT, 0); });
    }

    ~Private()
    {
        stopTransfer();
        curl_multi_cleanup(multi);
        for (SocketWatch &w : sockets) {
            delete w.read;
            delete w.write;
        }
    }

    bool start(const TransferOperation &op, const QString &text);
    void stopTransfer();
    void act(curl_socket_t socket, int events);
    void finishDone();
    void post(int state);
    void fail(const QString &cause);
    bool takeReceived(size_t bytes);
    void noteProgress();

    static int onSocket(CURL *, curl_socket_t s, int what, void *userp, void *);
    static int onTimer(CURLM *, long timeoutMs, void *userp);
    static size_t onWrite(char *data, size_t size, size_t count, void *userp);
    static size_t onHeader(char *data, size_t size, size_t count, void *userp);
    static int onSocketOpened(void *userp, curl_socket_t socket, curlsocktype purpose);
    static size_t onRead(char *buffer, size_t size, size_t count, void *userp);
    static int onProgress(void *userp, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    static int onDebug(CURL *, curl_infotype type, char *, size_t, void *userp);

    CurlTransferChannel *q;
    Protocol protocol;
    QString host;
    int port = 0;
    QString userName;
    QString password;
    TransferLimits limits;

    CURLM *multi = nullptr;
    CURL *easy = nullptr;
    QTimer timer;
    QHash<curl_socket_t, SocketWatch> sockets;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    QString operationText;
    QString url;
    QString cause; // found by our own checks; says more than curl's code for them
    QString lastError;

    bool busy = false;
    quint64 serial = 0; // states posted for an abandoned operation are dropped
    int lastState = 0;  // progress states are reported once each, in order
    bool uploading = false;
    qint64 uploadSize = 0;
    QFile upload;
    QByteArray received;
    qint64 receivedTotal = 0; // headers and server replies too: all count against the cap
    qsizetype readPos = 0;
    QByteArray urlBytes, userBytes, passwordBytes; // kept alive while curl uses them
};

void CurlTransferChannel::Private::post(int state)
{
    const bool progress = state < TransferState::Error && state != TransferState::Disconnecting &&
                          state != TransferState::Disconnected;
    if (progress) {
        if (state <= lastState)
            return;
        lastState = state;
    }
    const quint64 forOperation = serial;
    const QString reason = state == TransferState::Error ? lastError : QString();
    QMetaObject::invokeMethod(
        q,
        [this, state, forOperation, reason] {
            if (forOperation != serial)
                return;
            emit q->stateChanged(state);
            if (state == TransferState::Error && forOperation == serial)
                emit q->failed(reason);
            // Idle only once the end has been handled, so that a handler reading the
            // response cannot have it replaced by a new operation under its feet.
            if (state == TransferState::Error || state == TransferState::Completed) {
                if (forOperation == serial)
                    busy = false;
            }
        },
        Qt::QueuedConnection);
}

void CurlTransferChannel::Private::fail(const QString &why)
{
    lastError = transferFailureReason(operationText, url, why, password);
    received.clear(); // a cut-off reply is no reply
    readPos = 0;
    post(TransferState::Error);
}

bool CurlTransferChannel::Private::takeReceived(size_t bytes)
{
    receivedTotal += qint64(bytes);
    if (receivedTotal <= limits.maxReceivedBytes)
        return true;
    cause = tooLongCause(limits.maxReceivedBytes);
    return false; // curl ends the transfer with a write error
}

bool CurlTransferChannel::Private::start(const TransferOperation &op, const QString &text)
{
    ++serial;
    busy = true;
    lastState = 0;
    lastError.clear();
    cause.clear();
    operationText = text;
    received.clear();
    receivedTotal = 0;
    readPos = 0;
    errorBuffer[0] = 0;
    uploading = op.kind == TransferOperation::Put;
    url = uploading ? uploadUrl(host, port, op.remotePath, op.localFile)
                    : downloadUrl(host, port, op.remotePath);

    post(TransferState::Resolving);
    if (uploading) {
        upload.setFileName(op.localFile);
        if (!upload.open(QIODevice::ReadOnly)) {
            fail(QStringLiteral("cannot read the local file"));
            return true;
        }
        uploadSize = upload.size();
    }
    urlBytes = url.toUtf8();
    userBytes = userName.toUtf8();
    passwordBytes = password.toUtf8();

    easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_URL, urlBytes.constData());
    curl_easy_setopt(easy, CURLOPT_PRIVATE, this);
    curl_easy_setopt(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    // No limit on the whole transfer, which may be a long one on a slow line; a dead
    // line or a silent server is caught by these.
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, long(limits.connectSeconds));
    curl_easy_setopt(easy, CURLOPT_SERVER_RESPONSE_TIMEOUT, long(limits.serverResponseSeconds));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, long(limits.lowSpeedBytesPerSecond));
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, long(limits.lowSpeedSeconds));
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &Private::onHeader);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    // One connection per operation, closed at its end, as the disconnect states report.
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    // Credentials go in their own options, never in a URL that could be printed.
    if (!userName.isEmpty()) {
        curl_easy_setopt(easy, CURLOPT_USERNAME, userBytes.constData());
        curl_easy_setopt(easy, CURLOPT_PASSWORD, passwordBytes.constData());
    }
    curl_easy_setopt(easy, CURLOPT_VERBOSE, 1L); // feeds onDebug only; nothing is printed
    curl_easy_setopt(easy, CURLOPT_DEBUGFUNCTION, &Private::onDebug);
    curl_easy_setopt(easy, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &Private::onProgress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &Private::onWrite);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    if (uploading) {
        curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
        curl_easy_setopt(easy, CURLOPT_READFUNCTION, &Private::onRead);
        curl_easy_setopt(easy, CURLOPT_READDATA, this);
        curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, curl_off_t(uploadSize));
        // STOR gets the remote name as written, with no change of folder first.
        curl_easy_setopt(easy, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
        curl_easy_setopt(easy, CURLOPT_SOCKOPTFUNCTION, &Private::onSocketOpened);
        curl_easy_setopt(easy, CURLOPT_SOCKOPTDATA, this);
    } else {
        // Refused at once when the server announces a longer reply.
        curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxReceivedBytes));
        // An error page is not a forecast.
        curl_easy_setopt(easy, CURLOPT_FAILONERROR, 1L);
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
        curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    }
    curl_multi_add_handle(multi, easy);
    return true;
}

void CurlTransferChannel::Private::stopTransfer()
{
    timer.stop();
    if (easy) {
        curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);
        easy = nullptr;
    }
    upload.close();
}

void CurlTransferChannel::Private::act(curl_socket_t socket, int events)
{
    int running = 0;
    curl_multi_socket_action(multi, socket, events, &running);
    finishDone();
}

void CurlTransferChannel::Private::finishDone()
{
    int left = 0;
    while (CURLMsg *msg = curl_multi_info_read(multi, &left)) {
        if (msg->msg != CURLMSG_DONE || msg->easy_handle != easy)
            continue;
        const CURLcode result = msg->data.result;
        stopTransfer(); // closes the connection: nothing is kept between operations
        if (result == CURLE_OK) {
            post(TransferState::Receiving);
            post(TransferState::ResponseReceived);
            post(TransferState::Disconnecting);
            post(TransferState::Disconnected);
            post(TransferState::Completed);
        } else if (result == CURLE_FILESIZE_EXCEEDED) {
            fail(tooLongCause(limits.maxReceivedBytes));
        } else if (!cause.isEmpty()) {
            fail(cause);
        } else {
            QString why = QString::fromUtf8(curl_easy_strerror(result));
            if (errorBuffer[0])
                why += QLatin1String(": ") + QString::fromUtf8(errorBuffer).trimmed();
            fail(why);
        }
        break;
    }
}

// What curl has finished so far shows in its phase times; checked whenever curl calls back.
void CurlTransferChannel::Private::noteProgress()
{
    if (!easy)
        return;
    curl_off_t lookup = 0, connect = 0;
    curl_easy_getinfo(easy, CURLINFO_NAMELOOKUP_TIME_T, &lookup);
    curl_easy_getinfo(easy, CURLINFO_CONNECT_TIME_T, &connect);
    if (lookup > 0 || connect > 0) {
        post(TransferState::Resolved);
        post(TransferState::Connecting);
    }
    if (connect > 0)
        post(TransferState::Connected);
    if (uploading && uploadSize > 0) {
        curl_off_t sent = 0;
        curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &sent);
        if (sent >= uploadSize)
            post(TransferState::RequestSent);
    }
}

int CurlTransferChannel::Private::onSocket(CURL *, curl_socket_t s, int what, void *userp, void *)
{
    auto *d = static_cast<Private *>(userp);
    SocketWatch &w = d->sockets[s];
    if (what == CURL_POLL_REMOVE) {
        // Possibly called from inside the notifier's own signal: delete later.
        for (QSocketNotifier *n : {w.read.data(), w.write.data()}) {
            if (n) {
                n->setEnabled(false);
                n->deleteLater();
            }
        }
        d->sockets.remove(s);
        return 0;
    }
    const auto watch = [d, s](QPointer<QSocketNotifier> &n, QSocketNotifier::Type type,
                              bool wanted) {
        if (!n && wanted) {
            n = new QSocketNotifier(qintptr(s), type, d->q);
            const int event = type == QSocketNotifier::Read ? CURL_CSELECT_IN : CURL_CSELECT_OUT;
            QObject::connect(n, &QSocketNotifier::activated, d->q,
                             [d, s, event] { d->act(s, event); });
        }
        if (n)
            n->setEnabled(wanted);
    };
    watch(w.read, QSocketNotifier::Read, what == CURL_POLL_IN || what == CURL_POLL_INOUT);
    watch(w.write, QSocketNotifier::Write, what == CURL_POLL_OUT || what == CURL_POLL_INOUT);
    return 0;
}

int CurlTransferChannel::Private::onTimer(CURLM *, long timeoutMs, void *userp)
{
    auto *d = static_cast<Private *>(userp);
    if (timeoutMs < 0)
        d->timer.stop();
    else
        d->timer.start(
            int(qMin<long>(timeoutMs, 24L * 3600 * 1000))); // 0: at the next turn of the loop
    return 0;
}

size_t CurlTransferChannel::Private::onWrite(char *data, size_t size, size_t count, void *userp)
{
    auto *d = static_cast<Private *>(userp);
    if (!d->takeReceived(size * count))
        return 0;
    d->received.append(data, qsizetype(size * count));
    d->post(TransferState::RequestSent);
    d->post(TransferState::Receiving);
    return size * count;
}

size_t CurlTransferChannel::Private::onHeader(char *, size_t size, size_t count, void *userp)
{
    return static_cast<Private *>(userp)->takeReceived(size * count) ? size * count : 0;
}

int CurlTransferChannel::Private::onSocketOpened(void *userp, curl_socket_t socket, curlsocktype)
{
    // Keeps the kernel from queueing more of an upload than a slow line clears before
    // the server's final reply is due; curl's progress then follows the line.
    const int bytes = static_cast<Private *>(userp)->limits.sendBufferBytes;
    if (bytes > 0)
        ::setsockopt(socket, SOL_SOCKET, SO_SNDBUF, &bytes, sizeof bytes);
    return CURL_SOCKOPT_OK;
}

size_t CurlTransferChannel::Private::onRead(char *buffer, size_t size, size_t count, void *userp)
{
    auto *d = static_cast<Private *>(userp);
    const qint64 n = d->upload.read(buffer, qint64(size * count));
    return n < 0 ? CURL_READFUNC_ABORT : size_t(n);
}

int CurlTransferChannel::Private::onProgress(void *userp, curl_off_t, curl_off_t, curl_off_t,
                                             curl_off_t)
{
    static_cast<Private *>(userp)->noteProgress();
    return 0;
}

int CurlTransferChannel::Private::onDebug(CURL *, curl_infotype type, char *, size_t, void *userp)
{
    // Only the kind of each event is used; the data (which may hold the password of an
    // FTP login) is never looked at.
    auto *d = static_cast<Private *>(userp);
    d->noteProgress();
    if (type == CURLINFO_HEADER_OUT) {
        d->post(TransferState::Requesting);
        if (!d->uploading)
            d->post(TransferState::RequestSent); // an HTTP request is its header
    } else if (type == CURLINFO_HEADER_IN && d->lastState >= TransferState::RequestSent) {
        // The FTP server greets before any request; only replies after it count.
        d->post(TransferState::Receiving);
    }
    return 0;
}

CurlTransferChannel::CurlTransferChannel(Protocol protocol, QObject *parent)
    : TransferChannel(parent), d(std::make_unique<Private>(this, protocol))
{
}

CurlTransferChannel::~CurlTransferChannel() = default;

void CurlTransferChannel::setHost(const QString &host)
{
    d->host = host;
}
void CurlTransferChannel::setPort(int port)
{
    d->port = port;
}
void CurlTransferChannel::setUserName(const QString &userName)
{
    d->userName = userName;
}
void CurlTransferChannel::setPassword(const QString &password)
{
    d->password = password;
}

void CurlTransferChannel::setLimits(const TransferLimits &limits)
{
    d->limits = limits;
}

TransferLimits CurlTransferChannel::limits() const
{
    return d->limits;
}

bool CurlTransferChannel::execute(const QString &operation)
{
    if (d->busy)
        return false;
    const TransferOperation op = parseTransferOperation(operation);
    if (op.kind == TransferOperation::Invalid)
        return false;
    if (op.kind == TransferOperation::Put && d->protocol != Protocol::Ftp)
        return false;
    if (op.kind == TransferOperation::Get && d->protocol != Protocol::Http)
        return false;
    return d->start(op, operation);
}

QString CurlTransferChannel::getChunk(int maxChars)
{
    const qsizetype n = qMin<qsizetype>(qMax(0, maxChars), d->received.size() - d->readPos);
    const QString piece = QString::fromLatin1(d->received.constData() + d->readPos, n);
    d->readPos += n;
    return piece;
}

void CurlTransferChannel::cancel()
{
    if (!d->easy)
        return; // nothing running; a finished response stays readable
    d->stopTransfer();
    ++d->serial;
    d->busy = false;
    d->received.clear();
    d->readPos = 0;
}

bool CurlTransferChannel::isBusy() const
{
    return d->busy;
}

QString CurlTransferChannel::lastError() const
{
    return d->lastError;
}
