#pragma once
// The operations in what a Firebird client sends, read from the bytes of an
// unencrypted wire (protocol 13 to 15, XDR): the client may send several in
// one go (lazy sending holds a statement's close or free, a blob's close,
// a select's execute back and sends them with the next request). Only what
// the benchmark needs to say what each wait is for: the op codes and enough
// of each packet to find the next one.

#include <QString>
#include <cstddef>
#include <vector>

namespace WireOps {

// Op codes of the packets a client sends in the upload.
enum Op : unsigned {
    kConnect = 1,
    kAttach = 19,
    kDetach = 21,
    kRelease = 28,
    kTransaction = 29,
    kCommit = 30,
    kRollback = 31,
    kCancelBlob = 38,
    kCloseBlob = 39,
    kGetSegment = 36,
    kPutSegment = 37,
    kInfoDatabase = 40,
    kInfoBlob = 43,
    kBatchSegments = 44,
    kCommitRetaining = 50,
    kOpenBlob2 = 56,
    kCreateBlob2 = 57,
    kAllocateStatement = 62,
    kExecute = 63,
    kExecImmediate = 64,
    kFetch = 65,
    kFreeStatement = 67,
    kPrepareStatement = 68,
    kInfoSql = 70,
    kExecute2 = 76,
    kRollbackRetaining = 86,
    kCrypt = 96,
};

// "op_execute", or "op_<number>" for one not named here.
QString Name(unsigned op);

struct Decoded {
    std::vector<unsigned> ops;
    // Every byte was accounted for by the packets read; false when an
    // operation of unknown layout stopped the reading (its code is the
    // last of `ops`).
    bool whole = false;
};

// The packets of one send of the client, in order.
Decoded ClientPackets(const unsigned char* data, size_t size);

// "op_free_statement op_execute op_fetch", with " …" when not whole.
QString Signature(const Decoded& decoded);

} // namespace WireOps
