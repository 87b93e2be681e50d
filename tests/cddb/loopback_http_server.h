#pragma once

#include <QByteArray>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>

#include <functional>
#include <memory>
#include <vector>

// A keep-alive HTTP/1.1 server on 127.0.0.1 (a free port, the caller's thread) answering as
// `script` says; HTTPS when given a certificate and key.
class LoopbackHttpServer {
public:
    struct Answer {
        enum class Kind { Reply, Close, Silent, Flood };
        Kind kind = Kind::Reply;
        int status = 200;
        QByteArray body;
        QByteArray location;    // sent as Location when set
        qint64 floodBytes = 0;  // Flood: this many bytes with no length given, then close
        QByteArray contentType = "text/plain";
        QByteArray extraHeaders = {};  // whole lines, each ended by CR LF
        int delayMs = 0;               // the answer comes this much later
    };
    static Answer reply(QByteArray body, int status = 200) {
        return {Answer::Kind::Reply, status, std::move(body), {}, 0};
    }
    static Answer of(Answer::Kind kind, qint64 floodBytes = 0) { return {kind, 200, {}, {}, floodBytes}; }
    static Answer redirect(QByteArray location) { return {Answer::Kind::Reply, 302, {}, std::move(location), 0}; }

    struct Request {
        QByteArray target;   // "/path?query" of "GET /path?query HTTP/1.1"
        QByteArray headers;  // the header lines as sent
        qint64 atMs = 0;     // when it arrived, on the server's clock
    };

    LoopbackHttpServer();
    LoopbackHttpServer(const QSslCertificate& certificate, const QSslKey& key);
    ~LoopbackHttpServer();
    // "127.0.0.1:port", the host part of a URL to this server.
    QString hostPort() const;

    // Answers request `index` (counted from 0 over the server's life); default: 200, empty.
    std::function<Answer(const Request& request, int index)> script;
    std::vector<Request> requests;
    int disconnects = 0;  // connections the client has closed

private:
    void listen();
    void serve(QTcpSocket* socket);
    static void answer(QTcpSocket* socket, const Answer& answer);
    std::unique_ptr<QTcpServer> server_;
    qint64 startMs_ = 0;
};

// A certificate for 127.0.0.1 and its key, made afresh by the openssl program.
struct TestCertificate {
    QSslCertificate certificate = QSslCertificate();
    QSslKey key = QSslKey();
};
TestCertificate makeTestCertificate();
