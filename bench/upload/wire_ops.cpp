#include "bench/upload/wire_ops.h"

#include <QStringList>
#include <cstdint>
#include <optional>

namespace WireOps {
namespace {

// XDR: big-endian 4-byte integers, byte strings with a 4-byte length and
// padding to a multiple of 4.
class Reader {
public:
    Reader(const unsigned char* data, size_t size) : data_(data), size_(size) {}

    bool AtEnd() const { return at_ == size_; }
    std::optional<uint32_t> Word() {
        if (size_ - at_ < 4)
            return std::nullopt;
        const unsigned char* p = data_ + at_;
        at_ += 4;
        return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
    }
    bool Skip(size_t bytes) {
        const size_t padded = (bytes + 3) & ~size_t(3);
        if (size_ - at_ < padded)
            return false;
        at_ += padded;
        return true;
    }
    bool Words(int count) {
        for (int i = 0; i < count; ++i)
            if (!Word())
                return false;
        return true;
    }
    // A counted string; its bytes when `keep` is set.
    bool String(std::vector<unsigned char>* keep = nullptr) {
        const std::optional<uint32_t> length = Word();
        if (!length || size_ - at_ < *length)
            return false;
        if (keep)
            keep->assign(data_ + at_, data_ + at_ + *length);
        return Skip(*length);
    }
    std::optional<std::vector<unsigned char>> Bytes(size_t count) {
        if (size_ - at_ < count)
            return std::nullopt;
        std::vector<unsigned char> bytes(data_ + at_, data_ + at_ + count);
        if (!Skip(count))
            return std::nullopt;
        return bytes;
    }

private:
    const unsigned char* data_;
    size_t size_;
    size_t at_ = 0;
};

// One value of a message as its BLR declares it.
struct Item {
    unsigned char type = 0;
    unsigned length = 0;
};

// BLR codes of the message items a client sends.
enum : unsigned char {
    blr_short = 7,
    blr_long = 8,
    blr_quad = 9,
    blr_float = 10,
    blr_d_float = 11,
    blr_sql_date = 12,
    blr_sql_time = 13,
    blr_text = 14,
    blr_text2 = 15,
    blr_int64 = 16,
    blr_blob2 = 17,
    blr_bool = 23,
    blr_double = 27,
    blr_timestamp = 35,
    blr_varying = 37,
    blr_varying2 = 38,
    blr_message = 4,
};

// The items of a message's BLR: version, begin, message, number, count,
// then each item (a value and its null indicator, a short).
std::optional<std::vector<Item>> MessageItems(const std::vector<unsigned char>& blr) {
    if (blr.size() < 6 || blr[2] != blr_message)
        return std::nullopt;
    const unsigned count = blr[4] | (unsigned(blr[5]) << 8);
    std::vector<Item> items;
    size_t at = 6;
    auto u16 = [&](size_t i) { return unsigned(blr[i] | (unsigned(blr[i + 1]) << 8)); };
    for (unsigned i = 0; i < count; ++i) {
        if (at >= blr.size())
            return std::nullopt;
        Item item{blr[at++], 0};
        switch (item.type) {
        case blr_text:
        case blr_varying:
            item.length = u16(at);
            at += 2;
            break;
        case blr_text2:
        case blr_varying2:
            item.length = u16(at + 2);
            at += 4;
            break;
        case blr_short:
        case blr_long:
        case blr_quad:
        case blr_int64:
            ++at; // scale
            break;
        case blr_blob2:
            at += 4; // subtype, character set
            break;
        case blr_float:
        case blr_d_float:
        case blr_double:
        case blr_sql_date:
        case blr_sql_time:
        case blr_timestamp:
        case blr_bool:
            break;
        default:
            return std::nullopt;
        }
        if (at > blr.size())
            return std::nullopt;
        items.push_back(item);
    }
    return items;
}

// A message as protocol 13 and later send it: a bitmap of the null values,
// then only the values that are not null.
bool SkipMessage(Reader& r, const std::vector<unsigned char>& blr) {
    const std::optional<std::vector<Item>> items = MessageItems(blr);
    if (!items || items->size() % 2 != 0)
        return false;
    const size_t fields = items->size() / 2;
    const std::optional<std::vector<unsigned char>> nulls = r.Bytes((fields + 7) / 8);
    if (!nulls)
        return false;
    for (size_t i = 0; i < fields; ++i) {
        if ((*nulls)[i / 8] & (1u << (i % 8)))
            continue;
        const Item& item = (*items)[i * 2];
        switch (item.type) {
        case blr_text:
        case blr_text2:
            if (!r.Skip(item.length))
                return false;
            break;
        case blr_varying:
        case blr_varying2: {
            const std::optional<uint32_t> length = r.Word();
            if (!length || !r.Skip(*length))
                return false;
            break;
        }
        case blr_quad:
        case blr_int64:
        case blr_double:
        case blr_d_float:
        case blr_timestamp:
        case blr_blob2:
            if (!r.Words(2))
                return false;
            break;
        default:
            if (!r.Words(1))
                return false;
            break;
        }
    }
    return true;
}

// Reads the body of a packet whose op code was just read; false when its
// layout is not known here or the bytes end inside it.
bool SkipBody(Reader& r, unsigned op) {
    switch (op) {
    case kDetach:
    case kRelease:
    case kCommit:
    case kRollback:
    case kCommitRetaining:
    case kRollbackRetaining:
    case kCancelBlob:
    case kCloseBlob:
    case kAllocateStatement:
        return r.Words(1);
    case kFreeStatement:
        return r.Words(2);
    case kTransaction:
        return r.Words(1) && r.String();
    case kOpenBlob2:
    case kCreateBlob2:
        return r.String() && r.Words(3);
    case kGetSegment:
    case kPutSegment:
    case kBatchSegments:
        return r.Words(2) && r.String();
    case kInfoDatabase:
    case kInfoBlob:
    case kInfoSql:
        return r.Words(2) && r.String() && r.Words(1);
    case kPrepareStatement:
    case kExecImmediate:
        return r.Words(3) && r.String() && r.String() && r.Words(1);
    case kFetch:
        return r.Words(1) && r.String() && r.Words(2);
    case kExecute:
    case kExecute2: {
        std::vector<unsigned char> blr;
        if (!r.Words(2) || !r.String(&blr))
            return false;
        const std::optional<uint32_t> number = r.Word();
        const std::optional<uint32_t> messages = r.Word();
        if (!number || !messages || (*messages > 0 && !SkipMessage(r, blr)))
            return false;
        return op == kExecute || (r.String() && r.Words(1));
    }
    case kCrypt:
        return r.String() && r.String();
    default:
        return false;
    }
}

} // namespace

QString Name(unsigned op) {
    switch (op) {
    case kConnect:
        return QStringLiteral("op_connect");
    case kAttach:
        return QStringLiteral("op_attach");
    case kDetach:
        return QStringLiteral("op_detach");
    case kRelease:
        return QStringLiteral("op_release");
    case kTransaction:
        return QStringLiteral("op_transaction");
    case kCommit:
        return QStringLiteral("op_commit");
    case kRollback:
        return QStringLiteral("op_rollback");
    case kCancelBlob:
        return QStringLiteral("op_cancel_blob");
    case kCloseBlob:
        return QStringLiteral("op_close_blob");
    case kGetSegment:
        return QStringLiteral("op_get_segment");
    case kPutSegment:
        return QStringLiteral("op_put_segment");
    case kInfoDatabase:
        return QStringLiteral("op_info_database");
    case kInfoBlob:
        return QStringLiteral("op_info_blob");
    case kBatchSegments:
        return QStringLiteral("op_batch_segments");
    case kCommitRetaining:
        return QStringLiteral("op_commit_retaining");
    case kOpenBlob2:
        return QStringLiteral("op_open_blob2");
    case kCreateBlob2:
        return QStringLiteral("op_create_blob2");
    case kAllocateStatement:
        return QStringLiteral("op_allocate_statement");
    case kExecute:
        return QStringLiteral("op_execute");
    case kExecImmediate:
        return QStringLiteral("op_exec_immediate");
    case kFetch:
        return QStringLiteral("op_fetch");
    case kFreeStatement:
        return QStringLiteral("op_free_statement");
    case kPrepareStatement:
        return QStringLiteral("op_prepare_statement");
    case kInfoSql:
        return QStringLiteral("op_info_sql");
    case kExecute2:
        return QStringLiteral("op_execute2");
    case kRollbackRetaining:
        return QStringLiteral("op_rollback_retaining");
    case kCrypt:
        return QStringLiteral("op_crypt");
    }
    return QStringLiteral("op_%1").arg(op);
}

Decoded ClientPackets(const unsigned char* data, size_t size) {
    Decoded decoded;
    Reader r(data, size);
    while (!r.AtEnd()) {
        const std::optional<uint32_t> op = r.Word();
        if (!op)
            return decoded;
        decoded.ops.push_back(*op);
        if (!SkipBody(r, *op))
            return decoded;
    }
    decoded.whole = true;
    return decoded;
}

QString Signature(const Decoded& decoded) {
    QStringList names;
    for (unsigned op : decoded.ops)
        names << Name(op);
    QString text = names.join(u' ');
    if (!decoded.whole)
        text += QStringLiteral(" …");
    return text;
}

} // namespace WireOps
