#pragma once
// Rows shaped like the article query's result, for the engine's suites.

#include "data/dataset/engine/cursor.h"
#include "data/dataset/engine/packet.h"

#include <QStringList>
#include <vector>

namespace enginetest {

enum Col { CODIGO, DESCRIPCION, UNIDAD, CATEG, SUBCATEG, PRECIO, FOTO, ACTIVO };

inline std::vector<TPacketColumn> ArticleColumns() {
    const auto column = [](const char* name, TFieldType type, int size = 0, int precision = 0,
                           int scale = 0) {
        return PacketColumn(QString::fromLatin1(name), type, size, precision, scale);
    };
    return {column("CODIGO", ftString, 20), column("DESCRIPCION", ftString, 60),
            column("UNIDAD", ftString, 8),  column("CATEG", ftInteger),
            column("SUBCATEG", ftInteger),  column("PRECIO", ftBCD, 0, 15, 2),
            column("FOTO", ftBlob),         column("ACTIVO", ftFixedChar, 1)};
}

struct Article {
    const char* codigo;
    TValue descripcion;
    TValue categ;
};

// One packet; PRECIO is the row's position, so rows can be told apart.
inline TDataPacket ArticlePacket(const std::vector<Article>& rows, bool last = true,
                                 int firstPrice = 0) {
    TDataPacket packet(ArticleColumns());
    int price = firstPrice;
    for (const Article& a : rows) {
        const TValue values[] = {a.codigo, a.descripcion,          "PZA",    a.categ,
                                 1,        TBcd{price++ * 100, 2}, TValue(), "S"};
        packet.AppendRow(values);
    }
    packet.SetLast(last);
    return packet;
}

// The column's text in the cursor's current order, from the first record on.
inline QStringList Column(TEngineCursor& cursor, int col) {
    QStringList out;
    cursor.First();
    while (!cursor.Eof()) {
        out << cursor.Cell(col).AsString();
        cursor.Next();
    }
    return out;
}

} // namespace enginetest
