#pragma once
// A window with the results window's grid, read from a form description,
// over a client dataset of article rows (the columns of the ERP's article
// procedure) served from memory. The fonts are set in the description so
// that widths do not depend on the machine's fonts.

#include "data/dataset/client/clientdataset.h"
#include "data/dataset/datasource.h"
#include "data/dataset/fields/bcd_fields.h"
#include "data/dataset/fields/blob_fields.h"
#include "data/dataset/fields/integer_fields.h"
#include "data/dataset/fields/string_field.h"
#include "data/dataset/register_dataset_classes.h"
#include "grid/dbgrideh.h"
#include "grid/editor/inplace_edit_eh.h"
#include "grid/grid_widget_eh.h"
#include "grid/input/grid_mouse_eh.h"
#include "grid/register_grid_classes.h"
#include "platform/formfile/form_reader.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "tests/support/memory_query.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

// The window the description is read into.
class TGridTestForm : public TForm {
public:
    TGridTestForm() : TForm(nullptr) {
        static const bool registered = [] {
            RegisterGridClasses();
            RegisterDatasetClasses();
            RegisterAbstractClass<TGridTestForm>("TGridTestForm", "TForm");
            return true;
        }();
        (void)registered;
    }
    QString ClassName() const override { return QStringLiteral("TGridTestForm"); }
    void Read(const QString& text) {
        ReadComponentText(*this, THandlerTable(), text, QStringLiteral("grid_test.form"));
    }
};

// The results window's grid as its description gives it.
inline QString ResultsGridDescription(const QString& extra = {}) {
    return QStringLiteral(R"(TGridTestForm GridTestForm
  TDataSource DArticulos
    DataSet = CArticulos
  TDBGridEh DBGridEh2
    Left = 0
    Top = 0
    Width = 854
    Height = 406
    DataSource = DArticulos
    AutoFitColWidths = True
    ColumnDefValues.Title.TitleButton = True
    FooterColor = clWindow
    FooterFont.Name = "DejaVu Sans"
    FooterFont.Size = 8
    FooterRowCount = 1
    IndicatorOptions = [gioShowRowIndicatorEh]
    OptionsEh = [dghFixed3D, dghHighlightFocus, dghClearSelection, dghAutoSortMarking, dghMultiSortMarking, dghIncSearch, dghDialogFind, dghColumnResize, dghColumnMove]
    SortLocal = True
    SumList.Active = True
    SumList.VirtualRecords = True
    DataGrouping.Active = False
    RowDetailPanel.Active = False
    Flat = False
    Font.Name = "DejaVu Sans"
    Font.Size = 8
%1    Columns = items
      item
        FieldName = "CODIGO"
      item
        FieldName = "DESCRIPCION"
      item
        FieldName = "UNIDAD"
      item
        FieldName = "CATEG"
      item
        FieldName = "SUBCATEG"
      item
        FieldName = "PRECIO"
)")
        .arg(extra);
}

class GridFixture : public testing::Test {
protected:
    static constexpr int kArticles = 60;

    // Article i: CODIGO "0001", DESCRIPCION "Articulo 1", PRECIO i × 1.25, ...
    static std::vector<TValue> Article(int i) {
        return {QStringLiteral("%1").arg(i, 4, 10, QLatin1Char('0')),
                QStringLiteral("Articulo %1").arg(i),
                QStringLiteral("u"),
                i % 7,
                i % 3,
                TBcd{static_cast<qint64>(i) * 125, 2},
                TValue(),
                QStringLiteral("S")};
    }

    void SetUp() override { Build(); }
    void TearDown() override { Rebuild(); }
    // Drops the window (to build another).
    void Rebuild() {
        delete form_;
        form_ = nullptr;
        Application->OnException = nullptr;
    }

    // The window with its data components and the grid read from `description`;
    // without `declareFields` the dataset makes its fields when it opens.
    void Build(const QString& description = ResultsGridDescription(), bool declareFields = true) {
        form_ = new TGridTestForm;
        rows_ = new TMemoryQuery(form_, {PacketColumn(QStringLiteral("CODIGO"), ftString, 20),
                                         PacketColumn(QStringLiteral("DESCRIPCION"), ftString, 60),
                                         PacketColumn(QStringLiteral("UNIDAD"), ftString, 8),
                                         PacketColumn(QStringLiteral("CATEG"), ftInteger),
                                         PacketColumn(QStringLiteral("SUBCATEG"), ftInteger),
                                         PacketColumn(QStringLiteral("PRECIO"), ftFMTBcd, 0, 15, 2),
                                         PacketColumn(QStringLiteral("FOTO"), ftBlob),
                                         PacketColumn(QStringLiteral("ACTIVO"), ftFixedChar, 1)});
        rows_->SetName(QStringLiteral("QArticulos"));
        cds_ = ClientDataSetOn(*rows_, QStringLiteral("Articulos"));
        if (declareFields) {
            AddField<TStringField>("CODIGO", 20);
            AddField<TStringField>("DESCRIPCION", 60);
            AddField<TStringField>("UNIDAD", 8);
            AddField<TIntegerField>("CATEG");
            AddField<TIntegerField>("SUBCATEG");
            auto* precio = AddField<TFMTBCDField>("PRECIO", 2);
            precio->SetPrecision(15);
            AddField<TBlobField>("FOTO");
            AddField<TStringField>("ACTIVO", 1)->SetFixedChar(true);
        }
        form_->Read(description);
        grid_ = FindRequired<TDBGridEh>(*form_, QStringLiteral("DBGridEh2"));
        source_ = FindRequired<TDataSource>(*form_, QStringLiteral("DArticulos"));
        other_ = new TEdit(form_);
        other_->SetParent(form_);
        other_->SetBounds(0, 420, 80, 21);
    }

    template <typename T> T* AddField(const char* name, int size = -1) {
        auto* field = new T(form_);
        field->SetFieldName(QLatin1String(name));
        if (size >= 0)
            field->SetSize(size);
        field->SetDataSet(cds_);
        return field;
    }

    // Opens the dataset on the first `rows` articles.
    void Open(int rows) {
        cds_->Close();
        rows_->Rows().clear();
        for (int i = 1; i <= rows; ++i)
            rows_->AppendRow(Article(i));
        cds_->Open();
    }

    // Shows the window and gives the grid the focus.
    void Show() {
        form_->SetBounds(40, 40, 900, 500);
        form_->Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_->Widget()));
        grid_->SetFocus();
        QApplication::processEvents();
        ASSERT_TRUE(grid_->HasFocusWithin());
    }

    QWidget* View() const { return grid_->GridWidget().viewport(); }
    // Where keys go: the cell editor while it has the focus, else the grid.
    QWidget* KeyTarget() const {
        if (grid_->EditorMode() && grid_->InplaceEditor()->hasFocus())
            return grid_->InplaceEditor();
        return &grid_->GridWidget();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(KeyTarget(), key, modifiers);
    }
    // Each character goes where the focus is then (the first opens the editor).
    void Type(const QString& text) {
        for (QChar c : text)
            QTest::keyClicks(KeyTarget(), QString(c));
    }

    std::vector<int> Widths() const {
        std::vector<int> widths;
        for (const TColumnEh* c : grid_->VisibleColumns())
            widths.push_back(c->Width());
        return widths;
    }
    int SumOfWidths() const {
        int sum = 0;
        for (int w : Widths())
            sum += w;
        return sum;
    }
    TField& Field(const char* name) const { return cds_->FieldByName(QLatin1String(name)); }
    QString CodigoAt(int recNo) const {
        return cds_->FieldValueAt(Field("CODIGO"), recNo).AsString();
    }
    // The viewport as painted now.
    QImage Render() const { return View()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The centre of a data cell, of a title, of the right edge of a title.
    QPoint CellCentre(int visibleIndex, int row) const {
        const TGridGeometryEh& g = grid_->Geometry();
        return g.CellRect(g.SpanOf(visibleIndex), row).center();
    }
    QPoint TitleCentre(int visibleIndex) const {
        const TGridGeometryEh& g = grid_->Geometry();
        return g.TitleRect(g.SpanOf(visibleIndex)).center();
    }
    QPoint TitleRightEdge(int visibleIndex) const {
        const TGridGeometryEh& g = grid_->Geometry();
        const QRect r = g.TitleRect(g.SpanOf(visibleIndex));
        return QPoint(r.right() + 1, r.center().y());
    }
    // A drag with the left button from `from` to `to`, as the mouse makes it.
    void Drag(QPoint from, QPoint to, bool release = true) {
        QTest::mousePress(View(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(View(), (from + to) / 2);
        QTest::mouseMove(View(), to);
        if (release)
            QTest::mouseRelease(View(), Qt::LeftButton, Qt::NoModifier, to);
    }

    TRecordingAnswerer answerer_;
    TGridTestForm* form_ = nullptr;
    TMemoryQuery* rows_ = nullptr;
    TClientDataSet* cds_ = nullptr;
    TDataSource* source_ = nullptr;
    TDBGridEh* grid_ = nullptr;
    TEdit* other_ = nullptr;
};
