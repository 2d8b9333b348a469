#pragma once
// A read-only dataset over the changes of a delta, one record a change,
// showing the change's new values (the values as read, for a delete). The
// change resolution positions it on the failing change for OnUpdateError.

#include "data/dataset/dataset.h"
#include "data/dataset/engine/delta.h"

class TDeltaDataSet : public TDataSet {
public:
    explicit TDeltaDataSet(const TDelta& delta);
    ~TDeltaDataSet() override;
    QString ClassName() const override { return QStringLiteral("TDeltaDataSet"); }

    bool CanModify() const override { return false; }
    // Opens the dataset when needed and makes the change at `index` current.
    void Position(int index);
    // The change of the current record.
    const TDeltaChange* CurrentChange() const;

protected:
    void InternalOpen() override;
    void InternalClose() override {}
    void InternalFirst() override { current_ = 0; }
    void InternalLast() override { current_ = Count() - 1; }
    bool InternalNext() override;
    bool InternalPrior() override;
    bool InternalEof() const override { return current_ >= Count(); }
    bool InternalBof() const override { return current_ < 0 || Count() == 0; }
    int InternalRecNo() const override { return InternalEof() || current_ < 0 ? 0 : current_ + 1; }
    void InternalSetRecNo(int recNo) override { current_ = recNo - 1; }
    int InternalRecordCount() const override { return Count(); }
    TDataBookmark InternalBookmark() const override;
    void InternalGotoBookmark(TDataBookmark bookmark) override;
    bool InternalBookmarkValid(TDataBookmark bookmark) const override;
    void InternalInsert(bool append) override;
    void InternalEdit() override;
    void InternalPost() override {}
    void InternalCancel() override {}
    void InternalDelete() override;
    TValue InternalGetFieldValue(const TField& field) const override;
    void InternalSetFieldValue(const TField& field, const TValue& value) override;

private:
    int Count() const { return static_cast<int>(delta_.changes.size()); }
    [[noreturn]] static void ReadOnly();

    const TDelta& delta_;
    int current_ = 0;
};
