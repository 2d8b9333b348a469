#pragma once
// The values of one field in the order a dataset walks, checked against the
// same values read by position without moving (FieldValueAt), joined with
// blanks: "5 2 4 1 3".

#include "data/dataset/dataset.h"
#include "data/dataset/fields/field.h"

#include <QStringList>
#include <gtest/gtest.h>

inline QString Walk(TDataSet& dataSet, const QString& fieldName) {
    QStringList walked;
    QStringList read;
    TField& field = dataSet.FieldByName(fieldName);
    for (dataSet.First(); !dataSet.Eof(); dataSet.Next())
        walked << field.AsString();
    for (int i = 1; i <= dataSet.RecordCount(); ++i)
        read << dataSet.FieldValueAt(field, i).AsString();
    EXPECT_EQ(walked, read);
    return walked.join(u' ');
}
