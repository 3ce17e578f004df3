// The state of one libcurl transfer channel, for the two files that drive it: the event
// loop side in curltransferchannel.cpp, the start of an operation and curl's data
// callbacks in curltransferstart.cpp.
#pragma once

#include "publishing/curltransferchannel.h"

#include <QFile>
#include <QHash>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>

#include <curl/curl.h>

struct TransferOperation;

struct SocketWatch
{
    QPointer<QSocketNotifier> read;
    QPointer<QSocketNotifier> write;
};

class CurlTransferChannel::Private
{
public:
    Private(CurlTransferChannel *q, Protocol protocol);
    ~Private();

    bool start(const TransferOperation &op, const QString &text);
    void stopTransfer();
    void act(curl_socket_t socket, int events);
    void finishDone();
    void post(int state);
    void fail(const QString &cause);
    void failWith(CURLcode result);
    bool takeReceived(size_t bytes);
    void note(const QString &text);
    bool applyTrust();
    void noteProgress();

    static int onSocket(CURL *, curl_socket_t s, int what, void *userp, void *);
    static int onTimer(CURLM *, long timeoutMs, void *userp);
    static size_t onWrite(char *data, size_t size, size_t count, void *userp);
    static size_t onHeader(char *data, size_t size, size_t count, void *userp);
    static int onSocketOpened(void *userp, curl_socket_t socket, curlsocktype purpose);
    static size_t onRead(char *buffer, size_t size, size_t count, void *userp);
    static int onProgress(void *userp, curl_off_t, curl_off_t, curl_off_t, curl_off_t);
    static int onDebug(CURL *, curl_infotype type, char *, size_t, void *userp);
    static int onHostKey(CURL *, const curl_khkey *, const curl_khkey *, curl_khmatch match,
                         void *userp);

    CurlTransferChannel *q;
    Protocol protocol;
    QString host;
    int port = 0;
    QString userName;
    QString password;
    TransferLimits limits;
    TransferTrust trust;

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
    QByteArray knownHostsBytes, caFileBytes, pinnedKeyBytes;
};
