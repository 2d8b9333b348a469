// Private temporary files: this user's alone, with no name in their folder
// (made without one, or named, locked and unnamed at once), and the named
// ones that killed processes left removed while live ones stay.

#include "platform/system/private_temporary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList Entries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

void WriteRaw(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class PrivateTemporary : public testing::TestWithParam<bool> {
protected:
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir_;
};

TEST_P(PrivateTemporary, IsThisUsersAloneAndHasNoName) {
    const int fd = CreatePrivateTemporary(dir_.path(), u"amqb-test", GetParam());
    ASSERT_GE(fd, 0) << std::strerror(errno);
    struct stat info {};
    ASSERT_EQ(::fstat(fd, &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0600u);
    EXPECT_EQ(info.st_uid, ::geteuid());
    EXPECT_EQ(info.st_nlink, 0u);
    EXPECT_EQ(Entries(dir_.path()), QStringList());

    ASSERT_EQ(::pwrite(fd, "photo", 5, 0), 5);
    char back[5] = {};
    ASSERT_EQ(::pread(fd, back, 5, 0), 5);
    EXPECT_EQ(QByteArray(back, 5), QByteArray("photo"));

    // A second one is a file of its own.
    const int other = CreatePrivateTemporary(dir_.path(), u"amqb-test", GetParam());
    ASSERT_GE(other, 0);
    struct stat otherInfo {};
    ASSERT_EQ(::fstat(other, &otherInfo), 0);
    EXPECT_NE(otherInfo.st_ino, info.st_ino);
    ::close(other);
    ::close(fd);
}

TEST_P(PrivateTemporary, AFolderThatIsNotThereGivesItsError) {
    errno = 0;
    EXPECT_EQ(CreatePrivateTemporary(Path("nowhere"), u"amqb-test", GetParam()), -1);
    EXPECT_EQ(errno, ENOENT);
}

INSTANTIATE_TEST_SUITE_P(Ways, PrivateTemporary, testing::Bool(),
                         [](const auto& info) { return info.param ? "Unnamed" : "Named"; });

TEST(PrivateTemporaryLeftovers, AreRemovedUnlessALiveProcessHoldsThemOrTheyAreNoLeftovers) {
    QTemporaryDir dir;
    const auto path = [&](const char* name) { return dir.filePath(QString::fromLatin1(name)); };
    // What killed processes left: named temporaries nobody holds.
    WriteRaw(path("amqb-test.4242.Ab12Cd.tmp"), "rows");
    WriteRaw(path("amqb-test.1.zzzzzz.tmp"), "rows");
    ASSERT_EQ(::chmod(QFile::encodeName(path("amqb-test.1.zzzzzz.tmp")).constData(), 0400), 0);
    // A live process's, locked.
    WriteRaw(path("amqb-test.4343.Ab12Cd.tmp"), "rows");
    const int held = ::open(QFile::encodeName(path("amqb-test.4343.Ab12Cd.tmp")).constData(),
                            O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    // Anything else.
    for (const char* name :
         {"amqb-test.4242.Ab12Cd", "amqb-test.4242.Ab-2Cd.tmp", "amqb-test.4242.Ab12Cde.tmp",
          "amqb-test.pid.Ab12Cd.tmp", "amqb-test..Ab12Cd.tmp", "amqb-other.4242.Ab12Cd.tmp",
          "photo.jpg.Ab12Cd.tmp"})
        WriteRaw(path(name), "not ours");
    ASSERT_TRUE(QDir().mkpath(path("amqb-test.4444.Ab12Cd.tmp")));
    // Another user's, when there can be one.
    WriteRaw(path("amqb-test.4545.Ab12Cd.tmp"), "someone else's");
    const bool otherUser = ::geteuid() == 0 &&
                           ::chown(QFile::encodeName(path("amqb-test.4545.Ab12Cd.tmp")).constData(),
                                   65534, 65534) == 0;
    QStringList expected = Entries(dir.path());
    expected.removeOne("amqb-test.4242.Ab12Cd.tmp");
    expected.removeOne("amqb-test.1.zzzzzz.tmp");
    if (!otherUser)
        expected.removeOne("amqb-test.4545.Ab12Cd.tmp");

    RemoveLeftoverPrivateTemporaries(dir.path(), u"amqb-test");
    EXPECT_EQ(Entries(dir.path()), expected);
    ::close(held);
}

} // namespace
