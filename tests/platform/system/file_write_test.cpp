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
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
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
    // Runs `meanwhile` once the first call that reads `call` has been made.
    void After(const QString& call, std::function<void()> meanwhile) {
        afterCall_ = call;
        meanwhile_ = std::move(meanwhile);
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
    // Records `call` and makes it with `run`, or fails it (-1 and errno).
    template <typename Run> static auto Make(const QString& call, Run run) -> decltype(run()) {
        CallLog& log = *log_;
        log.calls_ << call;
        if (call == log.failCall_) {
            log.failCall_.clear();
            errno = log.failError_;
            return -1;
        }
        const auto result = run();
        if (log.meanwhile_ && call == log.afterCall_) {
            const int error = errno;
            std::exchange(log.meanwhile_, nullptr)();
            errno = error;
        }
        return result;
    }

    static int Open(const char* path, int flags, mode_t mode) {
        const QString role = log_->Role(path);
        return Make(QStringLiteral("open ") + role, [&] {
            const int fd = ::open(path, flags, mode);
            if (fd >= 0)
                log_->files_[fd] = role;
            return fd;
        });
    }
    static ssize_t Write(int fd, const void* bytes, std::size_t size) {
        return Make(QStringLiteral("write ") + log_->RoleOf(fd),
                    [&] { return ::write(fd, bytes, size); });
    }
    static int Fsync(int fd) {
        return Make(QStringLiteral("fsync ") + log_->RoleOf(fd), [&] { return ::fsync(fd); });
    }
    static int Close(int fd) {
        const QString role = log_->RoleOf(fd);
        log_->files_.erase(fd);
        // A descriptor is gone even when close reports an error.
        const int closed = ::close(fd);
        return Make(QStringLiteral("close ") + role, [&] { return closed; });
    }
    static int Rename(const char* from, const char* to) {
        return Make(QStringLiteral("rename ") + log_->Role(from) + u' ' + log_->Role(to),
                    [&] { return ::rename(from, to); });
    }
    static int Unlink(const char* path) {
        return Make(QStringLiteral("unlink ") + log_->Role(path), [&] { return ::unlink(path); });
    }

    static constexpr FileWriteCalls kRecording{Open, Write, Fsync, Close, Rename, Unlink};
    static inline CallLog* log_ = nullptr;

    QByteArray target_;
    QStringList calls_;
    std::map<int, QString> files_;
    QString failCall_;
    int failError_ = 0;
    QString afterCall_;
    std::function<void()> meanwhile_;
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
                    SyncFailureCase{"close temporary", EIO, "Input/output error", true},
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

// ---- The temporary ---------------------------------------------------------------------

// A link planted at a name a temporary might take is never written through:
// the file it leads to stays as it was, and the photograph is a file of its own.
TEST_F(FileWriteTest, ALinkPlantedAtATemporaryNameIsNeverWrittenThrough) {
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("elsewhere"))));
    const QString elsewhere = Path(QStringLiteral("elsewhere/file"));
    const QString target = Path(QStringLiteral("1-ABC.jpg"));
    const QByteArray planted = QFile::encodeName(target + QStringLiteral(".tmp"));
    for (const bool hard : {false, true}) {
        SCOPED_TRACE(hard ? "hard link" : "symbolic link");
        WriteRaw(elsewhere, "not a photograph");
        const QByteArray to = QFile::encodeName(elsewhere);
        ASSERT_EQ(hard ? ::link(to.constData(), planted.constData())
                       : ::symlink(to.constData(), planted.constData()),
                  0);
        WriteWholeFileLocal(target, Photo(3000, 'n'), target);
        EXPECT_EQ(ReadAll(elsewhere), "not a photograph");
        struct stat st {};
        ASSERT_EQ(::lstat(QFile::encodeName(target).constData(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        EXPECT_EQ(st.st_nlink, 1u);
        EXPECT_EQ(ReadAll(target), Photo(3000, 'n'));
        ASSERT_EQ(::unlink(planted.constData()), 0);
        ASSERT_TRUE(QFile::remove(target));
    }
}

// The second writer starts and ends while the first is writing its bytes.
TEST_F(FileWriteTest, TwoWritersOfOnePhotographAtOnceLeaveOneWholeFile) {
    const QString target = Path(QStringLiteral("1-ABC.jpg"));
    WriteRaw(target, Photo(9000, 'o'));
    CallLog log(target);
    log.After(QStringLiteral("write temporary"),
              [&] { WriteWholeFileLocal(target, Photo(5000, 'b'), target); });
    WriteWholeFileLocal(target, Photo(3000, 'a'), target);
    EXPECT_EQ(ReadAll(target), Photo(3000, 'a')); // the later rename wins
    EXPECT_EQ(Entries(dir_.path()), QStringList{QStringLiteral("1-ABC.jpg")});
}

// A write of `target` by a child process that dies while it writes, as a
// killed run would.
void KilledWhileWriting(const QString& target) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        static FileWriteCalls dying = *fileWriteCalls;
        dying.write = [](int, const void*, std::size_t) -> ssize_t { ::_exit(0); };
        SetFileWriteCalls(&dying);
        try {
            WriteWholeFileLocal(target, "half", target);
        } catch (...) {
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the write did not start";
}

TEST_F(FileWriteTest, RemovesTheTemporariesOfKilledWritesAndNothingElse) {
    KilledWhileWriting(Path(QStringLiteral("1-A.jpg")));
    KilledWhileWriting(Path(QStringLiteral("1-B.jpg")));
    KilledWhileWriting(Path(QStringLiteral("notes.txt")));
    const QStringList left = Entries(dir_.path());
    ASSERT_EQ(left.size(), 3) << left.join(u' ').toStdString();
    // A temporary the killed run left read-only goes too.
    ASSERT_EQ(::chmod(QFile::encodeName(Path(left[0])).constData(), 0444), 0);
    // Files that are no leftovers of photographs stay.
    WriteRaw(Path(QStringLiteral("1-A.jpg")), "a photograph");
    WriteRaw(Path(QStringLiteral("1-B.jpg.Ab12Cd")), "not a temporary");
    WriteRaw(Path(QStringLiteral("1-B.jpg.Ab-2Cd.tmp")), "not a temporary");
    WriteRaw(Path(QStringLiteral("1-B.jpg.Ab12Cde.tmp")), "not a temporary");
    WriteRaw(Path(QStringLiteral(".jpg.Ab12Cd.tmp")), "not a temporary");
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("1-C.jpg.Ab12Cd.tmp"))));
    QStringList expected = Entries(dir_.path());
    for (const QString& name : left)
        if (!name.startsWith(QStringLiteral("notes.txt")))
            expected.removeOne(name);

    RemoveLeftoverTemporariesLocal(dir_.path(), u".jpg");
    EXPECT_EQ(Entries(dir_.path()), expected);
}

TEST_F(FileWriteTest, ALiveWritersTemporaryOutlastsARemovalOfLeftovers) {
    const QString target = Path(QStringLiteral("1-ABC.jpg"));
    CallLog log(target);
    QStringList during;
    log.After(QStringLiteral("write temporary"), [&] {
        RemoveLeftoverTemporariesLocal(dir_.path(), u".jpg");
        during = Entries(dir_.path());
    });
    WriteWholeFileLocal(target, Photo(3000, 'a'), target);
    EXPECT_EQ(during.size(), 1) << "the temporary was removed under the writer";
    EXPECT_EQ(ReadAll(target), Photo(3000, 'a'));
    EXPECT_EQ(Entries(dir_.path()), QStringList{QStringLiteral("1-ABC.jpg")});
}

// Between its creation and its lock a new temporary looks like a leftover;
// a removal then takes it, and the write goes on under another name.
TEST_F(FileWriteTest, AWriteWhoseTemporaryIsRemovedAtOnceTakesAnother) {
    const QString target = Path(QStringLiteral("1-ABC.jpg"));
    CallLog log(target);
    log.After(QStringLiteral("open temporary"),
              [&] { RemoveLeftoverTemporariesLocal(dir_.path(), u".jpg"); });
    WriteWholeFileLocal(target, Photo(3000, 'a'), target);
    EXPECT_EQ(log.Only({"open", "rename"}),
              (std::vector<std::string>{"open temporary", "open temporary",
                                        "rename temporary target", "open folder"}));
    EXPECT_EQ(ReadAll(target), Photo(3000, 'a'));
    EXPECT_EQ(Entries(dir_.path()), QStringList{QStringLiteral("1-ABC.jpg")});
}

// Someone else removes the temporary in the middle of the write: the write
// says so, and the old file stays.
TEST_F(FileWriteTest, ATemporaryRemovedUnderTheWriteFailsIt) {
    const QString target = Path(QStringLiteral("1-ABC.jpg"));
    WriteRaw(target, Photo(5000, 'o'));
    CallLog log(target);
    log.After(QStringLiteral("write temporary"), [&] {
        for (const QString& name : Entries(dir_.path()))
            if (Path(name) != target)
                QFile::remove(Path(name));
    });
    try {
        WriteWholeFileLocal(target, Photo(3000, 'n'), target);
        ADD_FAILURE() << "no error";
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), Message(target, "No such file or directory"));
    }
    EXPECT_EQ(ReadAll(target), Photo(5000, 'o'));
    EXPECT_EQ(Entries(dir_.path()), QStringList{QStringLiteral("1-ABC.jpg")});
}

TEST_F(FileWriteTest, RemovesLeftoversInAFolderNamedAsTheProgramNamesIt) {
    WriteSettings("[Drives]\nC=" + QFile::encodeName(dir_.path()) + "\n");
    ASSERT_TRUE(QDir().mkpath(Path(QStringLiteral("imgarti"))));
    KilledWhileWriting(Path(QStringLiteral("imgarti/1-A.jpg")));
    ASSERT_EQ(Entries(Path(QStringLiteral("imgarti"))).size(), 1);
    RemoveLeftoverTemporaries(QStringLiteral("c:\\imgarti"), u".jpg");
    EXPECT_EQ(Entries(Path(QStringLiteral("imgarti"))), QStringList());
    // A folder that is not there is no error.
    RemoveLeftoverTemporaries(QStringLiteral("c:\\nowhere"), u".jpg");
}

} // namespace
