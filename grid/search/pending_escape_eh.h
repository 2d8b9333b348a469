#pragma once
// TPendingEscapeEh: tells a long search whether the user has pressed Esc
// since it began, without taking the key away. To look, it lets the events
// that are waiting come in, with timers and sockets left waiting: input
// events (keys, mouse) are held back, each one kept, and given back to the
// event queue in their order when the probe ends, so that the Esc still
// reaches the control it was meant for once the search has returned.
// Everything else that was waiting (paints, posted calls) runs as it comes.

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <memory>
#include <vector>

class TPendingEscapeEh : public QObject {
public:
    TPendingEscapeEh();
    ~TPendingEscapeEh() override;
    TPendingEscapeEh(const TPendingEscapeEh&) = delete;
    TPendingEscapeEh& operator=(const TPendingEscapeEh&) = delete;

    // True once an Esc key press has come in. The first call looks at once,
    // later ones at most every few milliseconds (a look costs more than a
    // cell, and even the clock is read only every so many calls).
    bool Pending();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct THeld {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::vector<THeld> held_;
    QElapsedTimer sinceLook_;
    unsigned calls_ = 0;
    bool escape_ = false;
};
