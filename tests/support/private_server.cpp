#include "tests/support/private_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
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

constexpr quint16 kPort = 3050;

// A loopback address outside 127.0.x.x whose port 3050 is free now, so that
// the server may listen on the standard port beside the shared one.
QString FreeAddress() {
    QRandomGenerator* random = QRandomGenerator::global();
    for (int attempt = 0; attempt < 50; ++attempt) {
        const QString address = QStringLiteral("127.%1.%2.%3")
                                    .arg(random->bounded(1, 255))
                                    .arg(random->bounded(0, 256))
                                    .arg(random->bounded(1, 255));
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return QString();
        sockaddr_in socketAddress{};
        socketAddress.sin_family = AF_INET;
        socketAddress.sin_port = htons(kPort);
        ::inet_pton(AF_INET, address.toLatin1().constData(), &socketAddress.sin_addr);
        const bool free =
            ::bind(fd, reinterpret_cast<sockaddr*>(&socketAddress), sizeof socketAddress) == 0;
        ::close(fd);
        if (free)
            return address;
    }
    return QString();
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

PrivateServer::PrivateServer(const std::vector<Alias>& aliases) {
    if (!Prepare(aliases) || !Start())
        std::fprintf(stderr, "PrivateServer: the server did not start in %s\n",
                     qPrintable(root_.path()));
}

PrivateServer::~PrivateServer() {
    Kill();
}

bool PrivateServer::Prepare(const std::vector<Alias>& aliases) {
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
    host_ = FreeAddress();
    const QString security = root + QStringLiteral("/security3.fdb");
    QString aliasLines = QStringLiteral("security.db = %1\n").arg(security);
    for (const Alias& alias : aliases)
        aliasLines += QStringLiteral("%1 = %2/%3\n").arg(alias.name, dataDir_, alias.file);
    // Its own address and lock names, so that nothing of it meets the shared server.
    if (host_.isEmpty() ||
        !WriteText(root + QStringLiteral("/firebird.conf"),
                   QStringLiteral("RemoteServicePort = %1\n"
                                  "RemoteBindAddress = %2\n"
                                  "ServerMode = Super\n"
                                  "SecurityDatabase = %3\n"
                                  "IpcName = FirebirdTest%4\n")
                       .arg(kPort)
                       .arg(host_, security)
                       .arg(QString(host_).replace(u'.', u'_'))) ||
        !WriteText(root + QStringLiteral("/databases.conf"), aliasLines))
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
    return {QStringLiteral("%1/%2").arg(host_).arg(kPort), dataDir_};
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
    address.sin_port = htons(kPort);
    if (::inet_pton(AF_INET, host_.toLatin1().constData(), &address.sin_addr) != 1) {
        ::close(fd);
        return false;
    }
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
