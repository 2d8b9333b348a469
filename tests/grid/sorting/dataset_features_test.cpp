// The dataset features registry: which registered features a dataset gets,
// as a table of class hierarchies and registrations (nearest ancestor, names
// in any letter case, the first registered on a tie, a registration that
// replaces another), and the program's own registration for client datasets.

#include "data/dataset/client/clientdataset.h"
#include "grid/features/cds_dataset_features_eh.h"
#include "grid/register_grid_classes.h"

#include <gtest/gtest.h>

namespace {

// A client dataset that claims the class chain it is given.
class TChainDataSet : public TClientDataSet {
public:
    explicit TChainDataSet(QStringList chain) : chain_(std::move(chain)) {}
    QString ClassName() const override { return chain_.front(); }
    QStringList ClassChain() const override { return chain_; }

private:
    QStringList chain_;
};

// Features that say which registration made them.
struct TTaggedFeatures : TDatasetFeaturesEh {
    explicit TTaggedFeatures(QString t) : tag(std::move(t)) {}
    QString tag;
};

QStringList Chain(std::initializer_list<const char*> own) {
    QStringList chain;
    for (const char* name : own)
        chain << QString::fromLatin1(name);
    return chain + QStringList{"TDataSet", "TComponent", "TPersistent", "TObject"};
}

} // namespace

TEST(DatasetFeaturesRegistry, FindsTheNearestRegisteredClass) {
    struct TCase {
        const char* name;
        std::vector<std::pair<const char*, const char*>> registered; // class, tag
        QStringList chain;
        const char* found; // tag, or "" for none
        int entries;
    };
    const QStringList cds = Chain({"TClientDataSet", "TCustomClientDataSet"});
    const QStringList sub = Chain({"TArticulosDataSet", "TClientDataSet", "TCustomClientDataSet"});
    const TCase cases[] = {
        {"its own class", {{"TClientDataSet", "A"}}, cds, "A", 1},
        {"an ancestor", {{"TCustomClientDataSet", "A"}}, sub, "A", 1},
        {"the nearer of two, registered later",
         {{"TDataSet", "A"}, {"TCustomClientDataSet", "B"}},
         cds,
         "B",
         2},
        {"the nearer of two, registered first",
         {{"TCustomClientDataSet", "A"}, {"TDataSet", "B"}},
         cds,
         "A",
         2},
        {"the class itself before its parent",
         {{"TClientDataSet", "A"}, {"TArticulosDataSet", "B"}},
         sub,
         "B",
         2},
        {"a name in other letters", {{"tcustomclientdataset", "A"}}, cds, "A", 1},
        {"a tie goes to the first registered",
         {{"TCUSTOMCLIENTDATASET", "A"}, {"TCustomClientDataSet", "B"}},
         cds,
         "A",
         2},
        {"a tie the other way round",
         {{"TCustomClientDataSet", "B"}, {"TCUSTOMCLIENTDATASET", "A"}},
         cds,
         "B",
         2},
        {"a second registration replaces the first in its place",
         {{"tdataset", "A"}, {"TDataSet", "B"}, {"tdataset", "C"}},
         cds,
         "C",
         2},
        {"the root of every class", {{"TObject", "A"}}, cds, "A", 1},
        {"no class of the chain", {{"TSQLQuery", "A"}, {"TClientDataSetX", "B"}}, cds, "", 2},
        {"nothing registered", {}, cds, "", 0},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        TDatasetFeaturesRegistryEh registry;
        for (const auto& [className, tag] : c.registered) {
            const QString t = QString::fromLatin1(tag);
            registry.AddFeaturesForClass([t] { return std::make_unique<TTaggedFeatures>(t); },
                                         QString::fromLatin1(className));
        }
        EXPECT_EQ(registry.Count(), c.entries);
        TChainDataSet dataSet(c.chain);
        auto* found = static_cast<TTaggedFeatures*>(registry.FeaturesForDataSet(dataSet));
        EXPECT_EQ(found ? found->tag : QString(), QString::fromLatin1(c.found));
        if (found) {
            // The features remember the class they were registered for.
            bool named = false;
            for (const auto& [className, tag] : c.registered)
                named |= found->DataSetClass() == QString::fromLatin1(className) &&
                         found->tag == QString::fromLatin1(tag);
            EXPECT_TRUE(named) << found->DataSetClass().toStdString();
        }
    }
}

TEST(DatasetFeaturesRegistry, TheProgramSortsItsClientDatasetsThroughTheClientFeatures) {
    RegisterGridClasses();
    struct TDerived : TClientDataSet {
        QString ClassName() const override { return QStringLiteral("TArticulosDataSet"); }
    };
    TClientDataSet plain;
    TDerived derived;
    EXPECT_EQ(plain.ClassChain(), Chain({"TClientDataSet", "TCustomClientDataSet"}));
    EXPECT_EQ(derived.ClassChain(),
              Chain({"TArticulosDataSet", "TClientDataSet", "TCustomClientDataSet"}));
    for (const TClientDataSet* dataSet : {&plain, static_cast<TClientDataSet*>(&derived)}) {
        TDatasetFeaturesEh* features = FeaturesForDataSet(*dataSet);
        ASSERT_NE(dynamic_cast<TCDSDatasetFeaturesEh*>(features), nullptr);
        EXPECT_EQ(features->DataSetClass(), QStringLiteral("TCustomClientDataSet"));
    }
    // Registering the grid again adds nothing.
    const int entries = DatasetFeaturesRegistry().Count();
    RegisterGridClasses();
    EXPECT_EQ(DatasetFeaturesRegistry().Count(), entries);
}
