#include "data/dataset/sql/register_sql_classes.h"

#include "data/dataset/form_params.h"
#include "data/dataset/sql/sqlconnection.h"
#include "data/dataset/sql/sqlquery.h"
#include "platform/formfile/class_registry.h"
#include "platform/formfile/form_error.h"
#include "platform/formfile/form_reader.h"

void RegisterSqlClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterClass<TSQLConnection>(QStringLiteral("TSQLConnection"), QStringLiteral("TComponent"))
        .Property(QStringLiteral("ConnectionName"), &TSQLConnection::SetConnectionName)
        .Property(QStringLiteral("DriverName"), &TSQLConnection::SetDriverName)
        .Property(QStringLiteral("GetDriverFunc"), &TSQLConnection::SetGetDriverFunc)
        .Property(QStringLiteral("LibraryName"), &TSQLConnection::SetLibraryName)
        .Property(QStringLiteral("VendorLib"), &TSQLConnection::SetVendorLib)
        .Property(QStringLiteral("LoginPrompt"), &TSQLConnection::SetLoginPrompt)
        .Property(QStringLiteral("KeepConnection"), &TSQLConnection::SetKeepConnection)
        .Property(QStringLiteral("LoadParamsOnConnect"), &TSQLConnection::SetLoadParamsOnConnect)
        .Property(QStringLiteral("Params"), &TSQLConnection::SetParams)
        .Property(QStringLiteral("Connected"), &TSQLConnection::SetStreamedConnected);

    RegisterClass<TSQLQuery>(QStringLiteral("TSQLQuery"), QStringLiteral("TComponent"))
        .Raw(QStringLiteral("SQLConnection"),
             [](TSQLQuery& q, const FormValue& v, TComponent& root) {
                 SetReference<TSQLConnection>(q, root, v, QStringLiteral("TSQLConnection"),
                                              [&q](TSQLConnection* c) { q.SetSQLConnection(c); });
             })
        .Property(QStringLiteral("SQL"), &TSQLQuery::SetSQL)
        .Raw(QStringLiteral("Params"),
             [](TSQLQuery& q, const FormValue& v, TComponent&) { q.SetParams(FormParams(v)); })
        .Property(QStringLiteral("ParamCheck"), &TSQLQuery::SetParamCheck)
        .Property(QStringLiteral("MaxBlobSize"), &TSQLQuery::SetMaxBlobSize)
        .Property(QStringLiteral("Active"), &TSQLQuery::SetStreamedActive);
}
