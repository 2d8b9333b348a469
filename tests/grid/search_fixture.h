#pragma once
// The results window's grid (grid_fixture.h) with rows of the test's own, for
// the text search and the find dialog.

#include "grid/search/grid_text_search_eh.h"
#include "tests/grid/grid_fixture.h"

#include <QApplication>

class SearchFixture : public GridFixture {
protected:
    // One article: code, description, unit and price (in cents); the
    // categories follow the row.
    struct Row {
        const char* codigo;
        const char* descripcion;
        const char* unidad;
        qint64 cents;
    };

    // Opens the dataset on these rows.
    void OpenRows(std::initializer_list<Row> rows) {
        cds_->Close();
        rows_->Rows().clear();
        int i = 0;
        for (const Row& r : rows) {
            ++i;
            rows_->AppendRow({QString::fromUtf8(r.codigo), QString::fromUtf8(r.descripcion),
                              QString::fromUtf8(r.unidad), i % 7, i % 3, TBcd{r.cents, 2}, TValue(),
                              QStringLiteral("S")});
        }
        cds_->Open();
    }

    // The current record and the selected column's field.
    int RecNo() const { return cds_->RecNo(); }
    QString ColumnName() const {
        const TColumnEh* column = grid_->SelectedColumn();
        return column ? column->FieldName() : QString();
    }
    // Makes a record and a visible column current.
    void GoTo(int recNo, const char* fieldName) {
        cds_->SetRecNo(recNo);
        for (int i = 0; i < static_cast<int>(grid_->VisibleColumns().size()); ++i)
            if (grid_->VisibleColumns()[static_cast<size_t>(i)]->FieldName() ==
                QLatin1String(fieldName))
                grid_->SelectVisibleColumn(i);
    }
};
