#pragma once
// IProviderQuery: what a provider needs of the dataset it serves. The data
// module's queries (TSQLQuery) implement it against the database; tests
// serve rows held in memory through it. The provider sets the statement and
// its parameters from the client's requests, opens the query, reads its
// rows forward into packets, closes it, executes statements, and hands
// change logs to it.

#include "data/dataset/client/app_server.h"
#include "data/dataset/params.h"

#include <vector>

class TDataSetProvider;

class IProviderQuery {
public:
    virtual ~IProviderQuery() = default;

    // The statement (a client's command text replaces it) and its parameters.
    virtual void SetSQLText(const QString& text) = 0;
    virtual TParams& Params() = 0;
    virtual const TParams& Params() const = 0;

    // Reading forward: Open stands on the first row (Eof when there is none).
    virtual bool Active() const = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual bool Eof() const = 0;
    virtual const std::vector<TValue>& Row() const = 0;
    virtual void Next() = 0;
    // The columns of the open result as a data packet describes them, and
    // the locale code of its texts.
    virtual std::vector<TPacketColumn> PacketColumns() const = 0;
    virtual quint32 PacketLcid() const = 0;

    // Runs the statement as one without rows; returns the affected-row count.
    virtual int ExecSQL() = 0;
    // Writes a client's change log the query's own way (see change_resolver.h).
    virtual TApplyReply ResolveChanges(TDataSetProvider& provider, const TDelta& delta,
                                       int maxErrors) = 0;
};
