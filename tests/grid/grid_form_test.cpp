// The grid in form descriptions: the results window's settings arrive as
// properties over the construction defaults, columns come as items, bad
// descriptions are refused with their line, and columns find their fields
// again each time the dataset opens.

#include "platform/formfile/form_error.h"
#include "tests/grid/grid_fixture.h"

class GridFormTest : public GridFixture {
protected:
    void SetUp() override {}
    // The error of reading `description`; empty when it reads.
    QString ReadError(const QString& description) {
        Rebuild();
        try {
            Build(description);
        } catch (const EFormError& e) {
            return e.Message();
        }
        return QString();
    }
};

TEST_F(GridFormTest, TheResultsWindowSettingsOverTheDefaults) {
    Build();
    // From the description.
    EXPECT_TRUE(grid_->AutoFitColWidths());
    EXPECT_TRUE(grid_->ColumnDefValues().Title.TitleButton);
    EXPECT_EQ(grid_->FooterRowCount(), 1);
    EXPECT_EQ(grid_->FooterColor(), Colors::clWindow);
    EXPECT_TRUE(grid_->SortLocal());
    EXPECT_TRUE(grid_->SumList().Active());
    EXPECT_TRUE(grid_->SumList().VirtualRecords());
    EXPECT_EQ(
        grid_->OptionsEh(),
        (TDBGridEhOptions{TDBGridEhOption::dghFixed3D, TDBGridEhOption::dghHighlightFocus,
                          TDBGridEhOption::dghClearSelection, TDBGridEhOption::dghAutoSortMarking,
                          TDBGridEhOption::dghMultiSortMarking, TDBGridEhOption::dghIncSearch,
                          TDBGridEhOption::dghDialogFind, TDBGridEhOption::dghColumnResize,
                          TDBGridEhOption::dghColumnMove}));
    EXPECT_EQ(grid_->DataSource(), source_);
    ASSERT_EQ(grid_->Columns().Count(), 6);
    EXPECT_EQ(grid_->Columns()[5].FieldName(), QStringLiteral("PRECIO"));
    EXPECT_TRUE(grid_->Columns()[5].Title().TitleButton());
    // The construction defaults the description leaves alone.
    EXPECT_EQ(grid_->Options(), DefaultGridOptions);
    EXPECT_TRUE(grid_->Options().Contains(TDBGridOption::dgConfirmDelete));
    EXPECT_FALSE(grid_->Options().Contains(TDBGridOption::dgAlwaysShowEditor));
    EXPECT_EQ(grid_->AllowedOperations(), DefaultAllowedOperations);
    EXPECT_TRUE(grid_->EditActions().Empty());
    EXPECT_FALSE(grid_->ReadOnly());
    EXPECT_EQ(grid_->MinAutoFitWidth(), 0);
    EXPECT_EQ(grid_->FrozenCols(), 0);
    EXPECT_EQ(grid_->DefaultColWidth(), 64);
    EXPECT_EQ(grid_->VertScrollBarVisibleMode(), TScrollBarVisibleModeEh::sbAutoShowEh);
    EXPECT_TRUE(grid_->VertScrollBarTracking());
    EXPECT_EQ(grid_->FixedColor(), Colors::clBtnFace);
    EXPECT_EQ(grid_->Color(), Colors::clWindow);
    EXPECT_TRUE(grid_->BorderSingle());
    EXPECT_FALSE(grid_->Flat());
    EXPECT_EQ(grid_->IndicatorWidth(), 11);
}

TEST_F(GridFormTest, ColumnItemsTakeTheirOwnSettings) {
    Build(ResultsGridDescription(QStringLiteral("    TitleFont.Bold = True\n"))
              .replace(QStringLiteral("        FieldName = \"UNIDAD\"\n"),
                       QStringLiteral("        FieldName = \"UNIDAD\"\n"
                                      "        Width = 90\n"
                                      "        AutoFitColWidth = False\n"
                                      "        Title.Caption = \"Unidad\"\n"
                                      "        Title.Alignment = taCenter\n"
                                      "        Font.Italic = True\n"
                                      "        ReadOnly = True\n")));
    TColumnEh& unidad = grid_->Columns()[2];
    EXPECT_EQ(unidad.Title().Caption(), QStringLiteral("Unidad"));
    EXPECT_EQ(unidad.Title().Alignment(), taCenter);
    EXPECT_TRUE(unidad.Title().EffectiveFont().bold());
    EXPECT_TRUE(unidad.EffectiveFont().italic());
    EXPECT_FALSE(unidad.EffectiveFont().bold());
    EXPECT_TRUE(unidad.ReadOnly());
    Open(3);
    // Outside the fit it keeps its width; the others share the rest.
    EXPECT_EQ(unidad.Width(), 90);
    EXPECT_EQ(SumOfWidths() + 18, grid_->ClientWidth());
}

TEST_F(GridFormTest, BadDescriptionsAreRefusedWithTheirLine) {
    struct Case {
        QString replaceWhat;
        QString replaceWith;
        QString message;
    };
    const Case cases[] = {
        {"        FieldName = \"CATEG\"\n", "        FieldName = \"CATEG\"\n        Colour = 3\n",
         "Unknown property Colour of a column"},
        {"dghColumnMove]", "dghColumnMoves]", "Invalid property value dghColumnMoves"},
        {"FooterColor = clWindow", "FooterColor = clWindowz", "Invalid property value clWindowz"},
        {"DataGrouping.Active = False", "DataGrouping.Active = True",
         "Data grouping is not supported"},
        {"DataSource = DArticulos", "DataSource = CArticulos", "CArticulos is not a data source"},
    };
    for (const Case& c : cases) {
        const QString description = ResultsGridDescription().replace(c.replaceWhat, c.replaceWith);
        ASSERT_NE(description, ResultsGridDescription()) << c.replaceWhat.toStdString();
        const QString error = ReadError(description);
        EXPECT_TRUE(error.contains(c.message)) << error.toStdString();
        EXPECT_TRUE(error.contains(QStringLiteral("grid_test.form"))) << error.toStdString();
    }
}

TEST_F(GridFormTest, WithoutDeclaredColumnsEveryVisibleFieldHasOne) {
    QString description = ResultsGridDescription();
    description.truncate(description.indexOf(QStringLiteral("    Columns = items")));
    Build(description);
    EXPECT_EQ(grid_->Columns().State(), TColumnsStateEh::csDefault);
    Open(3);
    ASSERT_EQ(grid_->Columns().Count(), 8);
    EXPECT_EQ(grid_->Columns()[6].FieldName(), QStringLiteral("FOTO"));
    EXPECT_EQ(SumOfWidths() + 11 + 8 + 1, grid_->ClientWidth());
    // A hidden field has no column.
    cds_->Close();
    Field("FOTO").SetVisible(false);
    Open(3);
    EXPECT_EQ(grid_->Columns().Count(), 7);
}

TEST_F(GridFormTest, ColumnsFindTheirFieldsAgainWhenTheDatasetReopens) {
    // Fields made by the dataset at each open go away at each close.
    Build(ResultsGridDescription(), false);
    Open(5);
    Show();
    EXPECT_EQ(grid_->Columns()[0].Field(), cds_->FindField(QStringLiteral("CODIGO")));
    const QImage first = Render();
    cds_->Close();
    Render();
    EXPECT_EQ(grid_->Rows().Count(), 0);
    Open(5);
    EXPECT_EQ(grid_->Columns()[0].Field(), cds_->FindField(QStringLiteral("CODIGO")));
    EXPECT_EQ(cds_->RecNo(), 1);
    EXPECT_EQ(Render(), first);
}
