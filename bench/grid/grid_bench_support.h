#pragma once
// What the grid benchmarks share: milliseconds from the steady clock, the
// median of a run's samples, article rows as the ERP's article procedure
// gives them, and the results window's columns on a grid.

#include "data/dataset/datasource.h"
#include "data/dataset/values/value.h"
#include "grid/dbgrideh.h"

#include <QString>
#include <algorithm>
#include <chrono>
#include <vector>

using Clock = std::chrono::steady_clock;

inline double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

inline double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// Article i: CODIGO, DESCRIPCION (about 30 characters, beginning with one of
// ten words), UNIDAD, CATEG, SUBCATEG, PRECIO, FOTO (null) and ACTIVO.
inline std::vector<TValue> ArticleRow(int i) {
    static const char* words[] = {"Tornillo", "Tuerca", "Arandela", "Perno", "Clavo",
                                  "Bisagra",  "Cable",  "Tubo",     "Codo",  "Llave"};
    return {QStringLiteral("A%1").arg(i, 7, 10, QLatin1Char('0')),
            QStringLiteral("%1 de acero %2 mm serie %3")
                .arg(QLatin1String(words[i % 10]))
                .arg(i % 97)
                .arg(i % 13),
            QStringLiteral("PZA"),
            i % 40,
            i % 7,
            TBcd{static_cast<qint64>(i) * 125, 2},
            TValue(),
            QStringLiteral("S")};
}

// Links `grid` to `source` with the results window's six columns, fitted once
// they are all there so that their widths share the room.
inline void ShowArticleColumns(TDBGridEh& grid, TDataSource* source) {
    grid.SetDataSource(source);
    for (const char* name : {"CODIGO", "DESCRIPCION", "UNIDAD", "CATEG", "SUBCATEG", "PRECIO"})
        grid.Columns().Add().SetFieldName(QLatin1String(name));
    grid.SetAutoFitColWidths(true);
}
