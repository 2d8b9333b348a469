#include "platform/ui/modal_answerer.h"

#include "platform/ui/form.h"

TModalAnswerer::TModalAnswerer() : previous_(Application->OnModalShown) {
    Application->OnModalShown = [this](TForm* form) {
        shown.push_back(form->ClassName());
        if (answer)
            answer(*form);
        else
            form->Close();
    };
}

TModalAnswerer::~TModalAnswerer() {
    Application->OnModalShown = previous_;
}
