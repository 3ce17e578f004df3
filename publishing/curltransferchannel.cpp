// libcurl's multi interface on Qt socket notifiers and a timer: no threads, and every
// state is delivered from the event loop, outside libcurl's callbacks, so that its
// handlers may cancel or start operations.
#include "publishing/curltransferchannel_p.h"

#include "publishing/transferoperation.h"

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

} // namespace

CurlTransferChannel::Private::Private(CurlTransferChannel *q, Protocol protocol)
    : q(q), protocol(protocol)
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

CurlTransferChannel::Private::~Private()
{
    stopTransfer();
    curl_multi_cleanup(multi);
    for (SocketWatch &w : sockets) {
        delete w.read;
        delete w.write;
    }
}

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

void CurlTransferChannel::Private::note(const QString &text)
{
    const quint64 forOperation = serial;
    QMetaObject::invokeMethod(
        q,
        [this, forOperation, text] {
            if (forOperation == serial)
                emit q->noted(text);
        },
        Qt::QueuedConnection);
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
        } else {
            failWith(result);
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

void CurlTransferChannel::setTrust(const TransferTrust &trust)
{
    d->trust = trust;
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
