#include "shared/clean_text.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(CleanText, ControlCharactersGoTabsAndLineBreaksBecomeBlanks) {
    const struct {
        QString in;
        QString out;
    } cases[] = {
        {QStringLiteral("Plain \u00e9t\u00e9 \u20ac \u65e5\u672c"),
         QStringLiteral("Plain \u00e9t\u00e9 \u20ac \u65e5\u672c")},
        {QStringLiteral("a\tb\r\nc"), QStringLiteral("a b  c")},
        {QString::fromUtf16(u"x\u0001\u001b[2Jy\u007f\u0080\u009bz\u00a0"), QString::fromUtf16(u"x[2Jyz\u00a0")},
        {QString(QChar(u'\0')) + QStringLiteral("n"), QStringLiteral("n")},
    };
    for (const auto& c : cases) EXPECT_EQ(cleanExternalText(c.in), c.out) << c.in.toStdString();
}
