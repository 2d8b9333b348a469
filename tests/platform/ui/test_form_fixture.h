#pragma once
// Windows read from descriptions that a test writes, owned by the
// application; every component goes and the application restarts after
// each test, and message boxes are recorded.

#include "platform/ui/application.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form.h"
#include "platform/ui/register_ui_classes.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

class TTestForm : public TForm {
public:
    TTestForm(TComponent* owner, const QString& file, const THandlerTable& handlers)
        : TForm(owner) {
        InitForm(handlers, file);
    }
    QString ClassName() const override { return QStringLiteral("TTestForm"); }
};

class TestFormFixture : public testing::Test {
protected:
    static void SetUpTestSuite() {
        RegisterUiClasses();
        RegisterAbstractClass<TTestForm>("TTestForm", "TForm");
    }

    // A window of class TTestForm whose description holds `body` (indented lines).
    TTestForm* MakeForm(const QString& body, const THandlerTable& handlers = {}) {
        const QString path = dir_.filePath(QStringLiteral("f%1.form").arg(++count_));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(("TTestForm w" + QString::number(count_) + "\n" + body).toUtf8());
        file.close();
        return new TTestForm(Application, path, handlers);
    }

    void TearDown() override {
        Application->OnException = nullptr;
        while (Application->ComponentCount() > 0)
            delete Application->Components(0);
        Application->Restart();
    }

    QTemporaryDir dir_;
    int count_ = 0;
    TRecordingAnswerer boxes_;
};
