#pragma once
// The ERP the program's data module names at design time
// ("localhost/3050:C:\dorvan\sop\dorvan.fdb"), given to a test's own server:
// the alias that the server answers to for its dorvan.fdb, and that file
// made from tests/fixtures/dorvan.sql. "localhost" must name that server for
// the program (LocalhostOverride).

#include "tests/support/private_server.h"
#include "tests/support/test_database.h"

#include <memory>

inline PrivateServer::Alias DesignTimeErpAlias() {
    return {QStringLiteral("C:\\dorvan\\sop\\dorvan.fdb"), QStringLiteral("dorvan.fdb")};
}

inline std::unique_ptr<TestDatabase> DesignTimeErpOn(const PrivateServer& server) {
    return TestDatabase::Existing(server.Place().dataDir + u'/' + DesignTimeErpAlias().file,
                                  QStringLiteral("dorvan.sql"), server.Place());
}
