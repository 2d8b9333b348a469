#include "platform/ui/data_module.h"

#include "platform/formfile/form_reader.h"
#include "platform/ui/application.h"

void TDataModule::InitModule(const THandlerTable& handlers, const QString& descriptionFile) {
    ReadComponentResource(*this, handlers, descriptionFile);
    BindComponents();
    if (OnCreate)
        Application->Dispatch(this, [this] { OnCreate(this); });
}
