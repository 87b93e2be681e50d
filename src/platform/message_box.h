#pragma once

#include <QString>

#include <functional>
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

// Boxes are modal to the application but never wait for the user: the caller goes on at once.
// Boxes appear one after another in the order they were asked for.
class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // An OK-only box (the style's icon, an OK button); returns MsgBox::AnswerOk at once.
    virtual int show(const QString& text, const QString& title, int style) = 0;
    // A question with Yes and No; `answered` gets MsgBox::AnswerYes or AnswerNo once the user
    // has answered (a box closed any other way is a No).
    virtual void ask(const QString& text, const QString& title, int style,
                     std::function<void(int answer)> answered) = 0;
};

// Test double: records every box and answers questions at once with `yesNoAnswer`.
class RecordingMessageBoxes final : public MessageBoxService {
public:
    struct Shown {
        QString text;
        QString title;
        int style;
    };
    int show(const QString& text, const QString& title, int style) override {
        shown.push_back({text, title, style});
        return MsgBox::AnswerOk;
    }
    void ask(const QString& text, const QString& title, int style, std::function<void(int)> answered) override {
        shown.push_back({text, title, style});
        if (answered) answered(yesNoAnswer);
    }
    std::vector<Shown> shown;
    int yesNoAnswer = MsgBox::AnswerNo;
};

}  // namespace velmora
