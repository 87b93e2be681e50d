#pragma once

#include <QString>

#include <vector>

namespace velmora {

// Message box styles and answers, as the program's callers spell them.
namespace MsgBox {
inline constexpr int OkOnly = 0;
inline constexpr int YesNo = 4;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Information = 64;
inline constexpr int AnswerOk = 1;
inline constexpr int AnswerYes = 6;
inline constexpr int AnswerNo = 7;
}  // namespace MsgBox

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows a modal box and returns the answer (MsgBox::AnswerOk, AnswerYes, AnswerNo).
    virtual int show(const QString& text, const QString& title, int style) = 0;
};

// Test double: records every box and answers from a script (OK, or the default answer).
class RecordingMessageBoxes final : public MessageBoxService {
public:
    struct Shown {
        QString text;
        QString title;
        int style;
    };
    int show(const QString& text, const QString& title, int style) override {
        shown.push_back({text, title, style});
        return (style & MsgBox::YesNo) ? yesNoAnswer : MsgBox::AnswerOk;
    }
    std::vector<Shown> shown;
    int yesNoAnswer = MsgBox::AnswerNo;
};

}  // namespace velmora
