#include "shared/reply_parse.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {
const QString kNul(QChar(u'\0'));
}

TEST(ReplyParse, NumericValueReadsTheLeadingNumberOnly) {
    struct Case {
        QString text;
        std::int64_t value;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"12", 12},
        {"  7x", 7},
        {"\t-40", -40},
        {"+5", 5},
        {"- 5", 0},
        {"05:02:13", 5},
        {"3" + kNul + "9", 3},
        {QString::fromUtf8("\xd9\xa3"), 0},  // a non-ASCII digit
    };
    for (const auto& tc : cases) EXPECT_EQ(numericValue(tc.text), tc.value) << tc.text.toStdString();
    // A number too long for any reply stops growing rather than wrapping negative.
    EXPECT_GT(numericValue(QString(40, u'9')), 0);
}

TEST(ReplyParse, FieldsOfPositionAndLengthReplies) {
    struct Case {
        QString text;
        int first, last;
        std::int64_t value;
    } cases[] = {
        {"05:02:13:40", 1, 2, 5}, {"05:02:13:40", 4, 5, 2}, {"05:02:13:40", 7, 8, 13}, {"05", 7, 8, 0}, {"", 1, 2, 0},
        {"5", 1, 2, 5},           {"05:02:13:40", 0, 2, 0}, {"05:02:13:40", 3, 2, 0},
    };
    for (const auto& tc : cases)
        EXPECT_EQ(wholeNumberAt(tc.text, tc.first, tc.last), tc.value)
            << tc.text.toStdString() << " " << tc.first << "-" << tc.last;

    struct Length {
        QString text;
        int seconds;
    } lengths[] = {{"04:07:33", 247}, {"00:00:50", 0}, {"", 0}, {"4", 240}, {"04:", 240}, {"xx:10:00", 10}};
    for (const auto& tc : lengths) EXPECT_EQ(lengthInSeconds(tc.text), tc.seconds) << tc.text.toStdString();
}

TEST(ReplyParse, StrictWholeNumbersAndTextBeforeNul) {
    struct Case {
        QString text;
        std::optional<std::int64_t> value;
    } cases[] = {{"12", 12}, {" -3 ", -3}, {"", std::nullopt}, {"1.5", std::nullopt}, {"12px", std::nullopt}};
    for (const auto& tc : cases) EXPECT_EQ(strictWholeNumber(tc.text), tc.value) << tc.text.toStdString();

    EXPECT_EQ(beforeNul("Title" + kNul), "Title");
    EXPECT_EQ(beforeNul("A" + kNul + "B"), "A");
    EXPECT_EQ(beforeNul("plain"), "plain");
}
