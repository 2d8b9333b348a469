#pragma once
// The login window and the data module as the program creates them, on
// settings of their own, with every message box and every modal window
// recorded and answered.

#include "data/dmqb.h"
#include "forms/accesoqb.h"
#include "forms/actarticulos.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/modal_answerer.h"
#include "tests/forms/login_settings.h"
#include "tests/forms/program_windows.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>

class LoginFixture : public testing::Test {
protected:
    // Creates the window (which reads the server list) and the data module.
    void Create() {
        Application->CreateForm(faccesoqb);
        Application->CreateForm(fdmqb);
        w_ = faccesoqb;
    }
    void TearDown() override { DestroyProgramWindows(); }
    void ShowWindow() {
        w_->Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w_->Widget()));
    }
    // A key pressed where the focus is, as a person would.
    static void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, modifiers);
    }

    LoginSettings settings_;
    TRecordingAnswerer boxes_;
    TModalAnswerer modals_;
    Tfaccesoqb* w_ = nullptr;
};
