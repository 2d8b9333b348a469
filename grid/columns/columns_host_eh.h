#pragma once
// What the columns of a grid ask of the grid that holds them: the dataset
// their fields come from, the fonts they inherit, the defaults of their
// titles, and a call when something changed that the grid must show.

#include <QFont>

class TDataSet;

enum class TColumnChangeEh {
    Paint,  // only the look: repaint
    Layout, // widths, visibility, fonts, fields: a layout pass
};

class IColumnsHostEh {
public:
    // The dataset of the grid's data source; null without one.
    virtual TDataSet* ColumnsDataSet() const = 0;
    virtual QFont ColumnsFont() const = 0;
    virtual QFont ColumnsTitleFont() const = 0;
    // The width of a column that has no field.
    virtual int DefaultColumnWidth() const = 0;
    // ColumnDefValues.Title.TitleButton: the title button of a column that sets none.
    virtual bool DefaultTitleButton() const = 0;
    virtual void ColumnsChanged(TColumnChangeEh change) = 0;

protected:
    ~IColumnsHostEh() = default;
};
