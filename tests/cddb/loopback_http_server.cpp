#include "loopback_http_server.h"

#include <QTcpSocket>

LoopbackHttpServer::LoopbackHttpServer() {
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket* socket = server_.nextPendingConnection()) {
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { serve(socket); });
            QObject::connect(socket, &QTcpSocket::disconnected, socket, [this, socket] {
                ++disconnects;
                socket->deleteLater();
            });
        }
    });
}

QString LoopbackHttpServer::hostPort() const { return QStringLiteral("127.0.0.1:%1").arg(server_.serverPort()); }

void LoopbackHttpServer::serve(QTcpSocket* socket) {
    QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
    for (qsizetype end; (end = pending.indexOf("\r\n\r\n")) >= 0;) {
        const QByteArray head = pending.left(end);
        pending.remove(0, end + 4);
        const qsizetype lineEnd = head.indexOf("\r\n");
        const Request request{head.left(lineEnd < 0 ? head.size() : lineEnd).split(' ').value(1),
                              lineEnd < 0 ? QByteArray() : head.mid(lineEnd + 2)};
        const int index = static_cast<int>(requests.size());
        requests.push_back(request);
        answer(socket, script ? script(request, index) : Answer{});
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
                      "\r\nContent-Type: text/plain\r\nContent-Length: " + QByteArray::number(a.body.size()) + "\r\n";
    if (!a.location.isEmpty()) head += "Location: " + a.location + "\r\n";
    socket->write(head + "\r\n" + a.body);
}
