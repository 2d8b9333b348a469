#pragma once
// The seam between a provider and the change resolution: the function that
// writes a delta when a client dataset applies its change log. Given the
// provider (its OnUpdateError, UpdateMode, Options and Reset), its query,
// the delta and the maximum error count M (-1: no limit), it returns the
// error packet (none when every change went through) and the error count E.
// Failures of single changes go into the error packet; only a failure
// outside the changes (no connection, no transaction) is raised.
//
// By default a provider asks its query (IProviderQuery::ResolveChanges: the
// generated SQL of sql_resolver.h for the data module's queries); a provider
// may carry its own resolver (TDataSetProvider::SetResolver), which tests use.

#include "data/dataset/client/app_server.h"

#include <functional>

class IProviderQuery;
class TDataSetProvider;

using TChangeResolver = std::function<TApplyReply(TDataSetProvider& provider, IProviderQuery& query,
                                                  const TDelta& delta, int maxErrors)>;
