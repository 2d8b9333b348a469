// What a title click sorts, or does not, beyond the plain case: a closed
// dataset, a field that cannot be indexed, a dataset without registered
// features, the program's own handler, the automatic marking switched off,
// and SortLocal off, where the dataset behind the provider sorts itself.

#include "data/dataset/client/dataset_provider.h"
#include "grid/features/cds_dataset_features_eh.h"
#include "tests/grid/sorting/sort_fixture.h"

namespace {

// A client dataset of a class that no features are registered for.
class TUnsortableDataSet : public TClientDataSet {
public:
    using TClientDataSet::TClientDataSet;
    QString ClassName() const override { return QStringLiteral("TUnsortableDataSet"); }
    QStringList ClassChain() const override { return ChainOf(DataSetChain()); }
};

// A client dataset that a provider reads as its query: the rows of its
// current order, from its current record on.
class TServingDataSet : public TClientDataSet, public IProviderQuery {
public:
    TServingDataSet(TComponent* owner, std::vector<TPacketColumn> columns)
        : TClientDataSet(owner), columns_(std::move(columns)) {}
    QString ClassName() const override { return QStringLiteral("TServingDataSet"); }

    void SetSQLText(const QString&) override {}
    TParams& Params() override { return TClientDataSet::Params(); }
    const TParams& Params() const override { return TClientDataSet::Params(); }
    bool Active() const override { return TClientDataSet::Active(); }
    void Open() override { TClientDataSet::Open(); }
    void Close() override { TClientDataSet::Close(); }
    bool Eof() const override { return TClientDataSet::Eof(); }
    const std::vector<TValue>& Row() const override {
        row_.clear();
        for (TField* field : FieldList())
            row_.push_back(GetFieldValue(*field));
        return row_;
    }
    void Next() override { TClientDataSet::Next(); }
    std::vector<TPacketColumn> PacketColumns() const override { return columns_; }
    quint32 PacketLcid() const override { return 0; }
    int ExecSQL() override { return 0; }
    TApplyReply ResolveChanges(TDataSetProvider&, const TDelta&, int) override { return {}; }

private:
    std::vector<TPacketColumn> columns_;
    mutable std::vector<TValue> row_;
};

// The features of the serving dataset: an index on the grid's sorted fields.
struct TServingFeatures : TDatasetFeaturesEh {
    struct TCall {
        TObject* sender;
        TDataSet* dataSet;
        bool active;
    };
    static inline std::vector<TCall> calls;
    void SortByMarkers(TObject* sender, TDataSet* dataSet, bool active) override {
        calls.push_back({sender, dataSet, active});
        auto& served = dynamic_cast<TClientDataSet&>(*dataSet);
        QStringList fields;
        for (const TColumnEh* column : dynamic_cast<TDBGridEh&>(*sender).SortColumnList())
            fields << column->FieldName();
        if (served.HasIndex(QStringLiteral("ByGrid")))
            served.DeleteIndex(QStringLiteral("ByGrid"));
        served.AddIndex(QStringLiteral("ByGrid"), fields.join(QLatin1Char(';')));
        served.SetIndexName(QStringLiteral("ByGrid"));
    }
};

} // namespace

class ApplyTitleSortTest : public SortFixture {
protected:
    void SetUp() override {
        SortFixture::SetUp();
        Application->OnException = [this](TObject*, const Exception& e) {
            reported_ << e.Message();
        };
    }
    QStringList reported_;
};

TEST_F(ApplyTitleSortTest, AClosedDatasetReportsItsErrorAndTheMarkersStay) {
    const QString closed = QStringLiteral("Cannot perform this operation on a closed dataset");
    ClickTitle(QStringLiteral("DESCRIPCION"));
    cds_->Close();
    ClickTitle(QStringLiteral("CATEG"));
    EXPECT_EQ(reported_, QStringList{closed});
    EXPECT_EQ(Marking(), QStringLiteral("CATEG asc 1"));

    // Applied when the focus leaves: reported, and the focus has left.
    CtrlClicks({QStringLiteral("PRECIO")});
    other_->SetFocus();
    QApplication::processEvents();
    EXPECT_EQ(reported_, (QStringList{closed, closed}));
    EXPECT_TRUE(other_->Widget()->hasFocus());
    EXPECT_FALSE(Sorting()->SortPending());
    EXPECT_EQ(Marking(), QStringLiteral("CATEG asc 1, PRECIO asc 2"));

    // Reopened, the data shows in its order of arrival under the same markers.
    cds_->Open();
    EXPECT_EQ(Codes(), ArrivalCodes());
    EXPECT_EQ(Marking(), QStringLiteral("CATEG asc 1, PRECIO asc 2"));
    EXPECT_EQ(reported_.size(), 2);
}

TEST_F(ApplyTitleSortTest, AFieldThatCannotBeIndexedLeavesTheDefaultOrder) {
    ClickTitle(QStringLiteral("DESCRIPCION"));
    ASSERT_NE(Codes(), ArrivalCodes());
    Column(QStringLiteral("UNIDAD")).SetFieldName(QStringLiteral("FOTO"));
    CtrlClicks({QStringLiteral("FOTO")});
    CtrlUp();
    ASSERT_EQ(reported_.size(), 1);
    EXPECT_EQ(cds_->IndexName(), QString());
    EXPECT_FALSE(cds_->HasIndex(QStringLiteral("SortIndexEh")));
    EXPECT_EQ(Codes(), ArrivalCodes());
    EXPECT_EQ(Marking(), QStringLiteral("DESCRIPCION asc 1, FOTO asc 2"));
}

TEST_F(ApplyTitleSortTest, ADatasetWithoutFeaturesIsNotSortedButMarked) {
    auto* unsortable = new TUnsortableDataSet(form_);
    unsortable->SetProviderName(QStringLiteral("PArticulos"));
    source_->SetDataSet(unsortable);
    unsortable->Open();
    ClickTitle(QStringLiteral("DESCRIPCION"));
    EXPECT_EQ(Marking(), QStringLiteral("DESCRIPCION asc 1"));
    EXPECT_EQ(unsortable->IndexName(), QString());
    EXPECT_EQ(unsortable->FieldByName(QStringLiteral("CODIGO")).AsString(), QStringLiteral("A01"));
    EXPECT_TRUE(reported_.isEmpty());
}

TEST_F(ApplyTitleSortTest, TheProgramsHandlerReplacesTheSortAndClicksCanBeLeftUnmarked) {
    std::vector<std::pair<QString, TObject*>> events;
    grid_->OnTitleBtnClick = [&](TObject*, int, TColumnEh* column) {
        events.emplace_back(QStringLiteral("click ") + column->FieldName(), nullptr);
    };
    grid_->OnSortMarkingChanged = [&](TObject* sender) {
        events.emplace_back(QStringLiteral("marking ") + Marking(), sender);
    };
    ClickTitle(QStringLiteral("CATEG"));
    CtrlClicks({QStringLiteral("CODIGO")});
    EXPECT_EQ(events.size(), 3u);
    CtrlUp();
    const std::vector<std::pair<QString, TObject*>> expected{
        {"click CATEG", nullptr},
        {"marking CATEG asc 1", grid_},
        {"click CODIGO", nullptr},
        {"marking CATEG asc 1, CODIGO asc 2", grid_}};
    EXPECT_EQ(events, expected);
    EXPECT_EQ(cds_->IndexName(), QString());

    // Without dghAutoSortMarking the click reaches the program and nothing else.
    TDBGridEhOptions options = grid_->OptionsEh();
    options.Exclude(TDBGridEhOption::dghAutoSortMarking);
    grid_->SetOptionsEh(options);
    events.clear();
    ClickTitle(QStringLiteral("PRECIO"));
    EXPECT_EQ(events, (std::vector<std::pair<QString, TObject*>>{{"click PRECIO", nullptr}}));
    EXPECT_EQ(Marking(), QStringLiteral("CATEG asc 1, CODIGO asc 2"));
}

TEST_F(ApplyTitleSortTest, WithoutSortLocalTheDatasetBehindTheProviderSortsItself) {
    // Served straight from memory there is no dataset behind the provider:
    // nothing is sorted and nothing reopened.
    grid_->SetSortLocal(false);
    const int opens = rows_->opens;
    ClickTitle(QStringLiteral("DESCRIPCION"));
    EXPECT_EQ(Marking(), QStringLiteral("DESCRIPCION asc 1"));
    EXPECT_EQ(Codes(), ArrivalCodes());
    EXPECT_EQ(rows_->opens, opens);

    // Behind a provider whose dataset has features of its own: they sort it,
    // and the grid's dataset is reopened on the sorted rows.
    AddFeaturesForClass<TServingFeatures>(QStringLiteral("TServingDataSet"));
    auto* serving = new TServingDataSet(form_, rows_->Columns());
    serving->SetProviderName(QStringLiteral("PArticulos"));
    serving->Open();
    auto* provider = new TDataSetProvider(form_);
    provider->SetName(QStringLiteral("PServing"));
    provider->SetDataSet(serving);
    cds_->Close();
    cds_->SetProviderName(QStringLiteral("PServing"));
    cds_->Open();
    ASSERT_EQ(Codes(), ArrivalCodes());
    TServingFeatures::calls.clear();
    ClickTitle(QStringLiteral("CATEG"));
    ASSERT_EQ(TServingFeatures::calls.size(), 1u);
    EXPECT_EQ(TServingFeatures::calls[0].sender, grid_);
    EXPECT_EQ(TServingFeatures::calls[0].dataSet, serving);
    EXPECT_TRUE(TServingFeatures::calls[0].active);
    EXPECT_EQ(cds_->IndexName(), QString());
    ExpectOrder({{"CATEG", false}});
    EXPECT_EQ(cds_->RecNo(), 1);
    EXPECT_TRUE(reported_.isEmpty());
}

TEST_F(ApplyTitleSortTest, ProvidersThatLeadBackToTheGridsDatasetEndTheRound) {
    // CArticulos reads CBack through PLoop, and CBack reads CArticulos
    // through PBack: each would ask the other to sort without end.
    grid_->SetSortLocal(false);
    auto* back = new TClientDataSet(form_);
    back->SetName(QStringLiteral("CBack"));
    back->SetProviderName(QStringLiteral("PBack"));
    auto* loop = new TDataSetProvider(form_);
    loop->SetName(QStringLiteral("PLoop"));
    loop->SetDataSet(back);
    auto* backProvider = new TDataSetProvider(form_);
    backProvider->SetName(QStringLiteral("PBack"));
    backProvider->SetDataSet(cds_);
    cds_->Close();
    cds_->SetProviderName(QStringLiteral("PLoop"));
    ClickTitle(QStringLiteral("CATEG"));
    // Neither is a query a provider can read, so reopening fails, and says so.
    EXPECT_EQ(reported_, QStringList{QStringLiteral("PBack: DataSet property not set")});
    EXPECT_EQ(Marking(), QStringLiteral("CATEG asc 1"));
}
