#pragma once
// The application object: owns the windows and the data module, makes the
// first window created the main window, runs the event loop until that window
// closes, and is the one place where exceptions from handlers end.

#include "platform/core/component.h"
#include "platform/core/events.h"
#include "platform/core/exception.h"

#include <QString>
#include <functional>
#include <memory>

class QApplication;
class QEvent;
class QSocketNotifier;
class TForm;

using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
using TModalShownEvent = std::function<void(TForm* Form)>;

class TApplication : public TComponent {
public:
    // Creates the Qt application from main's arguments.
    TApplication(int& argc, char** argv);
    ~TApplication() override;
    QString ClassName() const override { return QStringLiteral("TApplication"); }

    // Makes SIGTERM and SIGINT end the program cleanly: from then on either
    // signal sets Terminated, and the event loop, once it runs again, ends
    // every loop (modal ones included) so that Run returns and the windows
    // and the data module can be freed, closing the connections. Work that
    // runs inside a handler (the upload) polls Terminated between its steps.
    void Initialize();
    // Creates a window or data module owned by the application; the first
    // window created becomes the main window. A description that cannot be
    // read is raised to the caller: the program cannot go on without it.
    template <typename T> void CreateForm(T*& reference) {
        reference = new T(this);
        FormCreated(reference);
    }
    // Runs the event loop: shows the main window and returns when it has closed.
    void Run();
    void Terminate();
    // True once Terminate ran or a stop signal arrived; the signal counts at
    // once, before the loop has seen it, so a handler's loop can poll this.
    bool Terminated() const;
    // Forgets that the main window closed, or that a stop signal came: the
    // next window created becomes the main window and the loop runs again.
    // For tests, which start one program after another in one process.
    void Restart();

    TForm* MainForm() const { return mainForm_; }
    // The window of this application that was activated last.
    TForm* ActiveForm() const { return activeForm_; }
    void SetActiveForm(TForm* form) { activeForm_ = form; }
    void FormCreated(TComponent* component);
    void MainFormClosed();

    QString Title() const;

    // The hook for every exception that no handler caught, the silent abort excepted.
    TExceptionEvent OnException;
    // Told when a window starts to run modally, once what its showing set
    // going (its activation) has run and before its loop waits for the
    // user: the place where a test stands in for the person at the window
    // (see TModalAnswerer), as the message box answerer does for boxes.
    TModalShownEvent OnModalShown;

    // Runs a handler, catching whatever escapes it: the silent abort is
    // dropped, anything else goes to HandleException. Nothing crosses the loop.
    template <typename F> void Dispatch(TObject* sender, F&& handler) noexcept {
        try {
            handler();
        } catch (...) {
            HandleException(sender);
        }
    }
    // Call only inside a catch block: hands the current exception on.
    void HandleException(TObject* sender) noexcept;
    // The standard error box, used while no hook is installed.
    void ShowException(const Exception& e);

    // A key press that a widget leaves travels on to the widgets it sits in,
    // each of which may belong to a control: true for the first control that
    // claims the key press being delivered, false for every later one, so
    // that the window's key preview and the handlers run once per key.
    static bool ClaimKeyPress(const QEvent* event);

private:
    // The stop signal's pipe became readable: end every loop.
    void StopRequested();

    std::unique_ptr<QApplication> qt_;
    std::unique_ptr<QSocketNotifier> stopNotifier_;
    TForm* mainForm_ = nullptr;
    TForm* activeForm_ = nullptr;
    bool terminated_ = false;
    bool running_ = false;
};

// The one application object of the process.
extern TApplication* Application;
