#pragma once
// The change resolution of the providers: writes a delta to the database as
// one generated statement per change inside one transaction, collects the
// changes that failed, and lets the provider's OnUpdateError steer the run.

#include "data/dataset/client/app_server.h"

class TDataSetProvider;
class TSQLQuery;

// Writes the delta through the provider's query's connection. Failures of
// single changes come back in the error packet and the count; a failure
// outside the changes (no connection, no transaction, no table name) is
// raised, with a transaction this apply started rolled back first.
TApplyReply ResolveWithSql(TDataSetProvider& provider, TSQLQuery& query, const TDelta& delta,
                           int maxErrors);
