#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"
#include "platform/ui/modal_answerer.h"
#include "platform/ui/register_ui_classes.h"
#include "tests/platform/ui/test_form_fixture.h"

#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

namespace {

using ApplicationTest = TestFormFixture;

// A window system that never activates one window: its activation notices
// are dropped before they reach it.
class TNeverActivated : public QObject {
public:
    explicit TNeverActivated(QWidget* window) : window_(window) {
        QApplication::instance()->installEventFilter(this);
    }
    ~TNeverActivated() override { QApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return watched == window_ && event->type() == QEvent::WindowActivate;
    }

private:
    QWidget* window_;
};

TEST_F(ApplicationTest, TheDispatcherHandsExceptionsToTheHook) {
    std::vector<std::pair<TObject*, QString>> seen;
    Application->OnException = [&](TObject* sender, const Exception& e) {
        seen.emplace_back(sender, e.Message());
    };
    TComponent sender;
    Application->Dispatch(&sender, [] { throw Exception("boom"); });
    Application->Dispatch(&sender, [] { Abort(); });
    Application->Dispatch(nullptr, [] { throw std::runtime_error("std"); });
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].first, &sender);
    EXPECT_EQ(seen[0].second, "boom");
    EXPECT_EQ(seen[1].second, "std");
    EXPECT_TRUE(boxes_.boxes.empty());
}

TEST_F(ApplicationTest, WithoutAHookTheStandardErrorBoxShowsTheMessage) {
    Application->Dispatch(nullptr, [] { throw Exception("Invalid data type for 'Directorio'"); });
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, "Invalid data type for 'Directorio'");
    EXPECT_EQ(boxes_.boxes[0].type, TMsgDlgType::mtError);
    EXPECT_EQ(boxes_.boxes[0].buttons, QStringList{"OK"});
}

TEST_F(ApplicationTest, AnExceptionInsideTheEventLoopNeverCrossesIt) {
    QString seen;
    Application->OnException = [&](TObject*, const Exception& e) { seen = e.Message(); };
    QTimer::singleShot(0, [] { throw Exception("from the loop"); });
    QTest::qWait(20);
    EXPECT_EQ(seen, "from the loop");
}

TEST_F(ApplicationTest, AFailingOnCreateIsReportedAndTheWindowStillExists) {
    THandlerTable h;
    h.Add<TNotifyEvent>("Create", [](TObject*) { throw Exception("create failed"); });
    TTestForm* form = MakeForm("  OnCreate = Create\n", h);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(boxes_.boxes.size(), 1u);
    EXPECT_EQ(boxes_.boxes[0].text, "create failed");
}

TEST_F(ApplicationTest, TheLoopEndsWhenTheMainWindowCloses) {
    int activations = 0;
    THandlerTable h;
    TTestForm* main = nullptr;
    // The person closes the window as soon as it is active.
    h.Add<TNotifyEvent>("Activate", [&](TObject*) {
        ++activations;
        main->Close();
    });
    main = MakeForm("  Caption = \"Main\"\n  OnActivate = Activate\n", h);
    Application->FormCreated(main);
    TTestForm* second = MakeForm("  Caption = \"Second\"\n");
    Application->FormCreated(second);
    EXPECT_EQ(Application->MainForm(), main);
    Application->Run(); // returns only when the main window has closed
    EXPECT_EQ(activations, 1);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_TRUE(Application->Terminated());

    // A new main window runs the loop again once the application restarts.
    Application->Restart();
    int again = 0;
    THandlerTable h2;
    TTestForm* next = nullptr;
    h2.Add<TNotifyEvent>("Activate", [&](TObject*) {
        ++again;
        next->Close();
    });
    next = MakeForm("  Caption = \"Next\"\n  OnActivate = Activate\n", h2);
    Application->FormCreated(next);
    EXPECT_EQ(Application->MainForm(), next);
    Application->Run();
    EXPECT_EQ(again, 1);
}

TEST_F(ApplicationTest, AModalWindowReturnsItsResult) {
    int activations = 0;
    THandlerTable h;
    h.Add<TNotifyEvent>("Activate", [&](TObject*) { ++activations; });
    TTestForm* dialog = MakeForm("  Caption = \"Modal\"\n  OnActivate = Activate\n", h);
    TModalAnswerer person;
    person.answer = [&](TForm& form) {
        EXPECT_EQ(&form, dialog);
        EXPECT_TRUE(form.Widget()->isVisible());
        EXPECT_EQ(activations, 1); // the window's activation ran first
        form.SetModalResult(1);
    };
    EXPECT_EQ(dialog->ShowModal(), 1);
    EXPECT_EQ(person.shown, std::vector<QString>{"TTestForm"});
    EXPECT_FALSE(dialog->Widget()->isVisible());
    // Without an answer the window is closed, as by its close box (mrCancel).
    person.answer = nullptr;
    EXPECT_EQ(dialog->ShowModal(), 2);
}

TEST_F(ApplicationTest, AModalWindowRunsItsActivationOnceWhateverTheWindowSystemDoes) {
    const struct {
        const char* name;
        bool windowSystemActivates;
        // Another modal window opens over it and closes, so that it is
        // activated a second time.
        bool windowInBetween;
    } cases[] = {
        {"never activated by the window system", false, false},
        {"activated by the window system", true, false},
        {"activated again after a window it opened", true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int activations = 0;
        THandlerTable h;
        h.Add<TNotifyEvent>("Activate", [&](TObject*) { ++activations; });
        TTestForm* dialog = MakeForm("  Caption = \"Modal\"\n  OnActivate = Activate\n", h);
        TTestForm* over = MakeForm("  Caption = \"Over\"\n");
        std::optional<TNeverActivated> windowSystem;
        if (!c.windowSystemActivates)
            windowSystem.emplace(dialog->Widget());
        TModalAnswerer person;
        person.answer = [&](TForm& form) {
            if (&form == over) {
                EXPECT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
                form.Close();
                return;
            }
            // The activation ran before the loop, as the window was shown.
            EXPECT_EQ(activations, 1);
            if (c.windowSystemActivates) {
                EXPECT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
            }
            if (c.windowInBetween) {
                over->ShowModal();
                form.Widget()->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
            }
            EXPECT_EQ(activations, 1);
            form.Close();
        };
        EXPECT_EQ(dialog->ShowModal(), 2);
        EXPECT_EQ(activations, 1);
        // Each showing runs it once more.
        person.answer = nullptr;
        dialog->ShowModal();
        EXPECT_EQ(activations, 2);
        delete dialog;
        delete over;
    }
}

TEST_F(ApplicationTest, AWindowThatActivatesWhenShownRunsItsActivationOncePerShowing) {
    const struct {
        const char* name;
        bool activatesWhenShown;
        bool windowSystemActivates;
        int onShow;          // activations of a showing as it is shown
        int afterLateNotice; // once the window system's notice came too
    } cases[] = {
        {"activates when shown, never activated by the window system", true, false, 1, 1},
        {"activates when shown, activated by the window system", true, true, 1, 1},
        // As any window: only the window system's notice runs it.
        {"waits for the window system, which comes late", false, false, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int activations = 0;
        THandlerTable h;
        h.Add<TNotifyEvent>("Activate", [&](TObject*) { ++activations; });
        TTestForm* form = MakeForm("  Caption = \"Shown\"\n  OnActivate = Activate\n", h);
        form->SetActivatesWhenShown(c.activatesWhenShown);
        for (int showing = 1; showing <= 2; ++showing) {
            SCOPED_TRACE(showing);
            const int before = activations;
            std::optional<TNeverActivated> windowSystem;
            if (!c.windowSystemActivates)
                windowSystem.emplace(form->Widget());
            form->Show();
            // At once, before the loop has run.
            EXPECT_EQ(activations - before, c.onShow);
            if (c.windowSystemActivates) {
                EXPECT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
            } else {
                QTest::qWait(20);
            }
            EXPECT_EQ(activations - before, c.onShow);
            // The window system comes round to it late, after another window.
            windowSystem.reset();
            Application->SetActiveForm(nullptr);
            QEvent activated(QEvent::WindowActivate);
            QApplication::sendEvent(form->Widget(), &activated);
            EXPECT_EQ(activations - before, c.afterLateNotice);
            form->Hide();
        }
        delete form;
    }
}

TEST_F(ApplicationTest, EnterCanBeTurnedIntoAMoveToTheNextControl) {
    THandlerTable h;
    TTestForm* form = nullptr;
    h.Add<TKeyPressEvent>("EnterToTab", [&](TObject*, QChar& key) {
        if (key == QChar(13)) {
            key = QChar(0);
            form->SelectNext();
        }
    });
    form = MakeForm("  TEdit A\n    TabOrder = 1\n    OnKeyPress = EnterToTab\n"
                    "  TEdit B\n    TabOrder = 0\n    OnKeyPress = EnterToTab\n",
                    h);
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
    auto* a = FindRequired<TEdit>(*form, "A");
    auto* b = FindRequired<TEdit>(*form, "B");
    b->SetFocus();
    QTest::keyClick(b->Widget(), Qt::Key_Return);
    EXPECT_TRUE(a->Widget()->hasFocus());
    QTest::keyClicks(a->Widget(), "x");
    EXPECT_EQ(a->Text(), "x");
}

TEST_F(ApplicationTest, AKeyTheFocusedControlLeavesReachesThePreviewAndHandlersOnce) {
    // F5 means nothing to an edit box, so Qt passes it on to the panel the
    // box sits in and then to the window, each a control of its own.
    QStringList seen;
    THandlerTable h;
    h.Add<TKeyEvent>("FormKeyDown", [&](TObject*, unsigned short& k, TShiftState) {
        seen << "form " + QString::number(k);
    });
    h.Add<TKeyEvent>("PanelKeyDown",
                     [&](TObject*, unsigned short&, TShiftState) { seen << "panel"; });
    h.Add<TKeyEvent>("EditKeyDown", [&](TObject*, unsigned short& k, TShiftState) {
        seen << "edit " + QString::number(k);
    });
    TTestForm* form = MakeForm("  KeyPreview = True\n  OnKeyDown = FormKeyDown\n"
                               "  TPanel P\n    OnKeyDown = PanelKeyDown\n"
                               "    TEdit A\n      OnKeyDown = EditKeyDown\n",
                               h);
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
    auto* a = FindRequired<TEdit>(*form, "A");
    a->SetFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F5);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F6);
    EXPECT_EQ(seen, (QStringList{"form 116", "edit 116", "form 117", "edit 117"}));
}

TEST_F(ApplicationTest, ADestroyedWindowRunsNoHandlerAsItsFocusedControlGoes) {
    int exits = 0;
    THandlerTable h;
    h.Add<TNotifyEvent>("AExit", [&](TObject*) { ++exits; });
    TTestForm* form = MakeForm("  TEdit A\n    OnExit = AExit\n  TEdit B\n", h);
    form->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form->Widget()));
    auto* a = FindRequired<TEdit>(*form, "A");
    a->SetFocus();
    FindRequired<TEdit>(*form, "B")->SetFocus();
    EXPECT_EQ(exits, 1); // a real exit runs the handler
    a->SetFocus();
    delete form;
    EXPECT_EQ(exits, 1);
}

TEST(Fonts, TheNarrowWindowsFontStaysNarrow) {
    // The buttons' captions are set in "Arial Narrow": a condensed face keeps them unclipped.
    const QString caption = QStringLiteral("Esc: Cancelar");
    const int narrow =
        QFontMetrics(QFont(QStringLiteral("Arial Narrow"), 8)).horizontalAdvance(caption);
    const int plain =
        QFontMetrics(QFont(QStringLiteral("DejaVu Sans"), 8)).horizontalAdvance(caption);
    EXPECT_LT(narrow, plain);
}

TEST(Fonts, TheWindowsFontsAreDrawnInTheirMetricCompatibleFaces) {
    // The window sizes were made for these faces' widths; a wider face clips
    // the texts (the test command installs the Liberation fonts).
    const struct {
        const char* asked;
        const char* drawn;
    } faces[] = {{"MS Sans Serif", "Liberation Sans"}, {"Arial Narrow", "Liberation Sans Narrow"}};
    for (const auto& f : faces)
        EXPECT_EQ(QFontInfo(QFont(QString::fromLatin1(f.asked), 8)).family(),
                  QString::fromLatin1(f.drawn))
            << f.asked;
}

} // namespace
