#include "data/dataset/register_sql_classes.h"

#include "data/dataset/form_params.h"
#include "data/dataset/sqlconnection.h"
#include "data/dataset/sqlquery.h"
#include "platform/formfile/class_registry.h"
#include "platform/formfile/form_error.h"
#include "platform/formfile/form_reader.h"

namespace {} // namespace

void RegisterSqlClasses() {
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
                 const QString name =
                     v.kind == FormValue::Kind::String ? v.text : FormValues::Identifier(v);
                 if (name.isEmpty()) {
                     q.SetSQLConnection(nullptr);
                     return;
                 }
                 // A component of the same root, by name (the reader's resolver).
                 TReferenceResolver::Request(q, root, name, [&q, name](TComponent* found) {
                     auto* conn = ComponentAs<TSQLConnection>(found);
                     if (!conn)
                         throw EPropertyValue(
                             QStringLiteral("%1 is not a TSQLConnection").arg(name));
                     q.SetSQLConnection(conn);
                 });
             })
        .Property(QStringLiteral("SQL"), &TSQLQuery::SetSQL)
        .Raw(QStringLiteral("Params"),
             [](TSQLQuery& q, const FormValue& v, TComponent&) { q.SetParams(FormParams(v)); })
        .Property(QStringLiteral("ParamCheck"), &TSQLQuery::SetParamCheck)
        .Property(QStringLiteral("MaxBlobSize"), &TSQLQuery::SetMaxBlobSize)
        .Property(QStringLiteral("Active"), &TSQLQuery::SetStreamedActive);
}
