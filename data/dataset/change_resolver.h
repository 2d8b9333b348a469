#pragma once
// The seam between a provider and the change resolution: the function that
// writes a delta to the database when a client dataset applies its change
// log. Given the provider (its OnUpdateError, UpdateMode, Options and Reset),
// its query (whose connection and statement text name the table), the delta
// and the maximum error count M (-1: no limit), it returns the error packet
// (none when every change went through) and the error count E. Failures of
// single changes go into the error packet; only a failure outside the
// changes (no connection, no transaction) is raised.
//
// The default is the generated SQL of sql_resolver.h; SetDefaultChangeResolver
// replaces it, and a provider may carry its own (SetResolver), which tests use.

#include "data/dataset/app_server.h"

#include <functional>

class TDataSetProvider;
class TSQLQuery;

using TChangeResolver = std::function<TApplyReply(TDataSetProvider& provider, TSQLQuery& query,
                                                  const TDelta& delta, int maxErrors)>;

// Returns the resolver that was installed before; an empty function restores
// the default one.
TChangeResolver SetDefaultChangeResolver(TChangeResolver resolver);
const TChangeResolver& DefaultChangeResolver();
