#include "platform/ui/dialogs.h"

#include "platform/system/one_line.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

class QtMessageBoxes : public IMessageBoxes {
public:
    int Show(const TMessageBoxRequest& request) override {
        QMessageBox box;
        box.setWindowTitle(request.caption);
        box.setText(request.text);
        switch (request.type) {
        case TMsgDlgType::mtWarning:
            box.setIcon(QMessageBox::Warning);
            break;
        case TMsgDlgType::mtError:
            box.setIcon(QMessageBox::Critical);
            break;
        case TMsgDlgType::mtInformation:
            box.setIcon(QMessageBox::Information);
            break;
        case TMsgDlgType::mtConfirmation:
            box.setIcon(QMessageBox::Question);
            break;
        case TMsgDlgType::mtCustom:
            box.setIcon(QMessageBox::NoIcon);
            break;
        }
        std::vector<QAbstractButton*> buttons;
        for (const QString& caption : request.buttons)
            buttons.push_back(box.addButton(caption, QMessageBox::AcceptRole));
        box.exec();
        for (size_t i = 0; i < buttons.size(); ++i)
            if (box.clickedButton() == buttons[i])
                return static_cast<int>(i);
        return 0;
    }
    void Beep() override { QApplication::beep(); }
};

QtMessageBoxes gQtBoxes;
IMessageBoxes* gBoxes = nullptr;

} // namespace

IMessageBoxes& MessageBoxes() {
    return gBoxes ? *gBoxes : gQtBoxes;
}

IMessageBoxes* SetMessageBoxes(IMessageBoxes* boxes) {
    IMessageBoxes* previous = gBoxes;
    gBoxes = boxes;
    return previous;
}

void ShowMessage(const QString& text) {
    MessageBoxes().Show(
        {text, QApplication::applicationName(), TMsgDlgType::mtCustom, {QStringLiteral("OK")}});
}

void MessageBeep() {
    MessageBoxes().Beep();
}

TRecordingAnswerer::TRecordingAnswerer() : previous_(SetMessageBoxes(this)) {}

TRecordingAnswerer::~TRecordingAnswerer() {
    SetMessageBoxes(previous_);
}

int TRecordingAnswerer::Show(const TMessageBoxRequest& request) {
    boxes.push_back(request);
    return answer;
}

TUnattendedMessageBoxes::TUnattendedMessageBoxes(std::FILE* out)
    : out_(out), previous_(SetMessageBoxes(this)) {}

TUnattendedMessageBoxes::~TUnattendedMessageBoxes() {
    SetMessageBoxes(previous_);
}

int TUnattendedMessageBoxes::Show(const TMessageBoxRequest& request) {
    const QByteArray bytes = OneLine(request.text).trimmed().toLocal8Bit() + '\n';
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), out_);
    std::fflush(out_);
    return 0;
}
