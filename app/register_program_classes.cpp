#include "app/register_program_classes.h"

#include "controls/dbimage/register_edb_image.h"
#include "controls/pngbutton/register_png_speed_button.h"
#include "controls/timeedit/register_time_edit_classes.h"
#include "data/dataset/client/register_client_classes.h"
#include "data/dataset/sql/register_sql_classes.h"
#include "data/dmqb.h"
#include "forms/accesoqb.h"
#include "forms/actarticulos.h"
#include "grid/register_grid_classes.h"
#include "platform/formfile/class_registry.h"
#include "platform/ui/register_ui_classes.h"

void RegisterProgramClasses() {
    static bool done = false;
    if (done)
        return;
    done = true;
    RegisterUiClasses();
    RegisterTimeEditClasses();
    RegisterPngSpeedButtonClass();
    RegisterGridClasses();
    RegisterEDBImageClass();
    RegisterClientClasses();
    RegisterSqlClasses();
    RegisterAbstractClass<Tfaccesoqb>(QStringLiteral("Tfaccesoqb"), QStringLiteral("TForm"));
    RegisterAbstractClass<Tfactarticulos>(QStringLiteral("Tfactarticulos"),
                                          QStringLiteral("TForm"));
    RegisterAbstractClass<Tfdmqb>(QStringLiteral("Tfdmqb"), QStringLiteral("TDataModule"));
}
