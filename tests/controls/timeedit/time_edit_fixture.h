#pragma once
// A window with the time box and a second box to move the focus to, on the
// C locale unless a test loads another.

#include "controls/timeedit/db_date_time_edit_eh.h"
#include "platform/system/format_settings.h"
#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/edit.h"
#include "platform/ui/form.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

class TimeEditFixture : public testing::Test {
protected:
    void SetUp() override {
        LoadFromLocale(QLocale::c());
        form_ = new TForm(nullptr);
        form_->SetBounds(50, 50, 360, 200);
        other_ = new TEdit(form_);
        other_->SetParent(form_);
        other_->SetBounds(10, 10, 80, 21);
        box_ = new TDBDateTimeEditEh(form_);
        box_->SetParent(form_);
        box_->SetBounds(136, 72, 63, 21);
        box_->SetKind(TDateTimeKindEh::dtkTimeEh);
    }
    void TearDown() override {
        delete form_;
        Application->OnException = nullptr;
        LoadFromLocale(QLocale::c());
    }

    // Shows the window and gives the box the focus as Tab would.
    void Enter() {
        form_->Show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form_->Widget()));
        other_->SetFocus();
        QTest::keyClick(other_->Widget(), Qt::Key_Tab);
        ASSERT_TRUE(box_->Focused());
    }
    void Leave() {
        QTest::keyClick(Edit(), Qt::Key_Tab);
        ASSERT_FALSE(box_->Focused());
    }
    QLineEdit* Edit() const { return box_->LineEdit(); }
    void Keys(const char* keys) { QTest::keyClicks(Edit(), QString::fromLatin1(keys)); }

    static TDateTime At(int hour, int minute, int second) {
        return EncodeDateTime(1900, 1, 1, hour, minute, second, 0);
    }

    TRecordingAnswerer answerer_;
    TForm* form_ = nullptr;
    TEdit* other_ = nullptr;
    TDBDateTimeEditEh* box_ = nullptr;
};
