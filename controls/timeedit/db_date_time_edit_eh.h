#pragma once
// The date-time box as form descriptions create it, e.g. the login window's
// time box.

#include "controls/timeedit/custom_db_date_time_edit_eh.h"

class TDBDateTimeEditEh : public TCustomDBDateTimeEditEh {
public:
    explicit TDBDateTimeEditEh(TComponent* owner) : TCustomDBDateTimeEditEh(owner) {}
    QString ClassName() const override { return QStringLiteral("TDBDateTimeEditEh"); }
};
