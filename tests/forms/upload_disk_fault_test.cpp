// The web folder failing under the upload: its file system full, or made
// read-only part-way. The run stops with "Cannot create file ...", the
// photographs already there stay intact, no temporary file is left, nothing
// is stamped, and once the folder is writable again a second run completes.
// The user's temporary folder, where the article list keeps its
// photographs, full: the run stops before the first article.
// The tests mount over the folder (they run as root); where mounting is not
// allowed they are skipped.

#include "tests/forms/upload_fault_fixture.h"

#include <QRegularExpression>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>

namespace {

// A file system mounted over a folder for as long as the object lives.
class Mount {
public:
    // A tmpfs of `bytes`.
    static std::unique_ptr<Mount> Tmpfs(const QString& folder, int bytes) {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        return Made(folder, ::mount("tmpfs", folder.toLocal8Bit().constData(), "tmpfs", 0,
                                    options.constData()) == 0);
    }
    // The folder itself, read-only from now on (the files it holds stay).
    static std::unique_ptr<Mount> ReadOnly(const QString& folder) {
        const QByteArray path = folder.toLocal8Bit();
        if (::mount(path.constData(), path.constData(), nullptr, MS_BIND, nullptr) != 0)
            return Made(folder, false);
        auto mount = Made(folder, true);
        if (::mount(nullptr, path.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                    nullptr) != 0)
            mount.reset();
        return mount;
    }
    ~Mount() { ::umount2(folder_.toLocal8Bit().constData(), MNT_DETACH); }
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;

private:
    explicit Mount(const QString& folder) : folder_(folder) {}
    static std::unique_ptr<Mount> Made(const QString& folder, bool mounted) {
        if (!mounted) {
            std::fprintf(stderr, "cannot mount over %s: %s\n", qPrintable(folder),
                         std::strerror(errno));
            return nullptr;
        }
        return std::unique_ptr<Mount>(new Mount(folder));
    }
    QString folder_;
};

// Fills the file system of `folder` to the last byte with a file of that
// name; removing it frees the space again.
void Fill(const QString& path) {
    QFile filler(path);
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    while (filler.write("x", 1) == 1 && filler.flush()) {
    }
}

class UploadDiskFault : public UploadFaults {
protected:
    // The run stopped on a photograph it could not write: logged with the
    // name the program gives the file and the system's reason, and its box
    // waits for someone. (The first photograph of the run may be another
    // test's article.)
    void ExpectTheRunStoppedOnAPhotograph(const QString& reason) {
        const QRegularExpression stop(
            QStringLiteral(",,Cannot create file \"c:\\\\wamp\\\\www\\\\trevola\\\\imgarti\\\\1-"
                           "[^\\\\\"]+\\.jpg\"\\. %1\r\n")
                .arg(reason));
        ASSERT_TRUE(Eventually(30000, [&] {
            return stop.match(QString::fromLatin1(settings_.ErrorLog())).hasMatch();
        })) << settings_.ErrorLog().toStdString();
        EXPECT_TRUE(ProgramRunning()) << "the program ended instead of reporting the failure";
        ASSERT_TRUE(StopProgram(SIGTERM));
        EXPECT_FALSE(Stamped());
    }
    // Temporary files left beside the photographs, by name.
    QStringList TemporaryFiles() {
        QStringList names;
        for (const auto& [name, bytes] : State().files)
            if (!name.endsWith(".jpg"))
                names << name;
        return names;
    }
};

TEST_F(UploadDiskFault, AFullFileSystemStopsTheRunAndKeepsTheOldPhotographs) {
    const auto tmpfs = Mount::Tmpfs(WebFolder(), 1 << 20);
    if (!tmpfs)
        GTEST_SKIP() << "a tmpfs cannot be mounted here";
    AddArticles(20);
    RunToTheEnd();
    ExpectEverythingWritten();
    const QString filler = WebFolder() + "/filler";
    Fill(filler);

    Revise(2);
    Unstamp();
    const UploadState before = State();
    Start();
    ExpectTheRunStoppedOnAPhotograph(QStringLiteral("No space left on device"));
    if (HasFatalFailure())
        return;
    ExpectNothingHalfDone(before);
    for (const auto& [name, bytes] : before.files)
        EXPECT_EQ(State().files[name], bytes) << name.toStdString() << " changed";
    // A full file system still lets the failed write remove its temporary.
    EXPECT_EQ(TemporaryFiles(), QStringList());

    ASSERT_TRUE(QFile::remove(filler));
    Unstamp();
    RunToTheEnd();
    ExpectEverythingWritten();
}

TEST_F(UploadDiskFault, AFolderMadeReadOnlyPartWayStopsTheRun) {
    AddArticles(150);
    const UploadState before = State();
    Start();
    ASSERT_TRUE(PhotosWritten(3)) << settings_.ErrorLog().toStdString();
    auto readOnly = Mount::ReadOnly(WebFolder());
    if (!readOnly)
        GTEST_SKIP() << "a read-only bind mount cannot be made here";

    ExpectTheRunStoppedOnAPhotograph(QStringLiteral("Read-only file system"));
    if (HasFatalFailure())
        return;
    EXPECT_LT(ExpectNothingHalfDone(before), articles_) << "the run was over before the fault";
    // A read-only one may keep the temporary of the photograph it stopped,
    // which the next write of that photograph removes.
    const QStringList left = TemporaryFiles();
    EXPECT_LE(left.size(), 1) << left.join(' ').toStdString();
    for (const QString& name : left)
        EXPECT_TRUE(QRegularExpression(QStringLiteral("\\.jpg\\.[A-Za-z0-9]{6}\\.tmp$"))
                        .match(name)
                        .hasMatch())
            << name.toStdString();

    readOnly.reset();
    Unstamp();
    RunToTheEnd();
    ExpectEverythingWritten();
}

TEST_F(UploadDiskFault, AFullTemporaryFolderStopsTheRunBeforeAnyArticle) {
    QTemporaryDir temp;
    const auto tmpfs = Mount::Tmpfs(temp.path(), 16 * 1024);
    if (!tmpfs)
        GTEST_SKIP() << "a tmpfs cannot be mounted here";
    AddArticles(20);
    const UploadState before = State();
    QProcessEnvironment env = Environment();
    env.insert("TMPDIR", temp.path());
    Start(ElevenArguments(), env);

    const QString stop = QStringLiteral(",,Cannot write the temporary file of the rows in \"%1\": "
                                        "No space left on device\r\n")
                             .arg(temp.path());
    ASSERT_TRUE(Eventually(30000, [&] {
        return QString::fromLatin1(settings_.ErrorLog()).endsWith(stop);
    })) << settings_.ErrorLog().toStdString();
    EXPECT_TRUE(ProgramRunning()) << "the program ended instead of reporting the failure";
    ASSERT_TRUE(StopProgram(SIGTERM));
    EXPECT_FALSE(Stamped());
    const UploadState after = State();
    EXPECT_EQ(after.rows, before.rows);
    EXPECT_TRUE(after.files.empty()) << Describe(after.files);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

} // namespace
