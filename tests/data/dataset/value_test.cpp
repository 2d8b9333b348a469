// Cell values and fixed-point numbers.

#include "data/dataset/values/value.h"
#include "platform/system/convert_error.h"

#include <gtest/gtest.h>

TEST(Bcd, PrintsWithItsScale) {
    EXPECT_EQ((TBcd{12345, 2}).ToString(), QStringLiteral("123.45"));
    EXPECT_EQ((TBcd{-5, 2}).ToString(), QStringLiteral("-0.05"));
    EXPECT_EQ((TBcd{7, 0}).ToString(), QStringLiteral("7"));
    EXPECT_EQ((TBcd{100, 2}).ToString(), QStringLiteral("1.00"));
    EXPECT_EQ((TBcd{std::numeric_limits<qint64>::min(), 0}).ToString(),
              QStringLiteral("-9223372036854775808"));
}

TEST(Bcd, ParsesAndRescales) {
    EXPECT_EQ(TBcd::Parse(u"123.45"), (TBcd{12345, 2}));
    EXPECT_EQ(TBcd::Parse(u" -0,5 ")->scaled, -5);
    EXPECT_EQ(TBcd::Parse(u"abc"), std::nullopt);
    EXPECT_EQ(TBcd::Parse(u"1.2.3"), std::nullopt);
    EXPECT_EQ(TBcd::Parse(u""), std::nullopt);
    EXPECT_EQ((TBcd{12345, 3}).Rescaled(2).scaled, 1235); // 12.345 -> 12.35
    EXPECT_EQ((TBcd{-12345, 3}).Rescaled(2).scaled, -1235);
    EXPECT_EQ((TBcd{15, 1}).Rescaled(3).scaled, 1500);
    EXPECT_TRUE((TBcd{150, 2}) == (TBcd{15, 1}));
    EXPECT_EQ(TBcd::FromDouble(0.1), (TBcd{1, 1}));
    EXPECT_EQ(TBcd::FromDouble(1234567890123.45).ToString(), QStringLiteral("1234567890123.45"));
    EXPECT_THROW((TBcd{Q_INT64_C(9000000000000000000), 0}).Rescaled(2), EConvertError);
}

TEST(Value, ConvertsBetweenKinds) {
    EXPECT_TRUE(TValue().IsNull());
    EXPECT_EQ(TValue().AsString(), QString());
    EXPECT_EQ(TValue().AsInteger(), 0);
    EXPECT_EQ(TValue(QStringLiteral(" 42 ")).AsInteger(), 42);
    EXPECT_EQ(TValue(2.5).AsInteger(), 3);
    EXPECT_EQ(TValue(TBcd{1250, 2}).AsFloat(), 12.5);
    EXPECT_EQ(TValue(QStringLiteral("12.50")).AsBcd(), (TBcd{125, 1}));
    EXPECT_EQ(TValue(7).AsString(), QStringLiteral("7"));
    EXPECT_EQ(TValue(true).AsString(), QStringLiteral("True"));
    EXPECT_TRUE(TValue(QStringLiteral("true")).AsBoolean());
    EXPECT_EQ(TValue(QStringLiteral("Compañía €")).AsBytes(), QByteArray("Compa\xF1\xED"
                                                                         "a \x80"));
    EXPECT_EQ(TValue(QByteArray("\x80")).AsString(), QString(QChar(0x20AC)));
    EXPECT_EQ(TValue(TDateTime(43101.5)).AsFloat(), 43101.5);
    EXPECT_THROW(TValue(QStringLiteral("x")).AsInteger(), EConvertError);
    EXPECT_THROW(TValue(QStringLiteral("x")).AsFloat(), EConvertError);
    EXPECT_THROW(TValue(QStringLiteral("x")).AsDateTime(), EConvertError);
}

TEST(Value, ComparesKindAndValue) {
    EXPECT_EQ(TValue(), TValue::Null());
    EXPECT_EQ(TValue(1), TValue(qint64(1)));
    EXPECT_FALSE(TValue(1) == TValue(QStringLiteral("1")));
    EXPECT_FALSE(TValue(1) == TValue());
    EXPECT_EQ(TValue(QStringLiteral("a")).GetKind(), TValue::Kind::String);
}
