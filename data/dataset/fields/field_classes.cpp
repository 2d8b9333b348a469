// The conversions and texts of the field classes.

#include "data/dataset/db_error.h"
#include "data/dataset/fields/bcd_fields.h"
#include "data/dataset/fields/blob_fields.h"
#include "data/dataset/fields/boolean_field.h"
#include "data/dataset/fields/datetime_fields.h"
#include "data/dataset/fields/float_field.h"
#include "data/dataset/fields/integer_fields.h"
#include "data/dataset/fields/string_field.h"
#include "platform/system/format_settings.h"

#include <limits>

TValue TStringField::ConvertIn(const TValue& value) const {
    QString text = value.AsString();
    if (Size() > 0 && text.size() > Size())
        text.truncate(Size());
    return TValue(text);
}

TIntegerField::TIntegerField(TComponent* owner, TFieldType type, qint64 min, qint64 max)
    : TField(owner, type, 0), min_(min), max_(max) {
    SetAlignment(taRightJustify);
}

TLargeintField::TLargeintField(TComponent* owner)
    : TIntegerField(owner, ftLargeint, std::numeric_limits<qint64>::min(),
                    std::numeric_limits<qint64>::max()) {}

TValue TIntegerField::ConvertIn(const TValue& value) const {
    const qint64 v = value.AsInteger();
    if (v < min_ || v > max_)
        DatabaseError(QStringLiteral("%1 is not a valid value for field '%2'. The allowed range is "
                                     "%3 to %4")
                          .arg(v)
                          .arg(DisplayName())
                          .arg(min_)
                          .arg(max_));
    return TValue(v);
}

TFloatField::TFloatField(TComponent* owner) : TField(owner, ftFloat, 0) {
    SetAlignment(taRightJustify);
}

namespace {

// A number as the user reads it: the user's decimal separator for the point.
QString ShownNumber(QString text, bool display) {
    if (display)
        text.replace(u'.', FormatSettings().DecimalSeparator);
    return text;
}

} // namespace

QString TFloatField::GetText(const TValue& v, bool display) const {
    return v.IsNull() ? QString()
                      : ShownNumber(QString::number(v.AsFloat(), 'g', precision_), display);
}

TFMTBCDField::TFMTBCDField(TComponent* owner, TFieldType type) : TField(owner, type, 2) {
    SetAlignment(taRightJustify);
}

TValue TFMTBCDField::ConvertIn(const TValue& value) const {
    return TValue(value.AsBcd().Rescaled(Size()));
}

QString TFMTBCDField::GetText(const TValue& v, bool display) const {
    if (v.IsNull())
        return QString();
    QString text = v.AsBcd().ToString();
    if (text.contains(u'.')) {
        while (text.endsWith(u'0'))
            text.chop(1);
        if (text.endsWith(u'.'))
            text.chop(1);
    }
    return ShownNumber(text, display);
}

QString TBooleanField::GetText(const TValue& v, bool) const {
    if (v.IsNull())
        return QString();
    return v.AsBoolean() ? QStringLiteral("True") : QStringLiteral("False");
}

TValue TDateTimeField::ConvertIn(const TValue& value) const {
    return TValue(value.AsDateTime());
}

QString TDateTimeField::GetText(const TValue& v, bool) const {
    if (v.IsNull())
        return QString();
    const TDateTime dt = v.AsDateTime();
    const TFormatSettings& fs = FormatSettings();
    QString text = FormatDateTime(fs.ShortDateFormat, dt);
    if (dt.TimePart().Value() != 0)
        text += u' ' + FormatDateTime(fs.LongTimeFormat, dt);
    return text;
}

TValue TDateField::ConvertIn(const TValue& value) const {
    return TValue(value.AsDateTime().DatePart());
}

QString TDateField::GetText(const TValue& v, bool) const {
    return v.IsNull() ? QString()
                      : FormatDateTime(FormatSettings().ShortDateFormat, v.AsDateTime());
}

TValue TTimeField::ConvertIn(const TValue& value) const {
    return TValue(value.AsDateTime().TimePart());
}

QString TTimeField::GetText(const TValue& v, bool) const {
    return v.IsNull() ? QString() : FormatDateTime(FormatSettings().LongTimeFormat, v.AsDateTime());
}

QString TBlobField::GetText(const TValue& value, bool display) const {
    if (!display)
        return value.AsString();
    return value.IsNull() ? QStringLiteral("(blob)") : QStringLiteral("(BLOB)");
}

QString TMemoField::GetText(const TValue& value, bool display) const {
    if (!display)
        return value.AsString();
    return value.IsNull() ? QStringLiteral("(memo)") : QStringLiteral("(MEMO)");
}
