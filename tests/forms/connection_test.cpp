#include "controls/timeedit/db_date_time_edit_eh.h"
#include "data/dataset/client/clientdataset.h"
#include "data/dataset/sql/sqlconnection.h"
#include "forms/scheduled_run.h"
#include "platform/system/command_line.h"
#include "platform/ui/combo_box.h"
#include "platform/ui/date_time_picker.h"
#include "platform/ui/edit.h"
#include "platform/ui/panel.h"
#include "platform/ui/speed_button.h"
#include "tests/forms/catalog_database.h"
#include "tests/forms/login_fixture.h"

#include <optional>
#include <ostream>

namespace {

const QString kConnecting = QStringLiteral("Conectando a la base de datos Trevola ...");

// The login window on a real catalog database, its server list leading there.
class Connection : public LoginFixture {
protected:
    void SetUp() override {
        Prepare();
        ShowWindow();
    }
    void Prepare() {
        settings_.WriteServerList(catalog_.ServerLine().toLocal8Bit() + "\r\n");
        Create();
        timeOfDay_ = w_->EFecIni->Time();
    }
    // Types the three texts and leaves the company box with Tab.
    void Login(const QString& company, const QString& user = TestDatabase::User(),
               const QString& password = TestDatabase::Password()) {
        w_->Tusua->SetText(user);
        w_->TClave->SetText(password);
        w_->Cia->SetText(company);
        w_->Cia->SetFocus();
        Key(Qt::Key_Tab);
    }
    void ExpectFailedRunLeftTheStates(bool exportEnabled) {
        EXPECT_TRUE(w_->Panel5->Visible());
        EXPECT_EQ(w_->Panel5->Caption(), kConnecting);
        EXPECT_EQ(w_->SpeedButton1->Enabled(), exportEnabled);
    }
    QStringList BoxTexts() const {
        QStringList texts;
        for (const auto& box : boxes_.boxes)
            texts << box.text;
        return texts;
    }

    // An export reads the ERP: an empty one of the test's own, in place of
    // the design-time database of the local connection.
    void UseEmptyErp() {
        erp_.emplace(QStringLiteral("erp"));
        erp_->RunFixture(QStringLiteral("dorvan.sql"));
        fdmqb->Dorvan->SetParamValue(QStringLiteral("Database"), erp_->Database());
    }

    CatalogDatabase catalog_;
    std::optional<TestDatabase> erp_;
    TDateTime timeOfDay_;
};

TEST_F(Connection, EnterInTheCompanyBoxConnectsAndShowsTheStamp) {
    w_->Tusua->SetText(TestDatabase::User());
    w_->TClave->SetText(TestDatabase::Password());
    w_->Cia->SetText("1");
    w_->Cia->SetFocus();
    Key(Qt::Key_Return);

    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(fdmqb->Quelbo->ConnectionState(), csStateOpen);
    EXPECT_EQ(fdmqb->Quelbo->Params().Value("Database"), catalog_.ServerLine() + "/quelbo.fdb");
    EXPECT_EQ(fdmqb->Quelbo->Params().Value("User_Name"), TestDatabase::User());
    EXPECT_EQ(fdmqb->Quelbo->Params().Value("Password"), TestDatabase::Password());
    EXPECT_EQ(fdmqb->Quelbo->Params().Value("RoleName"), "RoleName");
    EXPECT_TRUE(w_->EFecIni->Enabled());
    EXPECT_EQ(w_->EFecIni->Date().ToQDate(), QDate(2020, 4, 23));
    EXPECT_EQ(w_->EFecIni->Time(), timeOfDay_);
    EXPECT_EQ(w_->EHora->Text(), "14:05:09");
    EXPECT_FALSE(w_->Panel5->Visible());
    EXPECT_FALSE(w_->CBorrar->Active());
    EXPECT_EQ(w_->CBorrar->PacketRecords(), 1000);
    EXPECT_TRUE(w_->EFecIni->Focused());
    EXPECT_TRUE(w_->SpeedButton1->Enabled());
    EXPECT_EQ(settings_.ErrorLog(), QByteArray());
}

TEST_F(Connection, AnEmptyPasswordDoesNothingAtAll) {
    Login("1", TestDatabase::User(), QString());
    EXPECT_FALSE(w_->Panel5->Visible());
    EXPECT_EQ(w_->Panel5->Caption(), QString());
    EXPECT_EQ(fdmqb->Quelbo->ConnectionState(), csStateClosed);
    EXPECT_FALSE(w_->EFecIni->Enabled());
    EXPECT_FALSE(w_->SpeedButton1->Enabled());
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(Connection, ACompanyWithoutARowGivesTheZeroDateAndAnEmptyTime) {
    Login("2");
    EXPECT_TRUE(boxes_.boxes.empty());
    EXPECT_EQ(w_->EFecIni->Date().ToQDate(), QDate(1899, 12, 30));
    EXPECT_EQ(w_->EHora->Text(), "  :  :  ");
    EXPECT_FALSE(w_->EHora->Value().has_value());
    EXPECT_TRUE(w_->SpeedButton1->Enabled());
}

TEST_F(Connection, AStoredTimeWithoutSecondsFailsAtTheTimeBox) {
    catalog_.Db().Run("insert into COMPANIA values (3, '2021-05-06', '09:05');");
    Login("3");
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, "Se presento el siguiente error: Invalid datetime: \"09:05\"");
    EXPECT_TRUE(settings_.ErrorLog().contains(",,Invalid datetime: \"09:05\"\r\n"));
    // The picker was enabled and set before the failing step.
    EXPECT_TRUE(w_->EFecIni->Enabled());
    EXPECT_EQ(w_->EFecIni->Date().ToQDate(), QDate(2021, 5, 6));
    EXPECT_EQ(w_->EHora->Text(), "  :  :  ");
    EXPECT_TRUE(w_->CBorrar->Active());
    ExpectFailedRunLeftTheStates(false);

    // The next run closes CBorrar and reads again; the export stays enabled
    // for good, also when a later run fails.
    Login("1");
    EXPECT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_FALSE(w_->CBorrar->Active());
    EXPECT_FALSE(w_->Panel5->Visible());
    EXPECT_EQ(w_->EHora->Text(), "14:05:09");
    EXPECT_TRUE(w_->SpeedButton1->Enabled());
    Login("3");
    EXPECT_EQ(boxes_.boxes.size(), 2u);
    ExpectFailedRunLeftTheStates(true);
}

struct Refusal {
    const char* name;
    const char* serverSuffix; // appended to the catalog's server line
    const char* password;     // null: the right one
    const char* shown;        // the translated text
    bool withFile;            // ... followed by the database file
    const char* logged;       // part of the raw message in the log
    // The case's name in test listings.
    friend void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }
};

class RefusedConnection : public Connection, public testing::WithParamInterface<Refusal> {};

TEST_P(RefusedConnection, LeavesTheStatusPanelAndOneTranslatedBox) {
    const Refusal& r = GetParam();
    w_->Servidor->ClearItems();
    w_->Servidor->AddItem(catalog_.ServerLine() + QString::fromLatin1(r.serverSuffix));
    w_->Servidor->SetItemIndex(0);
    Login("1", TestDatabase::User(),
          r.password ? QString::fromLatin1(r.password) : TestDatabase::Password());
    const QString file = catalog_.Folder() + QString::fromLatin1(r.serverSuffix) + "/quelbo.fdb";
    EXPECT_EQ(BoxTexts(),
              QStringList{QString::fromUtf8(r.shown) + (r.withFile ? file : QString())});
    EXPECT_EQ(boxes_.boxes[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(fdmqb->Quelbo->ConnectionState(), csStateClosed);
    EXPECT_FALSE(w_->EFecIni->Enabled());
    ExpectFailedRunLeftTheStates(false);
    const QByteArray log = settings_.ErrorLog();
    EXPECT_TRUE(log.contains(",,SQLDriver Error: ")) << log.toStdString();
    EXPECT_TRUE(log.contains(r.logged)) << log.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedConnection,
    testing::Values(Refusal{"WrongPassword", "", "not-the-password",
                            "El nombre de Usuario o la clave son incorrectas.", false,
                            "Your user name and password are not defined"},
                    Refusal{"NoSuchFolder", "/missing", nullptr,
                            "No se encontró el archivo o la ruta ", true, "I/O error"}),
    [](const auto& info) { return std::string(info.param.name); });

class NotANumber : public Connection, public testing::WithParamInterface<const char*> {};

TEST_P(NotANumber, IsRefusedBeforeAnythingReachesTheServer) {
    const QString company = QString::fromLatin1(GetParam());
    Login(company);
    const QString message =
        QStringLiteral("El número de compañía no es válido: \"") + company + QStringLiteral("\"");
    EXPECT_EQ(BoxTexts(),
              QStringList{QStringLiteral("Se presento el siguiente error: ") + message});
    EXPECT_TRUE(settings_.ErrorLog().contains(",," + message.toLatin1() + "\r\n"))
        << settings_.ErrorLog().toStdString();
    // Not even the connection was opened.
    EXPECT_EQ(fdmqb->Quelbo->ConnectionState(), csStateClosed);
    EXPECT_EQ(catalog_.AttachmentsOf(QCoreApplication::applicationPid()), 0);
    EXPECT_FALSE(w_->EFecIni->Enabled());
    ExpectFailedRunLeftTheStates(false);
    // Every company keeps its stamp.
    EXPECT_EQ(catalog_.Db().Query("select COMP_HORACT from COMPANIA"),
              (std::vector<QStringList>{{"14:05:09"}}));
}

INSTANTIATE_TEST_SUITE_P(Texts, NotANumber, testing::Values("1 OR 1=1", "1;", " 1", "-1", " "));

TEST_F(Connection, AfterConnectingF5RunsTheExport) {
    UseEmptyErp();
    Login("1");
    ASSERT_TRUE(w_->SpeedButton1->Enabled());
    bool shown = false;
    modals_.answer = [&](TForm& form) {
        shown = form.Widget()->isVisible();
        form.Close();
    };
    Key(Qt::Key_F5);
    EXPECT_EQ(modals_.shown, std::vector<QString>{"Tfactarticulos"});
    EXPECT_TRUE(shown);
    EXPECT_TRUE(BoxTexts().isEmpty()) << BoxTexts().join('\n').toStdString();
    EXPECT_EQ(Application->MainForm(), nullptr);
}

} // namespace

namespace {

// The window's activation with the program's command line set as the
// program itself sets it.
struct Unattended {
    const char* name;
    int count; // arguments after the program
    bool connects;
    bool exports;
    // The case's name in test listings.
    friend void PrintTo(const Unattended& c, std::ostream* os) { *os << c.name; }
};

class UnattendedActivation : public Connection, public testing::WithParamInterface<Unattended> {
protected:
    void SetUp() override {
        QStringList arguments{"articulosmqb",
                              catalog_.ServerLine(),
                              TestDatabase::User(),
                              TestDatabase::Password(),
                              "1",
                              "5",
                              "6",
                              "7",
                              "8",
                              "9",
                              "auto",
                              "export",
                              "12"};
        InitCommandLine(arguments.mid(0, GetParam().count + 1));
        Prepare();
        if (GetParam().exports)
            UseEmptyErp();
        // The activation runs the unattended steps; with an export the
        // window is gone again by the time it returns.
        w_->Show();
        (void)QTest::qWaitFor([] { return Application->ActiveForm() != nullptr; }, 5000);
    }
    void TearDown() override {
        InitCommandLine({});
        Connection::TearDown();
    }
};

TEST_P(UnattendedActivation, FillsConnectsAndExportsAsTheArgumentsSay) {
    const Unattended& u = GetParam();
    EXPECT_TRUE(boxes_.boxes.empty());
    EXPECT_EQ(fdmqb->Quelbo->Connected(), u.connects);
    EXPECT_EQ(!modals_.shown.empty(), u.exports);
    if (u.exports) {
        EXPECT_EQ(Application->MainForm(), nullptr);
        return;
    }
    EXPECT_EQ(w_->SpeedButton1->Enabled(), u.connects);
    if (u.connects) {
        EXPECT_EQ(w_->Servidor->Items(), QStringList{catalog_.ServerLine()});
        EXPECT_EQ(w_->Tusua->Text(), TestDatabase::User());
        EXPECT_EQ(w_->Cia->Text(), "1");
        EXPECT_EQ(w_->EHora->Text(), "14:05:09");
    } else {
        EXPECT_EQ(w_->Servidor->Items(), QStringList{catalog_.ServerLine()}); // from the file
        EXPECT_EQ(w_->Tusua->Text(), QString());
    }
}

INSTANTIATE_TEST_SUITE_P(Arguments, UnattendedActivation,
                         testing::Values(Unattended{"Nine", 9, false, false},
                                         Unattended{"Ten", 10, true, false},
                                         Unattended{"Eleven", 11, true, true},
                                         Unattended{"Twelve", 12, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace

namespace {

// A window system that never activates the login window: its activation
// notices are dropped before they reach it.
class TLoginNeverActivated : public QObject {
public:
    TLoginNeverActivated() { QApplication::instance()->installEventFilter(this); }
    ~TLoginNeverActivated() override { QApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return event->type() == QEvent::WindowActivate && faccesoqb &&
               watched == faccesoqb->Widget();
    }
};

// The login window in a run a scheduler owns (twelve arguments, as the
// program sets it up then): its unattended steps run once as it is shown,
// whatever the window system does, and every window closes by itself when
// the run ends, however it ends.
struct Scheduled {
    const char* name;
    bool rightPassword;
    int status;
    QStringList boxes;
    QString summaryEnd;
    friend void PrintTo(const Scheduled& c, std::ostream* os) { *os << c.name; }
};

class ScheduledLogin : public Connection, public testing::WithParamInterface<Scheduled> {
protected:
    void SetUp() override {
        InitCommandLine({"articulosmqb", catalog_.ServerLine(), TestDatabase::User(),
                         GetParam().rightPassword ? TestDatabase::Password() : "not-the-password",
                         "1", "5", "6", "7", "8", "9", "auto", "export", "fin"});
        Prepare();
        UseEmptyErp();
    }
    void TearDown() override {
        InitCommandLine({});
        Connection::TearDown();
    }
};

TEST_P(ScheduledLogin, RunsOnceThoughTheWindowSystemNeverActivatesItAndEndsByItself) {
    const Scheduled& c = GetParam();
    TScheduledRun run("1", [](const QString&) {});
    w_->SetScheduledRun(&run);
    auto windowSystem = std::make_optional<TLoginNeverActivated>();

    w_->Show();
    // The steps ran as the window was shown: connected and exported, or
    // stopped on the connection and reported.
    EXPECT_EQ(w_->Tusua->Text(), TestDatabase::User());
    EXPECT_EQ(BoxTexts(), c.boxes);
    // The window system comes round to activating it: nothing runs again.
    windowSystem.reset();
    Application->SetActiveForm(nullptr);
    QEvent activated(QEvent::WindowActivate);
    QApplication::sendEvent(w_->Widget(), &activated);
    EXPECT_EQ(BoxTexts(), c.boxes);

    // Nobody closes anything: the program's main window closes by itself.
    EXPECT_TRUE(QTest::qWaitFor([] { return Application->MainForm() == nullptr; }, 5000));
    EXPECT_TRUE(modals_.shown.empty()) << "the results window waited for someone";
    EXPECT_EQ(run.ExitStatus(), c.status);
    EXPECT_TRUE(run.Summary().endsWith(c.summaryEnd)) << run.Summary().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Runs, ScheduledLogin,
    testing::Values(Scheduled{"Exports", true, 0, {}, "compañía 1 sellada con 04/23/2020 14:05:09"},
                    Scheduled{"WrongPassword",
                              false,
                              2,
                              {"El nombre de Usuario o la clave son incorrectas."},
                              "compañía 1 sin sellar"}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
