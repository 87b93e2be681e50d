#include "platform/ui/qt_message_box.h"

#include <QMessageBox>

namespace velmora {

int QtMessageBoxService::show(const QString& text, const QString& title, int style) {
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(text);
    const int icon = style & 0x70;
    box.setIcon(icon == MsgBox::Critical      ? QMessageBox::Critical
                : icon == MsgBox::Question    ? QMessageBox::Question
                : icon == MsgBox::Information ? QMessageBox::Information
                                              : QMessageBox::NoIcon);
    if (style & MsgBox::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? MsgBox::AnswerYes : MsgBox::AnswerNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return MsgBox::AnswerOk;
}

}  // namespace velmora
