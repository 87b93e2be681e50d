#include "platform/ui/qt_message_box.h"

#include <QMessageBox>

namespace velmora {

namespace {

QMessageBox::Icon iconOf(int style) {
    const int icon = style & 0x70;
    return icon == MsgBox::Critical      ? QMessageBox::Critical
           : icon == MsgBox::Question    ? QMessageBox::Question
           : icon == MsgBox::Information ? QMessageBox::Information
                                         : QMessageBox::NoIcon;
}

}  // namespace

QtMessageBoxService::~QtMessageBoxService() {
    waiting_.clear();
    delete current_.data();
}

int QtMessageBoxService::show(const QString& text, const QString& title, int style) {
    enqueue({text, title, style, false, {}});
    return MsgBox::AnswerOk;
}

void QtMessageBoxService::ask(const QString& text, const QString& title, int style, std::function<void(int)> answered) {
    enqueue({text, title, style, true, std::move(answered)});
}

void QtMessageBoxService::enqueue(Request request) {
    waiting_.push_back(std::move(request));
    if (!current_ && !answering_) showNext();
}

void QtMessageBoxService::showNext() {
    if (waiting_.empty()) return;
    Request request = std::move(waiting_.front());
    waiting_.pop_front();

    auto* box = new QMessageBox(iconOf(request.style), request.title, request.text,
                                request.question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    current_ = box;
    QObject::connect(box, &QDialog::finished, box,
                     [this, box, question = request.question, answered = std::move(request.answered)] {
                         if (current_ != box) return;
                         // Escape and the window's close button count as No.
                         const bool yes = box->standardButton(box->clickedButton()) == QMessageBox::Yes;
                         current_ = nullptr;
                         // Boxes asked for by the answer wait behind those already waiting.
                         answering_ = true;
                         if (question && answered) answered(yes ? MsgBox::AnswerYes : MsgBox::AnswerNo);
                         answering_ = false;
                         showNext();
                     });
    box->show();
}

}  // namespace velmora
