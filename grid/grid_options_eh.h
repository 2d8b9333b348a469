#pragma once
// The grid's option sets and the small enumerations of its properties, with
// the names a form description writes them by.

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <optional>

// A set of enumeration values as one bit each.
template <typename E> class TSetEh {
public:
    constexpr TSetEh() = default;
    constexpr TSetEh(std::initializer_list<E> values) {
        for (E v : values)
            bits_ |= Bit(v);
    }
    constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
    constexpr void Include(E v) { bits_ |= Bit(v); }
    constexpr void Exclude(E v) { bits_ &= ~Bit(v); }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool operator==(const TSetEh&) const = default;

private:
    static constexpr unsigned long long Bit(E v) { return 1ULL << static_cast<unsigned>(v); }
    unsigned long long bits_ = 0;
};

enum class TDBGridOption {
    dgEditing,
    dgAlwaysShowEditor,
    dgTitles,
    dgIndicator,
    dgColumnResize,
    dgColLines,
    dgRowLines,
    dgTabs,
    dgRowSelect,
    dgAlwaysShowSelection,
    dgConfirmDelete,
    dgCancelOnExit,
    dgMultiSelect,
};
using TDBGridOptions = TSetEh<TDBGridOption>;

enum class TDBGridEhOption {
    dghFixed3D,
    dghFrozen3D,
    dghFooter3D,
    dghData3D,
    dghResizeWholeRightPart,
    dghHighlightFocus,
    dghClearSelection,
    dghFitRowHeightToText,
    dghAutoSortMarking,
    dghMultiSortMarking,
    dghEnterAsTab,
    dghTraceColSizing,
    dghIncSearch,
    dghPreferIncSearch,
    dghRowHighlight,
    dghDblClickOptimizeColWidth,
    dghDialogFind,
    dghRecordMoving,
    dghShowRecNo,
    dghHotTrack,
    dghExtendVertLines,
    dghColumnResize,
    dghColumnMove,
    dghAutoFitRowHeight,
};
using TDBGridEhOptions = TSetEh<TDBGridEhOption>;

enum class TDBGridEhAllowedOperation { alopInsertEh, alopUpdateEh, alopDeleteEh, alopAppendEh };
using TDBGridEhAllowedOperations = TSetEh<TDBGridEhAllowedOperation>;

enum class TDBGridEhAllowedSelection {
    gstRecordBookmarks,
    gstRectangle,
    gstColumns,
    gstAll,
};
using TDBGridEhAllowedSelections = TSetEh<TDBGridEhAllowedSelection>;

enum class TDBGridEhEditAction { geaCutEh, geaCopyEh, geaPasteEh, geaDeleteEh, geaSelectAllEh };
using TDBGridEhEditActions = TSetEh<TDBGridEhEditAction>;

enum class TGridIndicatorOption {
    gioShowRowIndicatorEh,
    gioShowRecNoEh,
    gioShowRowselCheckboxesEh,
};
using TGridIndicatorOptions = TSetEh<TGridIndicatorOption>;

enum class TScrollBarVisibleModeEh { sbAlwaysShowEh, sbNeverShowEh, sbAutoShowEh };

// The grid's construction defaults.
inline constexpr TDBGridOptions DefaultGridOptions{
    TDBGridOption::dgEditing,      TDBGridOption::dgTitles,        TDBGridOption::dgIndicator,
    TDBGridOption::dgColumnResize, TDBGridOption::dgColLines,      TDBGridOption::dgRowLines,
    TDBGridOption::dgTabs,         TDBGridOption::dgConfirmDelete, TDBGridOption::dgCancelOnExit};
inline constexpr TDBGridEhOptions DefaultGridOptionsEh{TDBGridEhOption::dghFixed3D,
                                                       TDBGridEhOption::dghHighlightFocus,
                                                       TDBGridEhOption::dghClearSelection};
inline constexpr TDBGridEhAllowedOperations DefaultAllowedOperations{
    TDBGridEhAllowedOperation::alopInsertEh, TDBGridEhAllowedOperation::alopUpdateEh,
    TDBGridEhAllowedOperation::alopDeleteEh, TDBGridEhAllowedOperation::alopAppendEh};
inline constexpr TDBGridEhAllowedSelections DefaultAllowedSelections{
    TDBGridEhAllowedSelection::gstRecordBookmarks, TDBGridEhAllowedSelection::gstRectangle,
    TDBGridEhAllowedSelection::gstColumns, TDBGridEhAllowedSelection::gstAll};
inline constexpr TGridIndicatorOptions DefaultIndicatorOptions{
    TGridIndicatorOption::gioShowRowIndicatorEh};

// The names of the values, in declaration order, for form descriptions.
namespace GridOptionNames {
QStringList Options();
QStringList OptionsEh();
QStringList AllowedOperations();
QStringList AllowedSelections();
QStringList EditActions();
QStringList IndicatorOptions();
QStringList ScrollBarVisibleModes();
} // namespace GridOptionNames

// A set from its names; the first unknown name is returned through `unknown`.
template <typename E>
std::optional<TSetEh<E>> SetFromNames(const QStringList& names, const QStringList& table,
                                      QString* unknown) {
    TSetEh<E> set;
    for (const QString& name : names) {
        int index = -1;
        for (int i = 0; i < table.size(); ++i)
            if (table[i].compare(name, Qt::CaseInsensitive) == 0)
                index = i;
        if (index < 0) {
            if (unknown)
                *unknown = name;
            return std::nullopt;
        }
        set.Include(static_cast<E>(index));
    }
    return set;
}
