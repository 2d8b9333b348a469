#include "platform/system/registry.h"
#include "platform/system/settings_file.h"
#include "settings_dir.h"

#include <QtGlobal>
#include <gtest/gtest.h>
#include <ostream>

namespace {

#ifdef Q_OS_WIN
#define SKIP_ON_WINDOWS() GTEST_SKIP() << "reads the real registry"
#else
#define SKIP_ON_WINDOWS() (void)0
#endif

const QString Key = QStringLiteral("\\Software\\Ostrel\\Trevola");
const QString Value = QStringLiteral("Directorio");

class RegistryTest : public SettingsDirTest {};

TEST_F(RegistryTest, NoFileMeansNoKey) {
    SKIP_ON_WINDOWS();
    TRegistry registry;
    EXPECT_FALSE(registry.OpenKeyReadOnly(Key));
    EXPECT_FALSE(registry.ValueExists(Value));
    EXPECT_EQ(registry.ReadString(Value), QString());
}

TEST_F(RegistryTest, ReadsTheTopLevelValueAsWritten) {
    SKIP_ON_WINDOWS();
    WriteSettings("; application folder\r\n"
                  "  Directorio =  C:\\Trevola\\app  \r\n"
                  "[Drives]\r\n"
                  "C=/srv/trevola/c\r\n");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(Key));
    EXPECT_TRUE(registry.ValueExists(Value));
    EXPECT_TRUE(registry.ValueExists(QStringLiteral("DIRECTORIO")));
    EXPECT_EQ(registry.ReadString(Value), QStringLiteral("C:\\Trevola\\app"));
    // A value of another section is not a value of the key.
    EXPECT_FALSE(registry.ValueExists(QStringLiteral("C")));
    registry.CloseKey();
    EXPECT_EQ(registry.ReadString(Value), QString());
}

TEST_F(RegistryTest, KeyNamesAreCaseInsensitiveAndTheLeadingBackslashOptional) {
    SKIP_ON_WINDOWS();
    WriteSettings("Directorio=/srv/trevola\n");
    for (const char* key : {"Software\\Ostrel\\Trevola", "\\SOFTWARE\\Ostrel\\Trevola\\"}) {
        TRegistry registry;
        EXPECT_TRUE(registry.OpenKeyReadOnly(QString::fromLatin1(key))) << key;
    }
    for (const char* key : {"\\Software\\Ostrel", "\\Software\\Ostrel\\Trevola\\Sub",
                            "\\Hardware\\Ostrel\\Trevola", "\\Software\\Ostrel\\Otro"}) {
        TRegistry registry;
        EXPECT_FALSE(registry.OpenKeyReadOnly(QString::fromLatin1(key))) << key;
    }
}

TEST_F(RegistryTest, TheFirstFolderThatHasTheFileWins) {
    SKIP_ON_WINDOWS();
    WriteSettings("Directorio=/second\n", true);
    {
        TRegistry registry;
        ASSERT_TRUE(registry.OpenKeyReadOnly(Key));
        EXPECT_EQ(registry.ReadString(Value), QStringLiteral("/second"));
    }
    WriteSettings("Otro=1\n");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(Key));
    EXPECT_FALSE(registry.ValueExists(Value));
    EXPECT_EQ(registry.ReadString(Value), QString());
}

struct ValueCase {
    const char* line;
    bool exists;
    bool isString;
    const char16_t* text;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.line;
}

class RegistryValueTest : public RegistryTest, public testing::WithParamInterface<ValueCase> {};

TEST_P(RegistryValueTest, ReadsOrRefuses) {
    SKIP_ON_WINDOWS();
    const ValueCase& c = GetParam();
    WriteSettings(QByteArray(c.line) + "\n[Other]\nDirectorio=wrong\n");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(Key));
    EXPECT_EQ(registry.ValueExists(Value), c.exists);
    if (c.isString) {
        EXPECT_EQ(registry.ReadString(Value), QString::fromUtf16(c.text));
        return;
    }
    try {
        registry.ReadString(Value);
        ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Invalid data type for 'Directorio'"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RegistryValueTest,
    testing::Values(ValueCase{"Directorio=", true, true, u""},
                    ValueCase{"# Directorio=/x", false, true, u""},
                    ValueCase{"directorio=/srv/año", true, true, u"/srv/año"},
                    ValueCase{"Directorio=a,b;c", true, true, u"a,b;c"},
                    ValueCase{"Directorio=\"  C:\\x \"", true, true, u"  C:\\x "},
                    ValueCase{"Directorio=\"dword:1\"", true, true, u"dword:1"},
                    ValueCase{"Directorio=/a\nDirectorio=/b", true, true, u"/b"},
                    ValueCase{"[General]\nDirectorio=/g", true, true, u"/g"},
                    ValueCase{"Directorio=dword:00000001", true, false, nullptr},
                    ValueCase{"Directorio=QWORD:1", true, false, nullptr},
                    ValueCase{"Directorio=hex:2f,61", true, false, nullptr},
                    ValueCase{"Directorio=hex(7):61,00,00,00", true, false, nullptr}));

TEST(SettingsFile, SkipsLinesThatAreNotValues) {
    const TSettingsFile file = TSettingsFile::Parse(
        u"\uFEFFno equals sign\n=nameless\n[ Drives ]\nc = /srv/c\n[broken\nd=/srv/d\n");
    EXPECT_EQ(file.Find(u"", u"no equals sign"), nullptr);
    ASSERT_NE(file.Find(u"drives", u"C"), nullptr);
    EXPECT_EQ(file.Find(u"drives", u"C")->text, QStringLiteral("/srv/c"));
    // "[broken" is not a section header, so d stays in Drives.
    ASSERT_NE(file.Find(u"Drives", u"d"), nullptr);
}

TEST_F(RegistryTest, SettingsFileStartsWithAByteOrderMark) {
    SKIP_ON_WINDOWS();
    WriteSettings("\xEF\xBB\xBF"
                  "Directorio=/bom\n");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKeyReadOnly(Key));
    EXPECT_EQ(registry.ReadString(Value), QStringLiteral("/bom"));
}

} // namespace
