// Local indexes: their definition rules, the order they give and how they
// follow appends and edits.

#include "engine_fixture.h"
#include "platform/core/exception.h"

#include <gtest/gtest.h>

using namespace enginetest;

namespace {

QString ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Exception& e) {
        return e.Message();
    }
    return QString();
}

class LocalIndex : public ::testing::Test {
protected:
    void SetUp() override {
        // Arrival order: 01..07. Equal keys: CATEG 2 three times, "Tuerca" twice.
        cursor.Open(ArticlePacket({{"01", "Tuerca", 2},
                                   {"02", "arandela", 1},
                                   {"03", "Tuerca", TValue()},
                                   {"04", "Clavo", 2},
                                   {"05", "Broca", 10},
                                   {"06", TValue(), 2},
                                   {"07", "\xC3\x81ncora", -3}},
                                  false));
    }
    QStringList Sorted(const QString& fields, const QString& desc = {}) {
        if (cursor.HasIndex(QStringLiteral("T")))
            cursor.DeleteIndex(QStringLiteral("T"));
        cursor.AddIndex(QStringLiteral("T"), fields, desc);
        cursor.SelectIndex(QStringLiteral("T"));
        return Column(cursor, CODIGO);
    }
    TEngineCursor cursor;
};

TEST_F(LocalIndex, Orders) {
    struct Case {
        const char* fields;
        const char* desc;
        QStringList codes;
    };
    const Case cases[] = {
        // Nulls first; texts by their 8-bit bytes: upper case before lower
        // case, "Á" (0xC1) after every ASCII letter; equal keys by arrival.
        {"DESCRIPCION", "", {"06", "05", "04", "01", "03", "02", "07"}},
        {"CATEG", "", {"03", "07", "02", "01", "04", "06", "05"}},
        {"CATEG", "CATEG", {"05", "01", "04", "06", "02", "07", "03"}},
        {"CATEG;DESCRIPCION", "", {"03", "07", "02", "06", "04", "01", "05"}},
        {"categ ; descripcion", "CATEG", {"05", "06", "04", "01", "02", "07", "03"}},
        {"CATEG;DESCRIPCION", "DESCRIPCION", {"03", "07", "02", "01", "04", "06", "05"}},
        {"DESCRIPCION;CODIGO", "CODIGO;DESCRIPCION", {"07", "02", "03", "01", "04", "05", "06"}},
        {"UNIDAD", "", {"01", "02", "03", "04", "05", "06", "07"}},
        {"PRECIO", "PRECIO", {"07", "06", "05", "04", "03", "02", "01"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Sorted(QString::fromLatin1(c.fields), QString::fromLatin1(c.desc)), c.codes)
            << c.fields << " desc " << c.desc;
}

TEST_F(LocalIndex, SelectNoneAndDelete) {
    cursor.AddIndex(QStringLiteral("SortIndexEh"), QStringLiteral("CATEG;DESCRIPCION"),
                    QStringLiteral("CATEG"));
    cursor.AddIndex(QStringLiteral("Other"), QStringLiteral("CODIGO"));
    cursor.SelectIndex(QStringLiteral("sortindexeh")); // names are case-insensitive
    EXPECT_EQ(cursor.IndexName(), QStringLiteral("SortIndexEh"));
    EXPECT_EQ(cursor.IndexFieldNames(), QStringList({"CATEG", "DESCRIPCION"}));
    EXPECT_EQ(cursor.RecNo(), 1);
    EXPECT_EQ(cursor.Cell(CODIGO), TValue("05"));

    cursor.SelectIndex(QString());
    EXPECT_EQ(cursor.IndexName(), QString());
    EXPECT_TRUE(cursor.IndexFieldNames().isEmpty());
    EXPECT_EQ(Column(cursor, CODIGO), QStringList({"01", "02", "03", "04", "05", "06", "07"}));

    cursor.SelectIndex(QStringLiteral("SortIndexEh"));
    cursor.Next();
    cursor.Next();
    const TBookmark current = cursor.Bookmark();
    cursor.DeleteIndex(QStringLiteral("SortIndexEh"));
    EXPECT_EQ(cursor.IndexName(), QString());
    EXPECT_EQ(cursor.IndexNames(), QStringList({"Other"}));
    EXPECT_EQ(cursor.Bookmark(), current);
    EXPECT_EQ(Column(cursor, CODIGO), QStringList({"01", "02", "03", "04", "05", "06", "07"}));
    EXPECT_EQ(ErrorOf([&] { cursor.SelectIndex(QStringLiteral("SortIndexEh")); }),
              QStringLiteral("Index 'SortIndexEh' not found"));
    EXPECT_EQ(ErrorOf([&] { cursor.DeleteIndex(QStringLiteral("SortIndexEh")); }),
              QStringLiteral("Index 'SortIndexEh' not found"));
    // Deleting another index leaves the selected one.
    cursor.AddIndex(QStringLiteral("Third"), QStringLiteral("CATEG"));
    cursor.SelectIndex(QStringLiteral("Third"));
    cursor.DeleteIndex(QStringLiteral("Other"));
    EXPECT_EQ(cursor.IndexName(), QStringLiteral("Third"));
}

TEST_F(LocalIndex, DefinitionRules) {
    EXPECT_EQ(ErrorOf([&] { cursor.AddIndex("X", "CATEG;DESCRIPCION", "PRECIO"); }),
              QStringLiteral("Cannot access index field 'PRECIO'"));
    EXPECT_EQ(ErrorOf([&] { cursor.AddIndex("X", "CATEG", "NADA"); }),
              QStringLiteral("Cannot access index field 'NADA'"));
    EXPECT_EQ(ErrorOf([&] { cursor.AddIndex("X", "CATEG;NADA"); }),
              QStringLiteral("Field 'NADA' not found"));
    EXPECT_EQ(ErrorOf([&] { cursor.AddIndex("X", "FOTO"); }),
              QStringLiteral("Cannot index field 'FOTO' of type Blob"));
    EXPECT_EQ(ErrorOf([&] { cursor.AddIndex("X", " ; "); }),
              QStringLiteral("Index 'X' has no fields"));
    EXPECT_EQ(ErrorOf([&] { cursor.AddIndex("", "CATEG"); }), QStringLiteral("Index name missing"));

    const QString name31(31, QLatin1Char('N'));
    EXPECT_EQ(ErrorOf([&] { cursor.AddIndex(name31, "CATEG"); }), QString());
    EXPECT_EQ(ErrorOf([&] { cursor.AddIndex(name31 + "N", "CATEG"); }),
              QStringLiteral("Index name '%1N' is longer than 31 characters").arg(name31));
    EXPECT_EQ(ErrorOf([&] { cursor.AddIndex(name31.toLower(), "CODIGO"); }),
              QStringLiteral("Index '%1' already exists").arg(name31.toLower()));
    EXPECT_EQ(cursor.IndexNames(), QStringList({name31}));
    EXPECT_TRUE(cursor.IndexName().isEmpty()) << "a failed definition selects nothing";
}

TEST_F(LocalIndex, SixteenFieldsAtMost) {
    // 16 real fields (repeats allowed), then a 17th that would fail if read.
    QStringList fields;
    for (int i = 0; i < 15; ++i)
        fields << QStringLiteral("UNIDAD");
    fields << QStringLiteral("CATEG") << QStringLiteral("NO_EXISTE");
    cursor.AddIndex("Wide", fields.join(';'));
    cursor.SelectIndex("Wide");
    EXPECT_EQ(cursor.IndexFieldNames().size(), 16);
    EXPECT_EQ(cursor.IndexFieldNames().last(), QStringLiteral("CATEG"));
    EXPECT_EQ(Column(cursor, CODIGO), QStringList({"03", "07", "02", "01", "04", "06", "05"}));
    // A descending field beyond the 16th is not an index field.
    EXPECT_EQ(ErrorOf([&] { cursor.AddIndex("Wide2", fields.join(';') + ";CODIGO", "CODIGO"); }),
              QStringLiteral("Cannot access index field 'CODIGO'"));
}

TEST_F(LocalIndex, AppendsAndEditsGoToTheirPlace) {
    cursor.AddIndex("ByCateg", "CATEG", "");
    cursor.AddIndex("ByDesc", "DESCRIPCION", "");
    cursor.SelectIndex("ByCateg");
    // Not the last packet: selecting fetched nothing, as no hook is set.
    cursor.AppendPacket(ArticlePacket({{"08", "x", 2}, {"09", "x", 0}}, false, 7));
    EXPECT_EQ(Column(cursor, CODIGO),
              QStringList({"03", "07", "09", "02", "01", "04", "06", "08", "05"}));
    // A big packet takes the sorting path; its equal keys stay after the older ones.
    std::vector<Article> many(100, Article{"zz", "x", 2});
    cursor.AppendPacket(ArticlePacket(many, true, 9));
    QStringList codes = Column(cursor, CODIGO);
    EXPECT_EQ(codes.size(), 109);
    EXPECT_EQ(codes.mid(4, 4), QStringList({"01", "04", "06", "08"}));
    EXPECT_EQ(codes.mid(8, 100), QStringList(100, QStringLiteral("zz")));
    EXPECT_EQ(codes.last(), QStringLiteral("05"));

    // An edit moves the record; an insert goes to its place.
    cursor.First();
    cursor.Edit();
    cursor.SetCell(CATEG, 99);
    cursor.Post();
    EXPECT_EQ(cursor.Cell(CODIGO), TValue("03"));
    EXPECT_EQ(cursor.RecNo(), cursor.RecordCount());
    cursor.Insert();
    cursor.SetCell(CODIGO, "10");
    cursor.SetCell(CATEG, 1);
    cursor.Post();
    EXPECT_EQ(cursor.RecNo(), 4);
    EXPECT_EQ(Column(cursor, CODIGO).mid(0, 5), QStringList({"07", "09", "02", "10", "01"}));

    // The other index followed nothing while it was not selected; it is rebuilt.
    cursor.SelectIndex("ByDesc");
    codes = Column(cursor, CODIGO);
    EXPECT_EQ(codes.size(), 110);
    // "10" was inserted before "03", so it arrived before "06" in the order of arrival.
    EXPECT_EQ(codes.mid(0, 5), QStringList({"10", "06", "05", "04", "01"}));
}

TEST_F(LocalIndex, CellsByPositionAndTheKeyPrefixSeekFollowTheSelectedOrder) {
    EXPECT_EQ(ErrorOf([&] { cursor.SeekKeyPrefix({"T"}); }),
              QStringLiteral("No index is selected"));
    EXPECT_EQ(cursor.CellAt(2, CODIGO), TValue("02")); // the order of arrival
    Sorted(QStringLiteral("DESCRIPCION"));             // 06 05 04 01 03 02 07
    EXPECT_EQ(cursor.CellAt(2, CODIGO), TValue("05"));
    EXPECT_EQ(cursor.CellAt(7, DESCRIPCION), TValue("\xC3\x81ncora"));
    EXPECT_TRUE(cursor.CellAt(0, CODIGO).IsNull());
    EXPECT_TRUE(cursor.CellAt(8, CODIGO).IsNull());
    EXPECT_EQ(ErrorOf([&] { cursor.CellAt(1, 99); }), QStringLiteral("Field index out of range"));
    // Texts match by their 8-bit bytes: "\xC3\x81" is one character, 0xC1.
    cursor.SetRecNo(3);
    EXPECT_EQ(cursor.SeekKeyPrefix({"\xC3\x81"}), 7);
    EXPECT_EQ(cursor.SeekKeyPrefix({"Tuerca"}, false), 4);
    EXPECT_EQ(cursor.RecNo(), 3); // a seek does not move
}

TEST_F(LocalIndex, SelectingFetchesEveryRowFirst) {
    TEngineCursor lazy;
    int packets = 0;
    lazy.SetFetchHook([&] {
        ++packets;
        lazy.AppendPacket(ArticlePacket({{"b", "b", 0}, {"a", "a", 0}}, packets == 2, 0));
        return true;
    });
    lazy.Open(ArticlePacket({{"c", "c", 0}}, false));
    lazy.AddIndex("ByCode", "CODIGO");
    EXPECT_EQ(packets, 0);
    lazy.SelectIndex("ByCode");
    EXPECT_EQ(packets, 2);
    EXPECT_EQ(Column(lazy, CODIGO), QStringList({"a", "a", "b", "b", "c"}));
}

} // namespace
