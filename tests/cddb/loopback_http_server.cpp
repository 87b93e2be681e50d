#include "loopback_http_server.h"

#include <QDateTime>
#include <QFile>
#include <QPointer>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

LoopbackHttpServer::LoopbackHttpServer() : server_(std::make_unique<QTcpServer>()) { listen(); }

LoopbackHttpServer::LoopbackHttpServer(const QSslCertificate& certificate, const QSslKey& key) {
    auto tls = std::make_unique<QSslServer>();
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(certificate);
    configuration.setPrivateKey(key);
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    tls->setSslConfiguration(configuration);
    server_ = std::move(tls);
    listen();
}

LoopbackHttpServer::~LoopbackHttpServer() = default;

void LoopbackHttpServer::listen() {
    startMs_ = QDateTime::currentMSecsSinceEpoch();
    server_->listen(QHostAddress::LocalHost, 0);
    QObject::connect(server_.get(), &QTcpServer::pendingConnectionAvailable, server_.get(), [this] {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                ++disconnects;
                socket->deleteLater();
            });
        }
    });
}

QString LoopbackHttpServer::hostPort() const { return QStringLiteral("127.0.0.1:%1").arg(server_->serverPort()); }

void LoopbackHttpServer::serve(QTcpSocket* socket) {
    QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
    for (qsizetype end; (end = pending.indexOf("\r\n\r\n")) >= 0;) {
        const QByteArray head = pending.left(end);
        pending.remove(0, end + 4);
        const qsizetype lineEnd = head.indexOf("\r\n");
        const Request request{head.left(lineEnd < 0 ? head.size() : lineEnd).split(' ').value(1),
                              lineEnd < 0 ? QByteArray() : head.mid(lineEnd + 2),
                              QDateTime::currentMSecsSinceEpoch() - startMs_};
        const int index = static_cast<int>(requests.size());
        requests.push_back(request);
        const Answer a = script ? script(request, index) : Answer{};
        if (a.delayMs > 0) {
            QTimer::singleShot(a.delayMs, socket, [socket, a] { answer(socket, a); });
        } else {
            answer(socket, a);
        }
    }
    socket->setProperty("pending", pending);
}

void LoopbackHttpServer::answer(QTcpSocket* socket, const Answer& a) {
    switch (a.kind) {
    case Answer::Kind::Silent:
        return;
    case Answer::Kind::Close:
        socket->disconnectFromHost();
        return;
    case Answer::Kind::Flood:
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n");
        socket->write(QByteArray(a.floodBytes, 'x'));
        socket->disconnectFromHost();
        return;
    case Answer::Kind::Reply:
        break;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(a.status) + (a.status < 400 ? " OK" : " Error") +
                      "\r\nContent-Type: " + a.contentType +
                      "\r\nContent-Length: " + QByteArray::number(a.body.size()) + "\r\n" + a.extraHeaders;
    if (!a.location.isEmpty()) head += "Location: " + a.location + "\r\n";
    socket->write(head + "\r\n" + a.body);
}

TestCertificate makeTestCertificate() {
    QTemporaryDir dir;
    const QString key = dir.filePath(QStringLiteral("key.pem"));
    const QString certificate = dir.filePath(QStringLiteral("certificate.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  QStringList{"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1", "-subj", "/CN=127.0.0.1",
                              "-addext", "subjectAltName=IP:127.0.0.1", "-keyout", key, "-out", certificate});
    if (!openssl.waitForFinished(60000) || openssl.exitCode() != 0) return {};
    QFile keyFile(key);
    QFile certificateFile(certificate);
    if (!keyFile.open(QIODevice::ReadOnly) || !certificateFile.open(QIODevice::ReadOnly)) return {};
    return {QSslCertificate(certificateFile.readAll()), QSslKey(keyFile.readAll(), QSsl::Rsa)};
}
