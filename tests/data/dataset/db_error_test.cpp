// The composition of database error messages.

#include "data/dataset/db_error.h"
#include "data/dataset/sql/sql_error.h"
#include "data/driver/driver_error.h"
#include "tests/support/database_error_of.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    quint16 status;
    const char* server;
    const char* previous;
    const char* expected;
};

const Case kCases[] = {
    // The status table, without a server text.
    {1, "", "", "SQLDriver Error: [0x0001]: Warning"},
    {2, "", "", "SQLDriver Error: [0x0002]: Insufficient Memory for Operation"},
    {3, "", "", "SQLDriver Error: [0x0003]: Invalid Field Type"},
    {4, "", "", "SQLDriver Error: [0x0004]: Invalid Handle"},
    {5, "", "", "SQLDriver Error: [0x0005]: Operation Not Supported"},
    {6, "", "", "SQLDriver Error: [0x0006]: Invalid Time"},
    {7, "", "", "SQLDriver Error: [0x0007]: Invalid Data Translation"},
    {8, "", "", "SQLDriver Error: [0x0008]: Parameter/Column out of Range"},
    {9, "", "", "SQLDriver Error: [0x0009]: Invalid Parameter"},
    {10, "", "", "SQLDriver Error: [0x000A]: Result set at EOF"},
    {11, "", "", "SQLDriver Error: SQLDriver Error [0x000B]: Parameter Not Set"},
    {12, "", "", "SQLDriver Error: [0x000C] Invalid Username/Password"},
    {13, "", "", "SQLDriver Error: [0x000D]: Invalid Precision"},
    {14, "", "", "SQLDriver Error: [0x000E]: Invalid Length"},
    {15, "", "", "SQLDriver Error: [0x000F]: Invalid Transaction Isolation Level"},
    {16, "", "", "SQLDriver Error: [0x0010]: Invalid Transaction ID"},
    {17, "", "", "SQLDriver Error: [0x0011]: Duplicate Transaction ID"},
    {19, "", "", "SQLDriver Error: [0x0013]: Local Transaction already active"},
    {20, "", "", "SQLDriver Error: [0x0014]: Multiple Transactions not Enabled"},
    {21, "", "", "SQLDriver Error: [0x0015]: Connection failed"},
    {22, "", "", "SQLDriver Error: [0x0016]: Driver initialization failed"},
    {23, "", "", "SQLDriver Error: [0x0017]: Optimistic Locking failed"},
    {24, "", "", "SQLDriver Error: [0x0018]: Invalid REF"},
    {25, "", "", "SQLDriver Error: [0x0019]: No table found"},
    {64, "", "", "SQLDriver Error: [0x0064]: No more data"},
    {65, "", "", "SQLDriver Error: [0x0065]: SQL Error"},
    // Statuses from 1 to 100 without a text of their own.
    {18, "", "", "SQLDriver Error: [0x0012]: Unknown Error"},
    {26, "", "", "SQLDriver Error: [0x001A]: Unknown Error"},
    {100, "", "", "SQLDriver Error: [0x0064]: Unknown Error"},
    // Both lines, joined by CR LF; the previous text plays no part then.
    {21, "Your user name and password are not defined.", "old",
     "SQLDriver Error: [0x0015]: Connection failed\r\nSQL Server Error: Your user name and "
     "password are not defined."},
    // A server text alone (statuses above 100, and 0).
    {101, "violation of PRIMARY or UNIQUE KEY constraint \"PK\"", "old",
     "SQL Server Error: violation of PRIMARY or UNIQUE KEY constraint \"PK\""},
    {0, "text", "", "SQL Server Error: text"},
    // Neither: the previous text, failing that the unknown code.
    {101, "", "SQL Server Error: the last one", "SQL Server Error: the last one"},
    {0, "", "previous", "previous"},
    {101, "", "", "SQLDriver Error: Unknown Error Code '101'"},
    {0, "", "", "SQLDriver Error: Unknown Error Code '0'"},
    {65535, "", "", "SQLDriver Error: Unknown Error Code '65535'"},
};

} // namespace

TEST(DatabaseErrorText, FollowsTheCompositionRules) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(ComposeDatabaseError(c.status, QString::fromUtf8(c.server),
                                       QString::fromUtf8(c.previous)),
                  QString::fromUtf8(c.expected));
    }
}

TEST(DatabaseErrorText, StatusTextsOutsideTheRangeAreEmpty) {
    EXPECT_TRUE(Driver::StatusText(0).isEmpty());
    EXPECT_TRUE(Driver::StatusText(Driver::Status::ServerError).isEmpty());
    EXPECT_EQ(Driver::StatusText(Driver::Status::ConnectFailed),
              QStringLiteral("[0x0015]: Connection failed"));
}

TEST(DatabaseErrorText, TheRaisedMessageBecomesThePreviousText) {
    QString previous;
    const EDatabaseError e = Raised<EDatabaseError>([&] {
        RaiseDriverError(
            Driver::Error(Driver::Status::ServerError, QStringLiteral("lock conflict")), previous);
    });
    EXPECT_EQ(e.Message(), QStringLiteral("SQL Server Error: lock conflict"));
    EXPECT_EQ(e.ErrorCode(), 101);
    EXPECT_EQ(previous, QStringLiteral("SQL Server Error: lock conflict"));
    // A later failure without any text repeats it.
    EXPECT_EQ(DatabaseErrorOf([&] { RaiseDriverError(101, QString(), previous); }),
              QStringLiteral("SQL Server Error: lock conflict"));
}

TEST(DatabaseErrorText, IsAnException) {
    CheckRaised<Exception>([] { DatabaseError(QStringLiteral("Missing Database property")); },
                           [](const Exception& e) {
                               EXPECT_EQ(e.Message(), QStringLiteral("Missing Database property"));
                               EXPECT_NE(dynamic_cast<const EDatabaseError*>(&e), nullptr);
                           });
}
