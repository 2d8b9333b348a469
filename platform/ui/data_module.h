#pragma once
// A data module: a non-visual root that owns connections, queries and the
// program's error routines, read from its own form description.

#include "platform/core/component.h"
#include "platform/core/events.h"
#include "platform/formfile/class_registry.h"

class TDataModule : public TComponent {
public:
    explicit TDataModule(TComponent* owner) : TComponent(owner) {}
    QString ClassName() const override { return QStringLiteral("TDataModule"); }

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;

protected:
    // Reads the description and runs OnCreate through the dispatcher.
    void InitModule(const THandlerTable& handlers, const QString& descriptionFile);
    // Called between reading the description and OnCreate: find components by name here.
    virtual void BindComponents() {}
};
