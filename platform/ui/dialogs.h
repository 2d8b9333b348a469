#pragma once
// Message boxes and the beep behind one interface: the program shows Qt
// message boxes; tests install an answerer that records and answers them.

#include <QString>
#include <QStringList>
#include <cstdio>
#include <vector>

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };

struct TMessageBoxRequest {
    QString text;
    QString caption;
    TMsgDlgType type = TMsgDlgType::mtCustom;
    QStringList buttons; // captions, e.g. {"OK"}
};

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    // Shows a modal box and returns the index of the button chosen.
    virtual int Show(const TMessageBoxRequest& request) = 0;
    virtual void Beep() = 0;
};

// The boxes in use; the Qt boxes unless a test installed its own.
IMessageBoxes& MessageBoxes();
// Installs `boxes` (null restores the Qt boxes); returns the previous one.
IMessageBoxes* SetMessageBoxes(IMessageBoxes* boxes);

// A plain box with the application's title and one "OK" button.
void ShowMessage(const QString& text);
// The system's default beep.
void MessageBeep();

// Records every box and beep and answers each box with a chosen button.
class TRecordingAnswerer : public IMessageBoxes {
public:
    TRecordingAnswerer();
    ~TRecordingAnswerer() override;
    int Show(const TMessageBoxRequest& request) override;
    void Beep() override { ++beeps; }

    std::vector<TMessageBoxRequest> boxes;
    int beeps = 0;
    int answer = 0;

private:
    IMessageBoxes* previous_;
};

// The boxes of a program that nobody watches (a scheduler's run): no box is
// shown and none waits. Each box's text goes to `out` (standard error) as
// one line, its line breaks joined with a blank, and is answered with its
// first button at once; the beep is silent. Installed while it lives.
class TUnattendedMessageBoxes : public IMessageBoxes {
public:
    explicit TUnattendedMessageBoxes(std::FILE* out = stderr);
    ~TUnattendedMessageBoxes() override;
    TUnattendedMessageBoxes(const TUnattendedMessageBoxes&) = delete;
    TUnattendedMessageBoxes& operator=(const TUnattendedMessageBoxes&) = delete;
    int Show(const TMessageBoxRequest& request) override;
    void Beep() override {}

private:
    std::FILE* out_;
    IMessageBoxes* previous_;
};
