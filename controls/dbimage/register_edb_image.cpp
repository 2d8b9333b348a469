#include "controls/dbimage/register_edb_image.h"

#include "controls/dbimage/edb_image.h"
#include "data/dataset/datasource.h"
#include "platform/formfile/form_reader.h"
#include "platform/ui/register_ui_classes.h"

void RegisterEDBImageClass() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterUiClasses();
    RegisterClass<TEDBImage>(QStringLiteral("TEDBImage"), QStringLiteral("TControl"))
        .Property(QStringLiteral("AutoDisplay"), &TEDBImage::SetAutoDisplay)
        .Raw(QStringLiteral("BorderStyle"),
             [](TEDBImage& c, const FormValue& v, TComponent&) {
                 c.SetBorderStyle(FormValues::Enum<TBorderStyle>(
                     v, {{"bsNone", TBorderStyle::bsNone}, {"bsSingle", TBorderStyle::bsSingle}}));
             })
        .Property(QStringLiteral("Ctl3D"), &TEDBImage::SetCtl3D)
        .Property(QStringLiteral("Center"), &TEDBImage::SetCenter)
        .Property(QStringLiteral("Color"), &TEDBImage::SetColorName)
        .Property(QStringLiteral("DataField"), &TEDBImage::SetDataField)
        .Raw(QStringLiteral("DataSource"),
             [](TEDBImage& c, const FormValue& v, TComponent& root) {
                 const QString name =
                     v.kind == FormValue::Kind::String ? v.text : FormValues::Identifier(v);
                 if (name.isEmpty()) {
                     c.SetDataSource(nullptr);
                     return;
                 }
                 TReferenceResolver::Request(c, root, name, [&c, name](TComponent* found) {
                     auto* source = ComponentAs<TDataSource>(found);
                     if (!source)
                         throw EPropertyValue(QStringLiteral("%1 is not a data source").arg(name));
                     c.SetDataSource(source);
                 });
             })
        .Property(QStringLiteral("ParentColor"), &TEDBImage::SetParentColor)
        .Property(QStringLiteral("QuickDraw"), &TEDBImage::SetQuickDraw)
        .Property(QStringLiteral("ReadOnly"), &TEDBImage::SetReadOnly)
        .Property(QStringLiteral("ShrinkToFit"), &TEDBImage::SetShrinkToFit)
        .Property(QStringLiteral("ZoomToFit"), &TEDBImage::SetZoomToFit)
        .Event<TLoadCustomImageEvent>(QStringLiteral("OnLoadCustomImage"),
                                      &TEDBImage::OnLoadCustomImage);
}
