#pragma once
// The requests a client dataset sends to its provider, and what comes back.
// The provider is reached in process; the calls block until done and an
// exception raised inside the provider reaches the client as it is.
//
//   AS_GetRecords    Count rows (-1 all, 0 none) with the options below, the
//                    command text (empty: the query keeps its statement) and
//                    the parameters (empty: none sent) -> a data packet, the
//                    number of rows in it, output parameters when there are any
//   AS_Execute       command text and parameters -> output parameters
//   AS_GetParams     -> the parameter list of the provider's query (none
//                    when it has no parameters)
//   AS_ApplyUpdates  the change log as a delta and the maximum error count
//                    -> the error packet (none when all went well) and the
//                    error count
// OwnerData travels along and is not used.

#include "data/dataset/engine/delta.h"
#include "data/dataset/engine/packet.h"
#include "data/dataset/params.h"

#include <QVariant>
#include <optional>

enum TGetRecordOption : unsigned {
    grMetaData = 0x01, // include the field descriptions
    grReset = 0x02,    // close the query first if the provider opened it
};

struct TRecordsReply {
    std::optional<TDataPacket> packet; // none: no packet
    int recsOut = 0;
    std::optional<TParams> params; // none: the client keeps its parameters
};

struct TApplyReply {
    std::optional<TErrorPacket> errors; // none: every change was applied
    int errorCount = 0;
    // The apply's transaction was rolled back: none of the changes reached
    // the database, so none of them may be merged as applied.
    bool rolledBack = false;
};

class IAppServer {
public:
    virtual ~IAppServer() = default;
    virtual TRecordsReply AS_GetRecords(const QString& providerName, int count, unsigned options,
                                        const QString& commandText, const TParams& params,
                                        QVariant& ownerData) = 0;
    virtual std::optional<TParams> AS_Execute(const QString& providerName,
                                              const QString& commandText, const TParams& params,
                                              QVariant& ownerData) = 0;
    virtual std::optional<TParams> AS_GetParams(const QString& providerName,
                                                QVariant& ownerData) = 0;
    virtual TApplyReply AS_ApplyUpdates(const QString& providerName, const TDelta& delta,
                                        int maxErrors, QVariant& ownerData) = 0;
};
