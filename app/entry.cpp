#include "app/entry.h"

#include "app/build_settings.h"
#include "app/catalogue.h"
#include "app/main_flow.h"
#include "app/values.h"

int appEntry() {
    platform::initComAndControls();
    platform::setDriveCFolder(buildDriveCFolder());
    setProcessValues(platform::utf8ToText(buildUpdateListUrl()));
    fillCatalogue();
    mainFlow();
    // Shutdown: windows, libraries and the heap go with the process; the
    // downloaded setups stay where they are.
    return 0;
}
