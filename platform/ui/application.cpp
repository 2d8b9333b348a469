#include "platform/ui/application.h"

#include "platform/formfile/form_reader.h"
#include "platform/system/stop_signals.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/font_substitutes.h"
#include "platform/ui/form.h"

#include <QApplication>
#include <QFileInfo>
#include <QSocketNotifier>
#include <vector>

TApplication* Application = nullptr;

namespace {

// The key presses being delivered now (a handler may run a modal loop that
// delivers others meanwhile), and whether a control has claimed each.
struct KeyPressDelivery {
    const QEvent* event;
    bool claimed;
};
std::vector<KeyPressDelivery> gKeyPresses;

// The last-resort catch: no exception may unwind through Qt's event loop.
class GuardedQApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override {
        const bool keyPress = event->type() == QEvent::KeyPress;
        if (keyPress)
            gKeyPresses.push_back({event, false});
        bool result = false;
        try {
            result = QApplication::notify(receiver, event);
        } catch (...) {
            if (Application)
                Application->HandleException(nullptr);
        }
        if (keyPress)
            gKeyPresses.pop_back();
        return result;
    }
};

} // namespace

TApplication::TApplication(int& argc, char** argv) {
    if (!QApplication::instance())
        qt_ = std::make_unique<GuardedQApplication>(argc, argv);
    if (argc > 0)
        QApplication::setApplicationName(QFileInfo(QString::fromLocal8Bit(argv[0])).baseName());
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutes();
    Application = this;
    TReferenceResolver::SetModuleRoot(this);
}

TApplication::~TApplication() {
    running_ = false;
    stopNotifier_.reset();
    DestroyComponents();
    TReferenceResolver::SetModuleRoot(nullptr);
    if (Application == this)
        Application = nullptr;
}

QString TApplication::Title() const {
    return QApplication::applicationName();
}

void TApplication::FormCreated(TComponent* component) {
    if (auto* form = dynamic_cast<TForm*>(component); form && !mainForm_)
        mainForm_ = form;
    TReferenceResolver::ResolvePending();
}

void TApplication::Initialize() {
    const int pipe = InstallStopSignalHandlers();
    if (pipe < 0 || stopNotifier_)
        return;
    stopNotifier_ = std::make_unique<QSocketNotifier>(pipe, QSocketNotifier::Read);
    QObject::connect(stopNotifier_.get(), &QSocketNotifier::activated, [this] { StopRequested(); });
}

void TApplication::Run() {
    if (!mainForm_ || Terminated())
        return;
    running_ = true;
    Dispatch(mainForm_, [this] { mainForm_->Show(); });
    if (!Terminated())
        QApplication::exec();
    running_ = false;
}

void TApplication::Terminate() {
    terminated_ = true;
    QApplication::quit();
}

bool TApplication::Terminated() const {
    return terminated_ || StopSignalReceived() != 0;
}

void TApplication::StopRequested() {
    DrainStopSignalPipe();
    terminated_ = true;
    // Unlike quit, exit asks no window whether it may close: every loop
    // running ends now, a message box's included, and a loop started later
    // returns at once. TForm::ShowModal's loop sees Terminated.
    QCoreApplication::exit(0);
}

void TApplication::Restart() {
    mainForm_ = nullptr;
    terminated_ = false;
    ClearStopSignal();
}

void TApplication::MainFormClosed() {
    mainForm_ = nullptr;
    Terminate();
}

void TApplication::HandleException(TObject* sender) noexcept {
    try {
        try {
            throw;
        } catch (const EAbort&) {
            return;
        } catch (const Exception& e) {
            if (OnException)
                OnException(sender, e);
            else
                ShowException(e);
        } catch (const std::exception& e) {
            const Exception wrapped(QString::fromLocal8Bit(e.what()));
            if (OnException)
                OnException(sender, wrapped);
            else
                ShowException(wrapped);
        }
    } catch (...) {
        // A failing hook must not take the program down; there is nobody left to tell.
    }
}

void TApplication::ShowException(const Exception& e) {
    MessageBoxes().Show({e.Message(), Title(), TMsgDlgType::mtError, {QStringLiteral("OK")}});
}

bool TApplication::ClaimKeyPress(const QEvent* event) {
    for (auto it = gKeyPresses.rbegin(); it != gKeyPresses.rend(); ++it) {
        if (it->event == event) {
            const bool first = !it->claimed;
            it->claimed = true;
            return first;
        }
    }
    return true;
}
