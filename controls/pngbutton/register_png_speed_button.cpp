#include "controls/pngbutton/register_png_speed_button.h"

#include "controls/pngbutton/png_speed_button.h"
#include "platform/formfile/class_registry.h"

void RegisterPngSpeedButtonClass() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterSpeedButtonClass();
    RegisterClass<TPngSpeedButton>("TPngSpeedButton", "TSpeedButton")
        .Property("PngImage", &TPngSpeedButton::SetPngImageData)
        .Raw("PngOptions", [](TPngSpeedButton& b, const FormValue& v, TComponent&) {
            TPngOptions options = 0;
            for (const QString& name : FormValues::Set(v)) {
                if (name.compare(u"pngBlendOnDisabled", Qt::CaseInsensitive) == 0)
                    options |= pngBlendOnDisabled;
                else if (name.compare(u"pngGrayscaleOnDisabled", Qt::CaseInsensitive) == 0)
                    options |= pngGrayscaleOnDisabled;
                else
                    throw EPropertyValue(QStringLiteral("Invalid property value %1").arg(name));
            }
            b.SetPngOptions(options);
        });
}
