#pragma once
// Blobs kept out of memory: a temporary file of the rows, in the user's
// temporary folder, into which the blobs of a set of rows above a threshold
// go as they arrive, each read back whole when a field reads it. The rows
// hold where each one is; what is written there never changes, so two rows
// that point to the same place hold the same bytes.
//
// The file is one of this user's alone with no name (private_temporary.h):
// it goes when the last rows and values that point into it go (the dataset
// closes) or the process ends, killed or not.

#include "data/dataset/values/value.h"

#include <QByteArrayView>
#include <QString>
#include <memory>

class TBlobSpill : public TBytesKeeper, public std::enable_shared_from_this<TBlobSpill> {
public:
    // Blobs of this many bytes or more are kept in the file.
    static constexpr qint64 DefaultThreshold = 1024;

    // A spill into `folder` (the user's temporary folder when empty), whose
    // file is made when the first blob comes.
    static std::shared_ptr<TBlobSpill> Create(qint64 threshold = DefaultThreshold,
                                              const QString& folder = QString());
    ~TBlobSpill() override;
    TBlobSpill(const TBlobSpill&) = delete;
    TBlobSpill& operator=(const TBlobSpill&) = delete;

    qint64 Threshold() const { return threshold_; }
    // Whether a blob of `size` bytes goes to the file.
    bool Takes(qint64 size) const { return size >= threshold_; }
    // Writes the bytes at the end of the file. A file that cannot be made or
    // written whole (a full disk) raises Exception, with the folder and the
    // system's reason, and keeps nothing of them.
    TKeptBytes Keep(QByteArrayView bytes);
    QByteArray ReadBytes(qint64 at, qint64 size) const override;
    // The bytes kept so far.
    qint64 Size() const { return end_; }

    // Removes the files that killed runs of this user left in `folder` (the
    // user's temporary folder when empty); see private_temporary.h.
    static void RemoveLeftovers(const QString& folder = QString());

private:
    TBlobSpill(qint64 threshold, const QString& folder);
    [[noreturn]] void Fail(const char* what, int error) const;

    qint64 threshold_;
    QString folder_;
    int fd_ = -1;
    qint64 end_ = 0;
};
