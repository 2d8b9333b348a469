#include "data/dataset/register_dataset_classes.h"

#include "data/dataset/datasource.h"
#include "data/dataset/fields/register_field_classes.h"
#include "platform/formfile/class_registry.h"
#include "platform/formfile/form_reader.h"

void RegisterDatasetClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterFieldClasses();

    RegisterAbstractClass<TDataSet>(QStringLiteral("TDataSet"), QStringLiteral("TComponent"))
        .Event<TDataSetErrorEvent>(QStringLiteral("OnPostError"), &TDataSet::OnPostError)
        .Event<TDataSetErrorEvent>(QStringLiteral("OnEditError"), &TDataSet::OnEditError)
        .Event<TDataSetErrorEvent>(QStringLiteral("OnDeleteError"), &TDataSet::OnDeleteError)
        .Event<TDataSetNotifyEvent>(QStringLiteral("AfterOpen"), &TDataSet::AfterOpen)
        .Event<TDataSetNotifyEvent>(QStringLiteral("BeforeClose"), &TDataSet::BeforeClose)
        .Event<TDataSetNotifyEvent>(QStringLiteral("AfterPost"), &TDataSet::AfterPost)
        .Event<TDataSetNotifyEvent>(QStringLiteral("AfterScroll"), &TDataSet::AfterScroll);

    RegisterClass<TDataSource>(QStringLiteral("TDataSource"), QStringLiteral("TComponent"))
        .Raw(QStringLiteral("DataSet"),
             [](TDataSource& s, const FormValue& v, TComponent& root) {
                 SetReference<TDataSet>(s, root, v, QStringLiteral("dataset"),
                                        [&s](TDataSet* ds) { s.SetDataSet(ds); });
             })
        .Property(QStringLiteral("Enabled"), &TDataSource::SetEnabled)
        .Property(QStringLiteral("AutoEdit"), &TDataSource::SetAutoEdit)
        .Event<TNotifyEvent>(QStringLiteral("OnStateChange"), &TDataSource::OnStateChange)
        .Event<TDataChangeEvent>(QStringLiteral("OnDataChange"), &TDataSource::OnDataChange)
        .Event<TNotifyEvent>(QStringLiteral("OnUpdateData"), &TDataSource::OnUpdateData);
}
