#pragma once
// The results window's grid (see grid_fixture.h) over articles chosen for
// sorting: descriptions that repeat and differ only in letter case,
// categories shared by many rows, and codes that give the order of arrival.
// Titles are clicked with the real mouse and Ctrl goes down and up as keys.

#include "grid/sorting/title_sort_eh.h"
#include "tests/grid/grid_fixture.h"

#include <QStringList>

class SortFixture : public GridFixture {
protected:
    // The first eight articles, then generated ones up to kRows.
    static constexpr int kRows = 48;
    struct TNamed {
        const char* descripcion;
        int categ;
    };
    static constexpr TNamed kNamed[] = {
        {"Tuerca", 2},  {"arandela", 1}, {"Clavo", 2},    {"Tuerca", 1},
        {"Bisagra", 3}, {"clavo", 1},    {"Arandela", 2}, {"Tuerca", 3},
    };

    // Article i (1-based): CODIGO "A01".."A48" in the order of arrival.
    static std::vector<TValue> SortArticle(int i) {
        std::vector<TValue> row = Article(i);
        row[0] = QStringLiteral("A%1").arg(i, 2, 10, QLatin1Char('0'));
        if (i <= 8) {
            row[1] = QString::fromLatin1(kNamed[i - 1].descripcion);
            row[3] = kNamed[i - 1].categ;
        } else {
            row[1] = QStringLiteral("Tornillo %1").arg(i % 5);
            row[3] = i % 3 + 1;
        }
        // Prices fall as the codes rise, with a few repeated.
        row[5] = TBcd{static_cast<qint64>((kRows - i) / 2) * 150, 2};
        return row;
    }

    void SetUp() override {
        GridFixture::SetUp();
        OpenArticles();
        Show();
    }

    void OpenArticles(int rows = kRows) {
        cds_->Close();
        rows_->Rows().clear();
        for (int i = 1; i <= rows; ++i)
            rows_->AppendRow(SortArticle(i));
        cds_->Open();
    }

    TTitleSortEh* Sorting() const { return grid_->Extension<TTitleSortEh>(); }

    int VisibleIndexOf(const QString& fieldName) const {
        const std::vector<TColumnEh*> visible = grid_->VisibleColumns();
        for (size_t i = 0; i < visible.size(); ++i)
            if (visible[i]->FieldName() == fieldName)
                return static_cast<int>(i);
        ADD_FAILURE() << "no column " << fieldName.toStdString();
        return 0;
    }
    TColumnEh& Column(const QString& fieldName) const {
        return *grid_->VisibleColumns()[static_cast<size_t>(VisibleIndexOf(fieldName))];
    }

    // A left click on the column's title, with Ctrl held or not.
    void ClickTitle(const QString& fieldName, bool ctrl = false) {
        QTest::mouseClick(View(), Qt::LeftButton, ctrl ? Qt::ControlModifier : Qt::NoModifier,
                          TitleCentre(VisibleIndexOf(fieldName)));
    }
    void CtrlDown() { QTest::keyPress(KeyTarget(), Qt::Key_Control, Qt::ControlModifier); }
    void CtrlUp() { QTest::keyRelease(KeyTarget(), Qt::Key_Control, Qt::NoModifier); }
    // Ctrl down, a click on each title, Ctrl still down.
    void CtrlClicks(const QStringList& fieldNames) {
        CtrlDown();
        for (const QString& name : fieldNames)
            ClickTitle(name, true);
    }

    // The sort marking as text, in SortColumnList order: "CATEG asc 1,
    // DESCRIPCION desc 2". Checks on the way that the list, the markers and
    // the indexes agree.
    QString Marking() const {
        QStringList parts;
        const std::vector<TColumnEh*> list = grid_->SortColumnList();
        int marked = 0;
        for (int i = 0; i < grid_->Columns().Count(); ++i)
            marked += grid_->Columns()[i].Title().SortMarker() != smNoneEh;
        EXPECT_EQ(static_cast<int>(list.size()), marked) << "markers outside the list";
        for (size_t i = 0; i < list.size(); ++i) {
            const TColumnTitleEh& title = list[i]->Title();
            EXPECT_EQ(title.SortIndex(), static_cast<int>(i) + 1);
            const char* marker = title.SortMarker() == smDownEh ? "asc"
                                 : title.SortMarker() == smUpEh ? "desc"
                                                                : "none";
            parts << QStringLiteral("%1 %2 %3")
                         .arg(list[i]->FieldName(), QLatin1String(marker))
                         .arg(title.SortIndex());
        }
        return parts.join(QStringLiteral(", "));
    }

    // The codes of the records in the dataset's order.
    QStringList Codes() const {
        QStringList codes;
        for (int r = 1; r <= cds_->RecordCount(); ++r)
            codes << CodigoAt(r);
        return codes;
    }
    QStringList ArrivalCodes() const {
        QStringList codes;
        for (int i = 1; i <= cds_->RecordCount(); ++i)
            codes << QStringLiteral("A%1").arg(i, 2, 10, QLatin1Char('0'));
        return codes;
    }

    // Every neighbouring pair of records is in the order of `keys` (field
    // name, descending); records with equal keys keep their order of arrival.
    // Texts compare by their bytes, so case counts.
    void ExpectOrder(const std::vector<std::pair<const char*, bool>>& keys) const {
        auto compare = [&](const char* name, int a, int b) {
            const TValue x = cds_->FieldValueAt(Field(name), a);
            const TValue y = cds_->FieldValueAt(Field(name), b);
            if (x.GetKind() == TValue::Kind::String) {
                const QByteArray bx = x.AsBytes(), by = y.AsBytes();
                return bx < by ? -1 : by < bx ? 1 : 0;
            }
            const double dx = x.AsFloat(), dy = y.AsFloat();
            return dx < dy ? -1 : dy < dx ? 1 : 0;
        };
        for (int r = 1; r < cds_->RecordCount(); ++r) {
            int order = 0;
            for (const auto& [name, descending] : keys) {
                order = compare(name, r, r + 1) * (descending ? -1 : 1);
                if (order != 0)
                    break;
            }
            ASSERT_LE(order, 0) << "records " << r << " and " << r + 1 << " out of order";
            if (order == 0) {
                ASSERT_LT(CodigoAt(r), CodigoAt(r + 1)) << "equal keys lost their order at " << r;
            }
        }
    }
};
