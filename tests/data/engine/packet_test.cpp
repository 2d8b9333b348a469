// Data packets: cells of every kind read back as written, the byte form and
// its refusal of anything that is not a packet.

#include "engine_fixture.h"
#include "platform/core/exception.h"
#include "platform/system/convert_error.h"

#include <gtest/gtest.h>
#include <ostream>

using namespace enginetest;

namespace {

struct CellCase {
    const char* name;
    TFieldType type;
    int scale;
    TValue written;
    TValue expected;
};

void PrintTo(const CellCase& c, std::ostream* os) {
    *os << c.name;
}

class PacketCells : public ::testing::TestWithParam<CellCase> {};

TEST_P(PacketCells, ReadBackAsWritten) {
    const CellCase& c = GetParam();
    TPacketColumn column;
    column.name = QStringLiteral("X");
    column.type = c.type;
    column.scale = c.scale;
    // A second column behind it checks that the cell's slot does not overlap.
    TPacketColumn after;
    after.name = QStringLiteral("Y");
    after.type = ftString;
    TDataPacket packet({column, after});
    const TValue row[] = {c.written, "end"};
    packet.AppendRow(row);
    const TValue nulls[] = {TValue(), TValue()};
    packet.AppendRow(nulls);

    EXPECT_EQ(packet.Cell(0, 0), c.expected);
    EXPECT_EQ(packet.Cell(0, 1), TValue("end"));
    EXPECT_TRUE(packet.Cell(1, 0).IsNull());
    EXPECT_TRUE(packet.Cell(1, 1).IsNull());
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PacketCells,
    ::testing::Values(
        CellCase{"smallint", ftSmallint, 0, -32768, qint64(-32768)},
        CellCase{"integer", ftInteger, 0, 2147483647, qint64(2147483647)},
        CellCase{"largeint", ftLargeint, 0, qint64(-9000000000000000000),
                 qint64(-9000000000000000000)},
        CellCase{"boolean", ftBoolean, 0, true, true}, CellCase{"float", ftFloat, 0, 2.5, 2.5},
        CellCase{"bcd rescaled", ftBCD, 2, TBcd{12345, 3}, TBcd{1235, 2}},
        CellCase{"bcd from text", ftFMTBcd, 4, "-0.05", TBcd{-500, 4}},
        CellCase{"datetime", ftTimeStamp, 0, TDateTime(43101.5), TDateTime(43101.5)},
        CellCase{"ansi text", ftString, 0, QStringLiteral("Año 5€ ñÑ"),
                 QStringLiteral("Año 5€ ñÑ")},
        CellCase{"empty text is not null", ftString, 0, "", ""},
        CellCase{"wide text", ftWideString, 0, QStringLiteral("Ωμέγα"), QStringLiteral("Ωμέγα")},
        CellCase{"bytes with zero", ftVarBytes, 0, QByteArray("a\0b", 3), QByteArray("a\0b", 3)},
        CellCase{"blob", ftBlob, 0, QByteArray("\xFF\xD8\xFF", 3), QByteArray("\xFF\xD8\xFF", 3)},
        CellCase{"memo", ftMemo, 0, QStringLiteral("línea"), QStringLiteral("línea")}),
    [](const auto& info) {
        QString name = QString::fromLatin1(info.param.name);
        name.replace(QLatin1Char(' '), QLatin1Char('_'));
        return name.toStdString();
    });

TEST(PacketRows, RefuseValuesThatDoNotFit) {
    TPacketColumn small;
    small.name = QStringLiteral("S");
    small.type = ftSmallint;
    TDataPacket packet({small});
    const TValue tooBig[] = {40000};
    EXPECT_THROW(packet.AppendRow(tooBig), EConvertError);
    const TValue notNumber[] = {"abc"};
    EXPECT_THROW(packet.AppendRow(notNumber), EConvertError);
}

TEST(PacketRows, TypedWriterSkipsConversion) {
    TDataPacket packet(ArticleColumns());
    TRowWriter& row = packet.BeginRow();
    row.SetBytes(CODIGO, "A\xF1"); // 8-bit text taken as it is
    row.SetInteger(CATEG, 7);
    row.SetBcd(PRECIO, TBcd{5, 0});
    row.SetBlob(FOTO, QByteArray("jpeg"));
    packet.EndRow();
    TRowWriter& next = packet.BeginRow(); // starts all null again
    next.SetInteger(CATEG, 8);
    packet.EndRow();

    EXPECT_EQ(packet.Cell(0, CODIGO), TValue(QStringLiteral("Añ")));
    EXPECT_EQ(packet.Cell(0, PRECIO), TValue(TBcd{500, 2}));
    EXPECT_EQ(packet.Cell(0, FOTO), TValue(QByteArray("jpeg")));
    EXPECT_TRUE(packet.Cell(1, CODIGO).IsNull());
    EXPECT_TRUE(packet.Cell(1, FOTO).IsNull());
    EXPECT_EQ(packet.Cell(1, CATEG), TValue(8));
}

TEST(PacketBytes, RoundTrip) {
    std::vector<TPacketColumn> columns = ArticleColumns();
    columns[CODIGO].required = true;
    columns[UNIDAD].readOnly = true;
    columns[CATEG].provFlags = pfInUpdate | pfInKey;
    columns[CATEG].origin = QStringLiteral("CATE_ID");
    TDataPacket packet(columns);
    packet.SetLcid(0x0C0A);
    packet.SetLast(true);
    const TValue a[] = {"01", "Tornillo", "PZA", 3, 4, TBcd{1050, 2}, QByteArray("foto"), "S"};
    const TValue b[] = {"02", TValue(), "KG", TValue(), 5, TBcd{0, 2}, TValue(), "N"};
    packet.AppendRow(a);
    packet.AppendRow(b);

    const TDataPacket back = TDataPacket::FromBytes(packet.ToBytes());
    EXPECT_EQ(back.Columns(), columns);
    EXPECT_EQ(back.Lcid(), 0x0C0Au);
    EXPECT_TRUE(back.IsLast());
    ASSERT_EQ(back.RowCount(), 2);
    for (int col = 0; col < 8; ++col) {
        EXPECT_EQ(back.Cell(0, col), a[col]) << col;
        EXPECT_EQ(back.Cell(1, col), packet.Cell(1, col)) << col;
    }
}

TEST(PacketBytes, InvalidDataPacket) {
    auto expectInvalid = [](const QByteArray& bytes) {
        try {
            TDataPacket::FromBytes(bytes);
            ADD_FAILURE() << "accepted " << bytes.size() << " bytes";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Invalid data packet"));
        }
    };
    expectInvalid(QByteArray());
    expectInvalid(QByteArray(21, 'A'));

    const QByteArray good = ArticlePacket({{"01", "Tornillo", 1}, {"02", "Tuerca", 2}}).ToBytes();
    ASSERT_GT(good.size(), 21);
    // Every cut of a good packet, and one byte more.
    for (int size = 0; size < good.size(); ++size)
        expectInvalid(good.left(size));
    expectInvalid(good + 'x');
    // Damaged bytes must never be read past: each byte set to 0xFF in turn is
    // either refused or still reads within bounds (the sanitizer build checks).
    for (int at = 0; at < good.size(); ++at) {
        QByteArray bad = good;
        bad[at] = char(0xFF);
        try {
            const TDataPacket packet = TDataPacket::FromBytes(bad);
            for (int row = 0; row < packet.RowCount(); ++row)
                for (int col = 0; col < int(packet.Columns().size()); ++col)
                    (void)packet.Cell(row, col);
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Invalid data packet"));
        }
    }
}

} // namespace
