// Whole-file writing: the bytes replace the file only when complete; every
// failure gives the file-creation message, leaves the old file as it was and
// leaves no temporary behind.

#include "platform/system/file_write.h"
#include "platform/system/file_write_calls.h"
#include "settings_dir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <ostream>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray Photo(int size, char seed) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = static_cast<char>(seed + i * 7);
    return bytes;
}

QString Message(const QString& name, const char* systemText) {
    return QStringLiteral("Cannot create file \"%1\". %2").arg(name, QLatin1String(systemText));
}

class FileWriteTest : public SettingsDirTest {
protected:
    void SetUp() override {
        SettingsDirTest::SetUp();
        // The system's error texts in English, whatever the machine's language.
        std::setlocale(LC_MESSAGES, "C");
        ASSERT_TRUE(dir_.isValid());
    }
    QString Path(const QString& name) const { return dir_.filePath(name); }
    QStringList Entries(const QString& folder) const {
        return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                                      QDir::Name);
    }
    QTemporaryDir dir_;
};

TEST_F(FileWriteTest, WritesTheBytesAsTheWholeFile) {
    const QString target = Path(QStringLiteral("1-ABC.jpg"));
    WriteRaw(target, Photo(5000, 'x')); // an older, longer photograph
    for (const QByteArray& bytes : {Photo(3000, 'a'), QByteArray(), Photo(1, 'z')}) {
        WriteWholeFileLocal(target, bytes, target);
        EXPECT_EQ(ReadAll(target), bytes);
        EXPECT_EQ(Entries(dir_.path()), QStringList{QStringLiteral("1-ABC.jpg")});
    }
}

TEST_F(FileWriteTest, TakesOverATemporaryLeftByAKilledRun) {
    const QString target = Path(QStringLiteral("7-X.jpg"));
    ASSERT_EQ(TemporaryFileFor(target), target + QStringLiteral(".tmp"));
    WriteRaw(TemporaryFileFor(target), Photo(9000, 'k'));
    ASSERT_EQ(::chmod(QFile::encodeName(TemporaryFileFor(target)).constData(), 0444), 0);
    WriteWholeFileLocal(target, Photo(100, 'n'), target);
    EXPECT_EQ(ReadAll(target), Photo(100, 'n'));
    EXPECT_EQ(Entries(dir_.path()), QStringList{QStringLiteral("7-X.jpg")});
}

TEST_F(FileWriteTest, KeepsThePermissionsOfTheFileItReplaces) {
    const QString target = Path(QStringLiteral("p.jpg"));
    WriteRaw(target, "old");
    const QByteArray local = QFile::encodeName(target);
    ASSERT_EQ(::chmod(local.constData(), 0640), 0);
    WriteWholeFileLocal(target, "new", target);
    struct stat st {};
    ASSERT_EQ(::stat(local.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(FileWriteTest, MapsAWindowsPathAndNamesItAsGivenInTheMessage) {
    WriteSettings("[Drives]\nC=" + QFile::encodeName(dir_.path()) + "\n");
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("wamp/www/trevola/imgarti"))));
    const QString windowsName = QStringLiteral("c:\\wamp\\www\\trevola\\imgarti\\1-ABC.jpg");
    WriteWholeFile(windowsName, "photo");
    EXPECT_EQ(ReadAll(Path(QStringLiteral("wamp/www/trevola/imgarti/1-ABC.jpg"))), "photo");

    const QString missing = QStringLiteral("c:\\wamp\\www\\trevola\\otra\\1-ABC.jpg");
    try {
        WriteWholeFile(missing, "photo");
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), Message(missing, "No such file or directory"));
    }
}

// ---- Failures ------------------------------------------------------------------------

struct FailureCase {
    const char* name;
    // Prepares the folder under `root` and returns the target to write.
    std::function<QString(const QString& root)> prepare;
    const char* systemText;
    // The target holds an old photograph that must stay.
    bool oldFile;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

// Folders a case mounted; unmounted before the test's folder goes.
std::vector<QByteArray>& Mounts() {
    static std::vector<QByteArray> mounts;
    return mounts;
}

class FileWriteFailureTest : public FileWriteTest, public testing::WithParamInterface<FailureCase> {
protected:
    void TearDown() override {
        if (limited_)
            ::setrlimit(RLIMIT_FSIZE, &oldLimit_);
        for (const QByteArray& folder : Mounts())
            ::umount2(folder.constData(), MNT_DETACH);
        Mounts().clear();
        FileWriteTest::TearDown();
    }
    void LimitFileSize(rlim_t bytes) {
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit_), 0);
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending us
        rlimit limit = oldLimit_;
        limit.rlim_cur = bytes;
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
        limited_ = true;
    }

    rlimit oldLimit_{};
    bool limited_ = false;
};

TEST_P(FileWriteFailureTest, RaisesTheCreationErrorAndLeavesNothingBehind) {
    const FailureCase& c = GetParam();
    const QString target = c.prepare(dir_.path());
    if (target.isEmpty())
        GTEST_SKIP() << "not available on this machine";
    const QString folder = QFileInfo(target).absolutePath();
    const QStringList before = Entries(folder);
    const QByteArray old = ReadAll(target);

    if (QByteArray(c.name) == "write cut short")
        LimitFileSize(4096);
    try {
        WriteWholeFileLocal(target, Photo(64 * 1024, 'q'), target);
        FAIL() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), Message(target, c.systemText));
    }
    EXPECT_EQ(Entries(folder), before) << "a file or a temporary was left";
    if (c.oldFile) {
        EXPECT_EQ(ReadAll(target), old);
    }
}

QString Missing(const QString& root) {
    return root + QStringLiteral("/no/such/folder/1-ABC.jpg");
}

QString UnderARegularFile(const QString& root) {
    WriteRaw(root + QStringLiteral("/imgarti"), "a file, not a folder");
    return root + QStringLiteral("/imgarti/1-ABC.jpg");
}

// A read-only bind mount of a folder that holds an old photograph; empty when
// this machine does not allow mounting.
QString OnAReadOnlyMount(const QString& root) {
    const QString folder = root + QStringLiteral("/ro");
    QDir().mkpath(folder);
    WriteRaw(folder + QStringLiteral("/1-ABC.jpg"), Photo(700, 'o'));
    const QByteArray path = QFile::encodeName(folder);
    if (::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0)
        return QString();
    if (::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) !=
        0) {
        ::umount2(path.constData(), MNT_DETACH);
        return QString();
    }
    Mounts().push_back(path);
    return folder + QStringLiteral("/1-ABC.jpg");
}

QString OverANonEmptyFolder(const QString& root) {
    QDir().mkpath(root + QStringLiteral("/1-ABC.jpg/inside"));
    return root + QStringLiteral("/1-ABC.jpg");
}

QString WithAnOldPhotograph(const QString& root) {
    WriteRaw(root + QStringLiteral("/1-ABC.jpg"), Photo(1500, 'o'));
    return root + QStringLiteral("/1-ABC.jpg");
}

INSTANTIATE_TEST_SUITE_P(
    Failures, FileWriteFailureTest,
    testing::Values(
        FailureCase{"missing folder", Missing, "No such file or directory", false},
        FailureCase{"folder is a file", UnderARegularFile, "Not a directory", false},
        FailureCase{"read-only folder", OnAReadOnlyMount, "Read-only file system", true},
        FailureCase{"rename over a folder", OverANonEmptyFolder, "Is a directory", false},
        FailureCase{"write cut short", WithAnOldPhotograph, "File too large", true}),
    [](const testing::TestParamInfo<FailureCase>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == ' ' || ch == '-')
                ch = '_';
        return name;
    });

// ---- The system calls, seen through the seam -----------------------------------------

// Records every call of a write, by what it does and to which file: "target"
// (the file written), "folder" (its folder), "temporary" (any other file
// the write creates there). One call may be made to fail instead.
class CallLog {
public:
    CallLog(const QString& target) : target_(QFile::encodeName(target)) {
        log_ = this;
        SetFileWriteCalls(&kRecording);
    }
    ~CallLog() {
        SetFileWriteCalls(nullptr);
        log_ = nullptr;
    }
    CallLog(const CallLog&) = delete;
    CallLog& operator=(const CallLog&) = delete;

    // The calls of the kinds in `kinds` ("write", "fsync", ...), in order.
    std::vector<std::string> Only(const QStringList& kinds) const {
        std::vector<std::string> only;
        for (const QString& call : calls_)
            if (kinds.contains(call.section(u' ', 0, 0)))
                only.push_back(call.toStdString());
        return only;
    }
    // The first call that reads `call` fails with `error` instead of running.
    void Fail(const QString& call, int error) {
        failCall_ = call;
        failError_ = error;
    }

private:
    QString Role(const char* path) const {
        const QByteArray p(path);
        if (p == target_)
            return QStringLiteral("target");
        if (p == target_.left(target_.lastIndexOf('/')))
            return QStringLiteral("folder");
        return QStringLiteral("temporary");
    }
    QString RoleOf(int fd) const {
        const auto it = files_.find(fd);
        return it == files_.end() ? QStringLiteral("?") : it->second;
    }
    // Records `call`; false when it is the one to fail (errno is then set).
    bool Record(const QString& call) {
        calls_ << call;
        if (call != failCall_)
            return true;
        failCall_.clear();
        errno = failError_;
        return false;
    }

    static int Open(const char* path, int flags, mode_t mode) {
        if (!log_->Record(QStringLiteral("open ") + log_->Role(path)))
            return -1;
        const int fd = ::open(path, flags, mode);
        if (fd >= 0)
            log_->files_[fd] = log_->Role(path);
        return fd;
    }
    static ssize_t Write(int fd, const void* bytes, std::size_t size) {
        return log_->Record(QStringLiteral("write ") + log_->RoleOf(fd)) ? ::write(fd, bytes, size)
                                                                         : -1;
    }
    static int Fsync(int fd) {
        return log_->Record(QStringLiteral("fsync ") + log_->RoleOf(fd)) ? ::fsync(fd) : -1;
    }
    static int Close(int fd) {
        const bool run = log_->Record(QStringLiteral("close ") + log_->RoleOf(fd));
        log_->files_.erase(fd);
        ::close(fd); // a descriptor is gone even when close reports an error
        return run ? 0 : -1;
    }
    static int Rename(const char* from, const char* to) {
        return log_->Record(QStringLiteral("rename ") + log_->Role(from) + u' ' + log_->Role(to))
                   ? ::rename(from, to)
                   : -1;
    }
    static int Unlink(const char* path) {
        return log_->Record(QStringLiteral("unlink ") + log_->Role(path)) ? ::unlink(path) : -1;
    }

    static constexpr FileWriteCalls kRecording{Open, Write, Fsync, Close, Rename, Unlink};
    static inline CallLog* log_ = nullptr;

    QByteArray target_;
    QStringList calls_;
    std::map<int, QString> files_;
    QString failCall_;
    int failError_ = 0;
};

// The bytes reach the disk in the temporary before it takes the file's
// place, and the rename reaches the disk with the folder.
TEST_F(FileWriteTest, SyncsTheTemporaryBeforeTheRenameAndTheFolderAfterIt) {
    const QString target = Path(QStringLiteral("1-ABC.jpg"));
    WriteRaw(target, Photo(5000, 'o'));
    CallLog log(target);
    WriteWholeFileLocal(target, Photo(3000, 'n'), target);
    EXPECT_EQ(log.Only({"write", "fsync", "rename"}),
              (std::vector<std::string>{"write temporary", "fsync temporary",
                                        "rename temporary target", "fsync folder"}));
    EXPECT_EQ(ReadAll(target), Photo(3000, 'n'));
}

struct SyncFailureCase {
    const char* call;
    int error;
    const char* systemText;
    // The failure comes after the rename: the new file is in place.
    bool renamed;
};

void PrintTo(const SyncFailureCase& c, std::ostream* os) {
    *os << c.call;
}

class FileWriteCallFailureTest : public FileWriteTest,
                                 public testing::WithParamInterface<SyncFailureCase> {};

// A failed call is never taken for success: the write raises, and a failure
// before the rename leaves the old file and no temporary.
TEST_P(FileWriteCallFailureTest, RaisesTheCreationError) {
    const SyncFailureCase& c = GetParam();
    const QString target = Path(QStringLiteral("1-ABC.jpg"));
    WriteRaw(target, Photo(5000, 'o'));
    {
        CallLog log(target);
        log.Fail(QString::fromLatin1(c.call), c.error);
        try {
            WriteWholeFileLocal(target, Photo(3000, 'n'), target);
            ADD_FAILURE() << "no error";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(e.Message(), Message(target, c.systemText));
        }
    }
    EXPECT_EQ(ReadAll(target), c.renamed ? Photo(3000, 'n') : Photo(5000, 'o'));
    EXPECT_EQ(Entries(dir_.path()), QStringList{QStringLiteral("1-ABC.jpg")});
}

INSTANTIATE_TEST_SUITE_P(
    Calls, FileWriteCallFailureTest,
    testing::Values(SyncFailureCase{"write temporary", ENOSPC, "No space left on device", false},
                    SyncFailureCase{"fsync temporary", EIO, "Input/output error", false},
                    SyncFailureCase{"close temporary", EIO, "Input/output error", false},
                    SyncFailureCase{"rename temporary target", EXDEV, "Invalid cross-device link",
                                    false},
                    SyncFailureCase{"fsync folder", EIO, "Input/output error", true}),
    [](const testing::TestParamInfo<SyncFailureCase>& info) {
        std::string name = info.param.call;
        for (char& ch : name)
            if (ch == ' ')
                ch = '_';
        return name;
    });

} // namespace
