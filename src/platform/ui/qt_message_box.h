#pragma once

#include "platform/message_box.h"

#include <QPointer>

#include <deque>

class QMessageBox;

namespace velmora {

// Message boxes on the desktop: application-modal, shown without waiting, one at a time.
// A box asked for while another is open appears when that one is closed.
class QtMessageBoxService final : public MessageBoxService {
public:
    QtMessageBoxService() = default;
    ~QtMessageBoxService() override;
    QtMessageBoxService(const QtMessageBoxService&) = delete;
    QtMessageBoxService& operator=(const QtMessageBoxService&) = delete;

    int show(const QString& text, const QString& title, int style) override;
    void ask(const QString& text, const QString& title, int style, std::function<void(int)> answered) override;

private:
    struct Request {
        QString text;
        QString title;
        int style;
        bool question;
        std::function<void(int)> answered;
    };
    void enqueue(Request request);
    void showNext();

    std::deque<Request> waiting_;
    QPointer<QMessageBox> current_;
    bool answering_ = false;  // a box's answer is being handed out: it still counts as open
};

}  // namespace velmora
