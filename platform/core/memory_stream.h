#pragma once
// TMemoryStream: bytes in memory with a read and write position. Emptying it
// keeps its buffer, so one stream can serve many loads without allocating
// again.

#include <QByteArray>
#include <QByteArrayView>
#include <vector>

class TMemoryStream {
public:
    qsizetype Size() const { return static_cast<qsizetype>(data_.size()); }
    qsizetype Position() const { return position_; }
    // Positions past the end are allowed; reading there gives nothing and
    // writing there fills the gap with zeros.
    void SetPosition(qsizetype position) { position_ = position < 0 ? 0 : position; }
    void Rewind() { position_ = 0; }

    // Size and position 0; the buffer is kept.
    void Clear();
    // Writes at the position and moves it on, growing the stream as needed.
    void Write(QByteArrayView bytes);
    // Reads up to `count` bytes at the position and moves it on; returns the
    // bytes read.
    qsizetype Read(void* buffer, qsizetype count);

    // Everything, and what lies from the position to the end.
    QByteArrayView View() const { return {data_.data(), Size()}; }
    QByteArrayView Remaining() const;

private:
    std::vector<char> data_;
    qsizetype position_ = 0;
};
