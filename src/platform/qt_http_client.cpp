#include "platform/qt_http_client.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QSslError>
#include <QStringList>
#include <QThread>
#include <QTimer>
#include <QUrl>

namespace tessaly {

namespace {

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// Methods that only read: following their redirects cannot write twice, and the
// service discovery sends PROPFIND to a well-known address that servers redirect.
bool FollowsRedirects(const std::string& method) {
    return method == "GET" || method == "HEAD" || method == "PROPFIND";
}

bool SameOrigin(const QUrl& a, const QUrl& b) {
    return a.scheme() == b.scheme() && a.host() == b.host() &&
           a.port(a.scheme() == "https" ? 443 : 80) == b.port(b.scheme() == "https" ? 443 : 80);
}

// Errors of the connection itself, after which whatever arrived is not a whole answer:
// refused, dropped, timed out, TLS refused, proxy trouble, unknown network faults.
bool IsTransportError(QNetworkReply::NetworkError error) {
    const int code = static_cast<int>(error);
    return (code > 0 && code < 200) || error == QNetworkReply::ProtocolFailure ||
           error == QNetworkReply::ProtocolUnknownError;
}

THttpResponse Failed(std::string why) {
    THttpResponse response;
    response.Error = std::move(why);
    return response;
}

constexpr const char* kBrokenOff = "the exchange with the server was broken off: the program is "
                                   "ending";

bool BreakOffAsked() {
    return QThread::currentThread()->isInterruptionRequested();
}

} // namespace

TQtHttpClient::TQtHttpClient(THttpClientOptions options) : options_(std::move(options)) {}

TQtHttpClient::~TQtHttpClient() = default;

THttpResponse TQtHttpClient::Send(const THttpRequest& request) {
    if (!QCoreApplication::instance())
        return Failed("the network needs a Qt application in this process");
    if (!manager_)
        MakeManager();
    if (BreakOffAsked())
        return Failed(kBrokenOff);
    THttpRequest current = request;
    bool withAuth = true;
    for (int hop = 0;; ++hop) {
        bool lost = false;
        THttpResponse response = SendOnce(current, withAuth, lost);
        if (lost) {
            // The old connections and whatever the network layer still holds go.
            MakeManager();
            response = SendOnce(current, withAuth, lost);
            if (lost)
                return Failed("no sign of an answer within " +
                              std::to_string(options_.LostRequestMs / 1000) + " s from " +
                              current.Url + ", twice");
        }
        if (!FollowsRedirects(current.Method) || !IsRedirect(response.Status))
            return response;
        const std::string* location = response.Header("Location");
        if (!location)
            return response;
        if (hop >= options_.MaxRedirects)
            return Failed("more than " + std::to_string(options_.MaxRedirects) +
                          " redirects from " + request.Url);
        const QUrl from = QUrl::fromEncoded(QByteArray::fromStdString(current.Url));
        const QUrl to = from.resolved(QUrl::fromEncoded(QByteArray::fromStdString(*location)));
        if (from.scheme() == "https" && to.scheme() != "https")
            return Failed("refused a redirect from https to " + to.toString().toStdString());
        // Credentials go only where they were meant for.
        withAuth = withAuth && SameOrigin(from, to);
        current.Url = to.toEncoded().toStdString();
    }
}

void TQtHttpClient::MakeManager() {
    manager_ = std::make_unique<QNetworkAccessManager>();
    // Nothing of an environment's proxy settings: the address given is the one used.
    manager_->setProxy(QNetworkProxy::NoProxy);
}

THttpResponse TQtHttpClient::SendOnce(const THttpRequest& request, bool withAuth, bool& lost) {
    lost = false;
    const QUrl url = QUrl::fromEncoded(QByteArray::fromStdString(request.Url), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != "http" && url.scheme() != "https") ||
        url.host().isEmpty())
        return Failed("not an http or https address: " + request.Url);

    QNetworkRequest req(url);
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                     QNetworkRequest::ManualRedirectPolicy);
    req.setTransferTimeout(options_.IdleTimeoutMs);
    req.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Tessaly/3.0"));
    for (const auto& [name, value] : request.Headers)
        req.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
    if (withAuth && !options_.User.empty()) {
        const QByteArray pair = QByteArray::fromStdString(options_.User + ':' + options_.Password);
        req.setRawHeader("Authorization", "Basic " + pair.toBase64());
    }

    std::unique_ptr<QNetworkReply> reply(manager_->sendCustomRequest(
        req, QByteArray::fromStdString(request.Method), QByteArray::fromStdString(request.Body)));
    // Certificate faults are collected for the message and never ignored: the
    // handshake then fails and the exchange with it.
    QStringList certificateFaults;
    QObject::connect(reply.get(), &QNetworkReply::sslErrors,
                     [&certificateFaults](const QList<QSslError>& errors) {
                         for (const QSslError& e : errors)
                             certificateFaults << e.errorString();
                     });
    bool brokenOff = false;
    bool underWay = false;
    const auto seen = [&underWay] { underWay = true; };
    QObject::connect(reply.get(), &QNetworkReply::requestSent, seen);
    QObject::connect(reply.get(), &QNetworkReply::metaDataChanged, seen);
    QObject::connect(reply.get(), &QNetworkReply::uploadProgress,
                     [&underWay](qint64 sent, qint64) { underWay = underWay || sent > 0; });
    QObject::connect(reply.get(), &QNetworkReply::downloadProgress,
                     [&underWay](qint64 received, qint64) { underWay = underWay || received > 0; });
    if (!reply->isFinished()) {
        QEventLoop loop;
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QElapsedTimer waited;
        waited.start();
        // A thread asked to end does not wait minutes for a server that says nothing,
        // nor does anyone wait on a request that never left.
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, &loop, [&] {
            if (BreakOffAsked()) {
                brokenOff = true;
                reply->abort();
            } else if (!underWay && waited.elapsed() > options_.LostRequestMs) {
                lost = true;
                reply->abort();
            }
        });
        watch.start(50);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (brokenOff)
        return Failed(kBrokenOff);
    if (lost)
        return {};

    THttpResponse response;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (IsTransportError(reply->error()) || !status.isValid()) {
        std::string why = reply->errorString().toStdString();
        if (!certificateFaults.isEmpty())
            why += " (" + certificateFaults.join("; ").toStdString() + ")";
        if (reply->error() == QNetworkReply::OperationCanceledError)
            why = "no answer within " + std::to_string(options_.IdleTimeoutMs / 1000) + " s from " +
                  request.Url;
        return Failed(why);
    }
    response.Status = status.toInt();
    for (const auto& [name, value] : reply->rawHeaderPairs())
        response.Headers.emplace_back(name.toStdString(), value.toStdString());
    response.Body = reply->readAll().toStdString();
    return response;
}

} // namespace tessaly
