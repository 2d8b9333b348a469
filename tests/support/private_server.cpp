#include "tests/support/private_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>
#include <arpa/inet.h>
#include <csignal>
#include <cstdio>
#include <netinet/in.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The folder of the installed server's plugins, messages and character
// sets: Debian's multiarch folder, or the layout of Firebird's own packages.
QString InstalledRoot() {
    for (const QString& lib : QDir(QStringLiteral("/usr/lib")).entryList(QDir::Dirs)) {
        const QString root = QStringLiteral("/usr/lib/%1/firebird/3.0").arg(lib);
        if (QFile::exists(root + QStringLiteral("/plugins")))
            return root;
    }
    if (QFile::exists(QStringLiteral("/opt/firebird/plugins")))
        return QStringLiteral("/opt/firebird");
    return QString();
}

QString ServerProgram(const QString& installed) {
    for (const QString& p : {QStringLiteral("/usr/sbin/firebird"), installed + "/bin/firebird"})
        if (QFile::exists(p))
            return p;
    return QString();
}

// A loopback port that nothing listens on now.
int FreePort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return 0;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

bool WriteText(const QString& path, const QString& text) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(text.toUtf8()) == text.toUtf8().size();
}

QProcessEnvironment ServerEnvironment(const QString& root) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("FIREBIRD"), root);
    env.insert(QStringLiteral("FIREBIRD_LOCK"), root + QStringLiteral("/lock"));
    env.insert(QStringLiteral("FIREBIRD_TMP"), root + QStringLiteral("/tmp"));
    return env;
}

} // namespace

PrivateServer::PrivateServer() {
    if (!Prepare() || !Start())
        std::fprintf(stderr, "PrivateServer: the server did not start in %s\n",
                     qPrintable(root_.path()));
}

PrivateServer::~PrivateServer() {
    Kill();
}

bool PrivateServer::Prepare() {
    const QString installed = InstalledRoot();
    if (installed.isEmpty() || ServerProgram(installed).isEmpty() || !root_.isValid())
        return false;
    const QString root = root_.path();
    for (const char* part : {"plugins", "intl", "lib", "firebird.msg", "plugins.conf", "UDF"})
        if (QFile::exists(installed + u'/' + QLatin1String(part)))
            QFile::link(installed + u'/' + QLatin1String(part), root + u'/' + QLatin1String(part));
    dataDir_ = root + QStringLiteral("/data");
    for (const QString& folder : {QStringLiteral("/lock"), QStringLiteral("/tmp")})
        QDir().mkpath(root + folder);
    QDir().mkpath(dataDir_);
    port_ = FreePort();
    const QString security = root + QStringLiteral("/security3.fdb");
    // Its own port and lock names, so that nothing of it meets the shared server.
    if (port_ == 0 ||
        !WriteText(root + QStringLiteral("/firebird.conf"),
                   QStringLiteral("RemoteServicePort = %1\n"
                                  "RemoteBindAddress = 127.0.0.1\n"
                                  "ServerMode = Super\n"
                                  "SecurityDatabase = %2\n"
                                  "IpcName = FirebirdTest%1\n")
                       .arg(port_)
                       .arg(security)) ||
        !WriteText(root + QStringLiteral("/databases.conf"),
                   QStringLiteral("security.db = %1\n").arg(security)))
        return false;

    // The security database, made by the embedded engine of isql under this
    // configuration, with the test login.
    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb")).isEmpty()
                             ? QStringLiteral("isql")
                             : QStringLiteral("isql-fb");
    QProcess make;
    make.setProcessEnvironment(ServerEnvironment(root));
    make.setWorkingDirectory(root);
    make.start(isql, {QStringLiteral("-q"), QStringLiteral("-user"), QStringLiteral("SYSDBA")});
    make.write(QStringLiteral("create database '%1';\ncreate user %2 password '%3';\ncommit;\n")
                   .arg(security, TestDatabase::User(), TestDatabase::Password())
                   .toUtf8());
    make.closeWriteChannel();
    if (!make.waitForFinished(60000) || make.exitCode() != 0 || !QFile::exists(security)) {
        std::fprintf(stderr, "PrivateServer: %s\n%s\n", make.readAllStandardOutput().constData(),
                     make.readAllStandardError().constData());
        return false;
    }
    return true;
}

DatabaseServer PrivateServer::Place() const {
    return {QStringLiteral("localhost/%1").arg(port_), dataDir_};
}

qint64 PrivateServer::ProcessId() const {
    return server_.state() == QProcess::Running ? server_.processId() : 0;
}

bool PrivateServer::Running() const {
    return server_.state() == QProcess::Running;
}

bool PrivateServer::Listening() const {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port_));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const bool connected =
        ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

bool PrivateServer::Start() {
    if (Running())
        return true;
    const QString root = root_.path();
    server_.setProcessEnvironment(ServerEnvironment(root));
    server_.setWorkingDirectory(root);
    server_.setStandardOutputFile(QProcess::nullDevice());
    server_.setStandardErrorFile(QProcess::nullDevice());
    // Gone with the test's process, whatever ends it.
    server_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    server_.start(ServerProgram(InstalledRoot()), {});
    if (!server_.waitForStarted(10000))
        return false;
    QDeadlineTimer deadline(30000);
    while (!Listening()) {
        if (deadline.hasExpired() || server_.waitForFinished(20))
            return false;
    }
    return true;
}

void PrivateServer::Kill() {
    if (!Running())
        return;
    ::kill(static_cast<pid_t>(server_.processId()), SIGKILL);
    server_.waitForFinished(30000);
}

void PrivateServer::Stop() {
    if (!Running())
        return;
    ::kill(static_cast<pid_t>(server_.processId()), SIGTERM);
    if (!server_.waitForFinished(10000))
        Kill();
}
