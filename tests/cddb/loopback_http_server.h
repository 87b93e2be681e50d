#pragma once

#include <QByteArray>
#include <QTcpServer>

#include <functional>
#include <vector>

// A keep-alive HTTP/1.1 server on 127.0.0.1 (a free port, the caller's thread) answering as `script` says.
class LoopbackHttpServer {
public:
    struct Answer {
        enum class Kind { Reply, Close, Silent, Flood };
        Kind kind = Kind::Reply;
        int status = 200;
        QByteArray body;
        QByteArray location;    // sent as Location when set
        qint64 floodBytes = 0;  // Flood: this many bytes with no length given, then close
    };
    static Answer reply(QByteArray body, int status = 200) {
        return {Answer::Kind::Reply, status, std::move(body), {}, 0};
    }
    static Answer of(Answer::Kind kind, qint64 floodBytes = 0) { return {kind, 200, {}, {}, floodBytes}; }
    static Answer redirect(QByteArray location) { return {Answer::Kind::Reply, 302, {}, std::move(location), 0}; }

    struct Request {
        QByteArray target;   // "/path?query" of "GET /path?query HTTP/1.1"
        QByteArray headers;  // the header lines as sent
    };

    LoopbackHttpServer();
    // "127.0.0.1:port", the host part of a URL to this server.
    QString hostPort() const;

    // Answers request `index` (counted from 0 over the server's life); default: 200, empty.
    std::function<Answer(const Request& request, int index)> script;
    std::vector<Request> requests;
    int disconnects = 0;  // connections the client has closed

private:
    void serve(QTcpSocket* socket);
    static void answer(QTcpSocket* socket, const Answer& answer);
    QTcpServer server_;
};
