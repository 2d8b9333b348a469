#include "platform/system/paths.h"
#include "settings_dir.h"

#include <QtGlobal>
#include <gtest/gtest.h>

namespace {

#ifdef Q_OS_WIN
TEST(LocalPath, LeavesWindowsPathsAlone) {
    EXPECT_EQ(LocalPath(QStringLiteral("c:\\wamp\\x.jpg")), QStringLiteral("c:\\wamp\\x.jpg"));
}
#else

struct PathCase {
    const char* windows;
    const char* local;
};

void PrintTo(const PathCase& c, std::ostream* os) {
    *os << c.windows;
}

class LocalPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(LocalPathTest, MapsDrivesToTheirFolders) {
    const TDriveMap drives{{u'C', QStringLiteral("/srv/trevola/c")},
                           {u'D', QStringLiteral("/mnt/d/")}};
    EXPECT_EQ(LocalPath(QString::fromUtf8(GetParam().windows), drives),
              QString::fromUtf8(GetParam().local));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, LocalPathTest,
    testing::Values(PathCase{"\\ERRORES.TXT", "/srv/trevola/c/ERRORES.TXT"},
                    PathCase{"c:\\wamp\\www\\trevola\\imgarti\\1-A.jpg",
                             "/srv/trevola/c/wamp/www/trevola/imgarti/1-A.jpg"},
                    PathCase{"C:\\dorvan\\SERVIDORES.cfg", "/srv/trevola/c/dorvan/SERVIDORES.cfg"},
                    PathCase{"C:/mixed\\slashes", "/srv/trevola/c/mixed/slashes"},
                    PathCase{"C:", "/srv/trevola/c"}, PathCase{"C:\\", "/srv/trevola/c"},
                    PathCase{"d:relative\\x.txt", "/mnt/d/relative/x.txt"},
                    PathCase{"D:\\x", "/mnt/d/x"}, PathCase{"e:\\año\\x", "/año/x"},
                    PathCase{"E:", "/"},
                    PathCase{"\\\\server\\share\\f.txt", "//server/share/f.txt"},
                    PathCase{"/already/local\\name", "/already/local/name"},
                    PathCase{"relative\\file.txt", "relative/file.txt"}, PathCase{"1:\\x", "1:/x"},
                    PathCase{"", ""}));

TEST(LocalPath, WithoutDriveFoldersStartsAtTheRoot) {
    EXPECT_EQ(LocalPath(QStringLiteral("\\ERRORES.TXT"), {}), QStringLiteral("/ERRORES.TXT"));
    EXPECT_EQ(LocalPath(QStringLiteral("c:\\a\\b"), {}), QStringLiteral("/a/b"));
}

class LocalPathSettingsTest : public SettingsDirTest {};

TEST_F(LocalPathSettingsTest, TakesTheDrivesOfTheSettingsFile) {
    WriteSettings("Directorio=C:\\Trevola\n[Drives]\nc = " + first_.path().toUtf8() +
                  "/c/\nz=/z\n");
    const TDriveMap drives = DriveMapFromSettings();
    EXPECT_EQ(drives.size(), 2);
    EXPECT_EQ(LocalPath(QStringLiteral("C:\\Trevola\\SERVIDORES.cfg")),
              first_.path() + QStringLiteral("/c/Trevola/SERVIDORES.cfg"));
    EXPECT_EQ(LocalPath(QStringLiteral("\\ERRORES.TXT")),
              first_.path() + QStringLiteral("/c/ERRORES.TXT"));
    EXPECT_EQ(LocalPath(QStringLiteral("Z:\\q")), QStringLiteral("/z/q"));
}

// The settings are kept between reads, but a file changed in place (same
// size, same file), replaced or removed is what the next path follows.
TEST_F(LocalPathSettingsTest, FollowsTheSettingsFileAsItChanges) {
    WriteSettings("[Drives]\nc=/a\n");
    EXPECT_EQ(LocalPath(QStringLiteral("C:\\x")), QStringLiteral("/a/x"));
    EXPECT_EQ(LocalPath(QStringLiteral("C:\\x")), QStringLiteral("/a/x"));
    WriteSettings("[Drives]\nc=/b\n");
    EXPECT_EQ(LocalPath(QStringLiteral("C:\\x")), QStringLiteral("/b/x"));
    const QString file = first_.path() + QStringLiteral("/Ostrel/Trevola.conf");
    ASSERT_TRUE(QFile::remove(file));
    EXPECT_EQ(LocalPath(QStringLiteral("C:\\x")), QStringLiteral("/x"));
    WriteSettings("[Drives]\nc=/d\n", true);
    EXPECT_EQ(LocalPath(QStringLiteral("C:\\x")), QStringLiteral("/d/x"));
}

TEST_F(LocalPathSettingsTest, NoSettingsFileMeansTheRoot) {
    EXPECT_TRUE(DriveMapFromSettings().isEmpty());
    EXPECT_EQ(LocalPath(QStringLiteral("\\ERRORES.TXT")), QStringLiteral("/ERRORES.TXT"));
}

#endif

} // namespace
