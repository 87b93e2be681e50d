#include "platform/ui/qt_message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

#include <gtest/gtest.h>

#include <vector>

using namespace velmora;

namespace {

// The text of the one box on the screen ("" when none, "<several>" when more).
QString openBox(QMessageBox** box = nullptr) {
    std::vector<QMessageBox*> open;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) open.push_back(b);
    if (box) *box = open.size() == 1 ? open.front() : nullptr;
    return open.empty() ? QString() : open.size() > 1 ? QStringLiteral("<several>") : open.front()->text();
}

void press(QMessageBox::StandardButton which) {
    QMessageBox* box = nullptr;
    openBox(&box);
    ASSERT_TRUE(box && box->button(which));
    box->button(which)->click();
}

class QtMessageBoxTest : public ::testing::Test {
protected:
    ~QtMessageBoxTest() override { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    QtMessageBoxService boxes;
};

}  // namespace

// Neither call waits; the second box appears only once the first is closed.
TEST_F(QtMessageBoxTest, BoxesInARowAppearOneAfterAnother) {
    EXPECT_EQ(boxes.show("First", "One", MsgBox::Critical | MsgBox::OkOnly), MsgBox::AnswerOk);
    EXPECT_EQ(boxes.show("Second", "Two", MsgBox::Information), MsgBox::AnswerOk);
    QMessageBox* first = nullptr;
    ASSERT_EQ(openBox(&first), "First");
    EXPECT_EQ(first->windowTitle(), "One");
    EXPECT_EQ(first->icon(), QMessageBox::Critical);
    EXPECT_EQ(first->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(first->windowModality(), Qt::ApplicationModal);

    press(QMessageBox::Ok);
    EXPECT_EQ(openBox(), "Second");
    press(QMessageBox::Ok);
    EXPECT_EQ(openBox(), "");
}

// The answer comes from the button; a box closed otherwise is a No. A box asked for by an
// answer waits behind the boxes asked for before it.
TEST_F(QtMessageBoxTest, QuestionsAnswerWithTheClickedButton) {
    std::vector<int> answers;
    auto record = [&](int answer) { answers.push_back(answer); };
    const int style = MsgBox::Question | MsgBox::YesNo;
    boxes.ask("Q1", "T", style, [&](int answer) {
        record(answer);
        boxes.show("After Q1", "T", MsgBox::OkOnly);
    });
    boxes.ask("Q2", "T", style, record);
    boxes.ask("Q3", "T", style, record);
    QMessageBox* box = nullptr;
    ASSERT_EQ(openBox(&box), "Q1");
    EXPECT_EQ(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(answers.empty());

    press(QMessageBox::Yes);
    ASSERT_EQ(openBox(), "Q2");
    press(QMessageBox::No);
    ASSERT_EQ(openBox(&box), "Q3");
    box->close();
    EXPECT_EQ(openBox(), "After Q1");
    press(QMessageBox::Ok);
    EXPECT_EQ(answers, (std::vector<int>{MsgBox::AnswerYes, MsgBox::AnswerNo, MsgBox::AnswerNo}));
}
