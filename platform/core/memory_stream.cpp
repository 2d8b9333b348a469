#include "platform/core/memory_stream.h"

#include <algorithm>
#include <cstring>

void TMemoryStream::Clear() {
    data_.clear();
    position_ = 0;
}

void TMemoryStream::Write(QByteArrayView bytes) {
    const size_t end = static_cast<size_t>(position_) + static_cast<size_t>(bytes.size());
    if (end > data_.size())
        data_.resize(end);
    if (!bytes.isEmpty())
        std::memcpy(data_.data() + position_, bytes.data(), static_cast<size_t>(bytes.size()));
    position_ = static_cast<qsizetype>(end);
}

qsizetype TMemoryStream::Read(void* buffer, qsizetype count) {
    const qsizetype n = std::clamp<qsizetype>(Size() - position_, 0, std::max<qsizetype>(count, 0));
    if (n > 0)
        std::memcpy(buffer, data_.data() + position_, static_cast<size_t>(n));
    position_ += n;
    return n;
}

QByteArrayView TMemoryStream::Remaining() const {
    if (position_ >= Size())
        return {};
    return {data_.data() + position_, Size() - position_};
}
