#include "grid/register_grid_classes.h"

#include "data/dataset/datasource.h"
#include "grid/dbgrideh.h"
#include "grid/features/cds_dataset_features_eh.h"
#include "grid/finddialog/find_dialog_eh.h"
#include "grid/incsearch/inc_search_eh.h"
#include "grid/sorting/title_sort_eh.h"
#include "platform/formfile/class_registry.h"
#include "platform/formfile/form_reader.h"
#include "platform/ui/register_ui_classes.h"

#include <QApplication>

namespace {

template <typename E> TSetEh<E> SetValue(const FormValue& v, const QStringList& names) {
    QString unknown;
    const auto set = SetFromNames<E>(FormValues::Set(v), names, &unknown);
    if (!set)
        throw EPropertyValue(QStringLiteral("Invalid property value %1").arg(unknown));
    return *set;
}

TColor ColorValue(const FormValue& v) {
    if (v.kind == FormValue::Kind::Integer)
        return TColor::FromNumber(v.integer);
    const QString name = FormValues::Identifier(v);
    const auto color = TColor::FromName(name);
    if (!color)
        throw EPropertyValue(QStringLiteral("Invalid property value %1").arg(name));
    return *color;
}

TAlignment AlignmentValue(const FormValue& v) {
    return FormValues::Enum<TAlignment>(v, {{"taLeftJustify", taLeftJustify},
                                            {"taRightJustify", taRightJustify},
                                            {"taCenter", taCenter}});
}

// Font.Name, Font.Size, Font.Color, Font.Bold, Font.Italic after the given prefix.
bool SetFontProperty(TGridFontEh& font, const QString& name, const FormValue& v) {
    const QString key = name.toUpper();
    if (key == u"NAME")
        font.SetName(FormValues::String(v));
    else if (key == u"SIZE")
        font.SetSize(FormValues::Integer(v));
    else if (key == u"COLOR")
        font.SetColor(ColorValue(v).Resolve(QApplication::palette()));
    else if (key == u"BOLD")
        font.SetBold(FormValues::Boolean(v));
    else if (key == u"ITALIC")
        font.SetItalic(FormValues::Boolean(v));
    else
        return false;
    return true;
}

// A property of a column item: FieldName, Width, Title.Caption, Font.Name, ...
bool SetColumnProperty(TColumnEh& column, const QString& name, const FormValue& v) {
    const QString key = name.toUpper();
    if (key.startsWith(u"TITLE.FONT."))
        return SetFontProperty(column.Title().Font(), name.mid(11), v);
    if (key.startsWith(u"FONT."))
        return SetFontProperty(column.Font(), name.mid(5), v);
    if (key == u"FIELDNAME")
        column.SetFieldName(FormValues::String(v));
    else if (key == u"WIDTH")
        column.SetWidth(FormValues::Integer(v));
    else if (key == u"MINWIDTH")
        column.SetMinWidth(FormValues::Integer(v));
    else if (key == u"MAXWIDTH")
        column.SetMaxWidth(FormValues::Integer(v));
    else if (key == u"VISIBLE")
        column.SetVisible(FormValues::Boolean(v));
    else if (key == u"READONLY")
        column.SetReadOnly(FormValues::Boolean(v));
    else if (key == u"AUTOFITCOLWIDTH")
        column.SetAutoFitColWidth(FormValues::Boolean(v));
    else if (key == u"ALIGNMENT")
        column.SetAlignment(AlignmentValue(v));
    else if (key == u"TITLE.CAPTION")
        column.Title().SetCaption(FormValues::String(v));
    else if (key == u"TITLE.TITLEBUTTON")
        column.Title().SetTitleButton(FormValues::Boolean(v));
    else if (key == u"TITLE.ALIGNMENT")
        column.Title().SetAlignment(AlignmentValue(v));
    else if (key == u"TITLE.SORTMARKER")
        column.Title().SetSortMarker(FormValues::Enum<TSortMarkerEh>(
            v, {{"smNoneEh", smNoneEh}, {"smDownEh", smDownEh}, {"smUpEh", smUpEh}}));
    else if (key == u"TITLE.SORTINDEX")
        column.Title().SetSortIndex(FormValues::Integer(v));
    else if (key == u"FOOTER.VALUETYPE")
        column.Footer().SetValueType(
            FormValues::Enum<TFooterValueTypeEh>(v, {{"fvtNon", fvtNon},
                                                     {"fvtSum", fvtSum},
                                                     {"fvtAvg", fvtAvg},
                                                     {"fvtCount", fvtCount},
                                                     {"fvtFieldValue", fvtFieldValue},
                                                     {"fvtStaticText", fvtStaticText}}));
    else if (key == u"FOOTER.VALUE")
        column.Footer().SetValue(FormValues::String(v));
    else
        return false;
    return true;
}

void SetColumns(TDBGridEh& grid, const FormValue& v) {
    if (v.kind != FormValue::Kind::Collection)
        throw EPropertyValue(
            QStringLiteral("Expected items, found %1").arg(FormValue::KindName(v.kind)));
    TDBGridColumnsEh& columns = grid.Columns();
    columns.BeginUpdate();
    struct End {
        TDBGridColumnsEh& c;
        ~End() { c.EndUpdate(); }
    } end{columns};
    columns.SetState(TColumnsStateEh::csCustomized);
    columns.Clear();
    for (const std::vector<FormProperty>& item : v.items) {
        TColumnEh& column = columns.Add();
        for (const FormProperty& p : item)
            if (!SetColumnProperty(column, p.name, *p.value))
                throw EPropertyValue(QStringLiteral("Unknown property %1 of a column").arg(p.name));
    }
}

template <typename Builder>
void FontProperties(Builder& builder, const QString& prefix, TGridFontEh& (TDBGridEh::*font)()) {
    for (const char* name : {"Name", "Size", "Color", "Bold", "Italic"}) {
        const QString property = QString::fromLatin1(name);
        builder.Raw(prefix + property,
                    [font, property](TDBGridEh& g, const FormValue& v, TComponent&) {
                        SetFontProperty((g.*font)(), property, v);
                        g.FontsChanged();
                    });
    }
}

// A switch that this program only uses off (data grouping, the row detail panel).
void OffOnly(const FormValue& v, const char* what) {
    if (FormValues::Boolean(v))
        throw EPropertyValue(QStringLiteral("%1 is not supported").arg(QLatin1String(what)));
}

} // namespace

void RegisterGridClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterUiClasses();
    RegisterCDSDatasetFeatures();
    // Every grid sorts by its titles; the extensions of the searches join
    // the same way (RegisterFindDialogClasses, RegisterIncSearchEh).
    RegisterGridExtensionEh([](TDBGridEh&) -> std::unique_ptr<TGridExtensionEh> {
        return std::make_unique<TTitleSortEh>();
    });

    TClassInfo& info = TClassRegistry::Instance().Register(
        QStringLiteral("TDBGridEh"), QStringLiteral("TControl"), [](TComponent* owner) {
            auto* grid = new TDBGridEh(owner);
            grid->BeginLoading();
            return static_cast<TComponent*>(grid);
        });
    TClassBuilder<TDBGridEh> builder(info);
    builder
        .Raw("DataSource",
             [](TDBGridEh& g, const FormValue& v, TComponent& root) {
                 const QString name = v.kind == FormValue::Kind::String ? FormValues::String(v)
                                                                        : FormValues::Identifier(v);
                 if (name.isEmpty() || name.compare(u"nil", Qt::CaseInsensitive) == 0) {
                     g.SetDataSource(nullptr);
                     return;
                 }
                 TReferenceResolver::Request(g, root, name, [&g, name](TComponent* found) {
                     auto* source = ComponentAs<TDataSource>(found);
                     if (!source)
                         throw EPropertyValue(QStringLiteral("%1 is not a data source").arg(name));
                     g.SetDataSource(source);
                 });
             })
        .Property("AutoFitColWidths", &TDBGridEh::SetAutoFitColWidths)
        .Property("MinAutoFitWidth", &TDBGridEh::SetMinAutoFitWidth)
        .Property("ReadOnly", &TDBGridEh::SetReadOnly)
        .Property("Flat", &TDBGridEh::SetFlat)
        .Property("SortLocal", &TDBGridEh::SetSortLocal)
        .Property("FooterRowCount", &TDBGridEh::SetFooterRowCount)
        .Property("DefaultColWidth", &TDBGridEh::SetDefaultColWidth)
        .Raw("Options",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 g.SetOptions(SetValue<TDBGridOption>(v, GridOptionNames::Options()));
             })
        .Raw("OptionsEh",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 g.SetOptionsEh(SetValue<TDBGridEhOption>(v, GridOptionNames::OptionsEh()));
             })
        .Raw("AllowedOperations",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 g.SetAllowedOperations(
                     SetValue<TDBGridEhAllowedOperation>(v, GridOptionNames::AllowedOperations()));
             })
        .Raw("AllowedSelections",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 g.SetAllowedSelections(
                     SetValue<TDBGridEhAllowedSelection>(v, GridOptionNames::AllowedSelections()));
             })
        .Raw("EditActions",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 g.SetEditActions(SetValue<TDBGridEhEditAction>(v, GridOptionNames::EditActions()));
             })
        .Raw("IndicatorOptions",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 g.SetIndicatorOptions(
                     SetValue<TGridIndicatorOption>(v, GridOptionNames::IndicatorOptions()));
             })
        .Raw("Color",
             [](TDBGridEh& g, const FormValue& v, TComponent&) { g.SetColor(ColorValue(v)); })
        .Raw("FixedColor",
             [](TDBGridEh& g, const FormValue& v, TComponent&) { g.SetFixedColor(ColorValue(v)); })
        .Raw("FooterColor",
             [](TDBGridEh& g, const FormValue& v, TComponent&) { g.SetFooterColor(ColorValue(v)); })
        .Raw("BorderStyle",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 g.SetBorderSingle(
                     FormValues::Enum<bool>(v, {{"bsSingle", true}, {"bsNone", false}}));
             })
        .Raw("ColumnDefValues.Title.TitleButton",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 g.ColumnDefValues().Title.TitleButton = FormValues::Boolean(v);
             })
        .Raw("SumList.Active", [](TDBGridEh& g, const FormValue& v,
                                  TComponent&) { g.SumList().SetActive(FormValues::Boolean(v)); })
        .Raw("SumList.VirtualRecords",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 g.SumList().SetVirtualRecords(FormValues::Boolean(v));
             })
        .Raw("VertScrollBar.VisibleMode",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 using M = TScrollBarVisibleModeEh;
                 g.SetVertScrollBarVisibleMode(
                     FormValues::Enum<M>(v, {{"sbAlwaysShowEh", M::sbAlwaysShowEh},
                                             {"sbNeverShowEh", M::sbNeverShowEh},
                                             {"sbAutoShowEh", M::sbAutoShowEh}}));
             })
        .Raw("VertScrollBar.Tracking",
             [](TDBGridEh& g, const FormValue& v, TComponent&) {
                 g.SetVertScrollBarTracking(FormValues::Boolean(v));
             })
        .Raw("DataGrouping.Active",
             [](TDBGridEh&, const FormValue& v, TComponent&) { OffOnly(v, "Data grouping"); })
        .Raw("RowDetailPanel.Active", [](TDBGridEh&, const FormValue& v,
                                         TComponent&) { OffOnly(v, "The row detail panel"); })
        .Raw("Columns", [](TDBGridEh& g, const FormValue& v, TComponent&) { SetColumns(g, v); })
        .Event<TNotifyEvent>("OnColWidthsChanged", &TDBGridEh::OnColWidthsChanged)
        .Event<TTitleEhClickEvent>("OnTitleBtnClick", &TDBGridEh::OnTitleBtnClick)
        .Event<TNotifyEvent>("OnSortMarkingChanged", &TDBGridEh::OnSortMarkingChanged)
        .Event<TNotifyEvent>("OnDblClick", &TDBGridEh::OnDblClick);
    FontProperties(builder, QStringLiteral("TitleFont."), &TDBGridEh::TitleFont);
    FontProperties(builder, QStringLiteral("FooterFont."), &TDBGridEh::FooterFont);
    RegisterFindDialogClasses();
    RegisterIncSearchEh();
}
