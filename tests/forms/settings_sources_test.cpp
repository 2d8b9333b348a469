#include "forms/accesoqb.h"
#include "forms/server_list.h"
#include "forms/settings_sources.h"
#include "platform/core/exception.h"
#include "platform/system/registry.h"
#include "platform/ui/application.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "tests/forms/login_settings.h"
#include "tests/support/raised.h"

#include <gtest/gtest.h>
#include <ostream>

namespace {

struct ListCase {
    const char* name;
    QByteArray bytes;
    QStringList entries;
    // The case's name in test listings.
    friend void PrintTo(const ListCase& c, std::ostream* os) { *os << c.name; }
};

class ServerListBytes : public testing::TestWithParam<ListCase> {};

TEST_P(ServerListBytes, GiveTheirEntries) {
    const LoginSettings settings;
    settings.WriteServerList(GetParam().bytes);
    EXPECT_EQ(ReadServerList(settings.AppDir() + QStringLiteral("/SERVIDORES.cfg")),
              GetParam().entries);
}

const QByteArray k300(300, 'x');
const QByteArray k255(255, 'y');

INSTANTIATE_TEST_SUITE_P(
    Cases, ServerListBytes,
    testing::Values(ListCase{"CrLf", "A\r\nB\r\n", {"A", "B"}},
                    ListCase{"NoFinalLineEnd", "A\r\nB", {"A"}},
                    ListCase{"LeadingLineEnd", "\r\nA\r\n", {"", "A"}},
                    ListCase{"TwoLineEndsInARow", "A\r\n\r\nB\r\n", {"A", "", "B"}},
                    ListCase{"LfThenCrTakesB", "A\n\rB", {"A", ""}},
                    ListCase{"BareLf", "A\nB\n", {"A", "B"}},
                    ListCase{"BareCrLosesNextFirstChar", "srv1\rxsrv2\r\n", {"srv1", "srv2"}},
                    ListCase{"CrAtTheEnd", "A\r", {"A"}}, ListCase{"Empty", "", {}},
                    ListCase{"NoLineEndAtAll", "localhost:/data", {}},
                    ListCase{"BlanksKept", " localhost:/data \r\n", {" localhost:/data "}},
                    ListCase{"Windows1252",
                             "Compa\xF1\xED"
                             "a \x80\r\n",
                             {QStringLiteral("Compañía €")}},
                    ListCase{"LongLineKeeps255", k300 + "\r\nB\r\n", {QString(255, u'x'), "B"}},
                    ListCase{"Exactly255", k255 + "\n", {QString(255, u'y')}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ServerList, AMissingFileGivesNoEntries) {
    const LoginSettings settings;
    EXPECT_EQ(ReadServerList(settings.AppDir() + QStringLiteral("/SERVIDORES.cfg")), QStringList());
}

class SettingsKey : public testing::Test {
protected:
    LoginSettings settings_;
    TRecordingAnswerer boxes_;
};

TEST_F(SettingsKey, DirectorioNamesTheFolderOfTheServerList) {
    EXPECT_EQ(diraplicacion(), settings_.AppDir());
    EXPECT_EQ(ServerListPath(), settings_.AppDir() + QStringLiteral("/SERVIDORES.cfg"));
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(SettingsKey, AKeyWithoutTheValueGivesTheRootOfDriveCSilently) {
    settings_.WriteSettings("[Drives]\nC = " + settings_.DriveC().toLocal8Bit() + "\n");
    EXPECT_EQ(diraplicacion(), QString());
    EXPECT_EQ(ServerListPath(), settings_.DriveC() + QStringLiteral("/SERVIDORES.cfg"));
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(SettingsKey, AMissingKeyIsToldInABoxThenTheRootFolderIsUsed) {
    settings_.RemoveSettings();
    EXPECT_EQ(ServerListPath(), QStringLiteral("/SERVIDORES.cfg"));
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(
        boxes_.boxes[0].text,
        QStringLiteral(
            "No se encontró la Clave HKEY_LOCAL_MACHINE\\Software\\Ostrel\\Trevola\\Directorio"));
    EXPECT_EQ(boxes_.boxes[0].buttons, QStringList{"OK"});
}

TEST_F(SettingsKey, AValueOfAnotherTypeRaises) {
    settings_.WriteSettings("Directorio = dword:00000001\n");
    EXPECT_EQ(Raised<ERegistryException>([] { diraplicacion(); }).Message(),
              QStringLiteral("Invalid data type for 'Directorio'"));
    EXPECT_TRUE(boxes_.boxes.empty());
}

// ---- The base address of the photographs ---------------------------------------------

// The settings file with "URLBase = <value>" beside Directorio (none when
// `value` is null).
void WriteURLBase(const LoginSettings& settings, const char* value) {
    QByteArray content = "Directorio = " + settings.AppDir().toLocal8Bit() + "\n";
    if (value)
        content += "URLBase = " + QByteArray(value) + "\n";
    settings.WriteSettings(content + "[Drives]\nC = " + settings.DriveC().toLocal8Bit() + "\n");
}

TEST_F(SettingsKey, URLBaseGivesTheBaseAddressWithoutItsFinalSlashes) {
    const std::pair<const char*, const char*> cases[] = {
        {nullptr, "http://www.trevola.invalid"},
        {"", "http://www.trevola.invalid"},
        {"\"\"", "http://www.trevola.invalid"},
        {"https://fotos.example.test", "https://fotos.example.test"},
        {"http://fotos.example.test/", "http://fotos.example.test"},
        {"http://192.0.2.7:8080//", "http://192.0.2.7:8080"},
    };
    for (const auto& [value, base] : cases) {
        SCOPED_TRACE(value ? value : "(none)");
        WriteURLBase(settings_, value);
        EXPECT_EQ(URLBase(), QString::fromUtf8(base));
    }
    // No key: the base as it always was, and no second box about the key.
    settings_.RemoveSettings();
    EXPECT_EQ(URLBase(), "http://www.trevola.invalid");
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(SettingsKey, AURLBaseThatIsNoServerAddressRaises) {
    const char* const bad[] = {"fotos.example.test",
                               "ftp://fotos.example.test",
                               "http://",
                               "http:fotos",
                               "http://fotos.example.test/imagenes",
                               "http://yo@fotos.example.test",
                               "http://fotos.example.test?x=1",
                               "http://fotos.example.test#x",
                               "http://fotos example.test",
                               "/"};
    for (const char* value : bad) {
        SCOPED_TRACE(value);
        WriteURLBase(settings_, value);
        EXPECT_EQ(Raised<Exception>([] { URLBase(); }).Message(),
                  QStringLiteral("El valor URLBase no es una dirección de servidor válida "
                                 "(http://servidor o https://servidor): \"%1\"")
                      .arg(QString::fromUtf8(value)));
    }
    WriteURLBase(settings_, "dword:00000001");
    EXPECT_EQ(Raised<ERegistryException>([] { URLBase(); }).Message(),
              QStringLiteral("Invalid data type for 'URLBase'"));
    EXPECT_TRUE(boxes_.boxes.empty());
}

// The window reads the list while it is created.
class WindowServerList : public SettingsKey {
protected:
    Tfaccesoqb& Create() {
        window_.reset();
        window_ = std::make_unique<Tfaccesoqb>(Application);
        return *window_;
    }
    std::unique_ptr<Tfaccesoqb> window_;
};

TEST_F(WindowServerList, SelectsTheFirstEntryEvenWhenItIsEmpty) {
    settings_.WriteServerList("\r\nlocalhost:/data\r\n");
    Tfaccesoqb& w = Create();
    EXPECT_EQ(w.Servidores(), (QStringList{"", "localhost:/data"}));
    EXPECT_EQ(w.Servidor->Items(), (QStringList{"", "localhost:/data"}));
    EXPECT_EQ(w.Servidor->ItemIndex(), 0);
    EXPECT_EQ(w.Servidor->Text(), QString());
}

TEST_F(WindowServerList, AnEmptyFileLeavesTheBoxEmptyWithNothingSelected) {
    settings_.WriteServerList("");
    Tfaccesoqb& w = Create();
    EXPECT_EQ(w.Servidor->Items(), QStringList());
    EXPECT_EQ(w.Servidor->ItemIndex(), -1);
    EXPECT_EQ(w.Servidor->Text(), QString());
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(WindowServerList, AValueOfAnotherTypeIsShownAndKeepsTheDesignTimeEntry) {
    settings_.WriteSettings("Directorio = hex:41,00\n");
    settings_.WriteServerList("A\r\n");
    Tfaccesoqb& w = Create();
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, QStringLiteral("Invalid data type for 'Directorio'"));
    EXPECT_EQ(boxes_.boxes[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(w.Servidor->Items(), QStringList{"c:\\dorvan"});
    EXPECT_EQ(w.Servidor->Text(), "c:\\dorvan");
}

TEST_F(WindowServerList, UbicacionShowsThePhotographFolderOnTheBaseAddress) {
    const std::pair<const char*, const char*> cases[] = {
        {nullptr, "http://www.trevola.invalid/trevola/imgarti"},
        {"https://fotos.example.test/", "https://fotos.example.test/trevola/imgarti"},
    };
    for (const auto& [value, shown] : cases) {
        SCOPED_TRACE(value ? value : "(none)");
        WriteURLBase(settings_, value);
        EXPECT_EQ(Create().Ubicacion->Text(), QString::fromUtf8(shown));
    }
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(WindowServerList, ABadURLBaseIsShownAfterTheServerListIsRead) {
    WriteURLBase(settings_, "fotos.example.test");
    settings_.WriteServerList("A\r\n");
    Tfaccesoqb& w = Create();
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_TRUE(boxes_.boxes[0].text.startsWith(QStringLiteral("El valor URLBase no es")));
    EXPECT_EQ(boxes_.boxes[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(w.Servidor->Items(), QStringList{"A"});
}

TEST_F(WindowServerList, AMissingKeyIsToldBeforeTheWindowShows) {
    settings_.RemoveSettings();
    Tfaccesoqb& w = Create();
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_TRUE(boxes_.boxes[0].text.startsWith(QStringLiteral("No se encontró la Clave")));
    EXPECT_FALSE(w.Widget()->isVisible());
}

} // namespace
