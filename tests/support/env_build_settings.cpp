// Build settings of the end-to-end test flavour, read from the environment
// so that one build serves every test.
#include <cstdlib>

#include "app/build_settings.h"

const char* buildUpdateListUrl() {
    const char* value = getenv("QUILLBOX_TEST_UPDATE_LIST_URL");
    return value ? value : "";
}

const char* buildDriveCFolder() {
    const char* value = getenv("QUILLBOX_TEST_DRIVE_C");
    return value ? value : "";
}
