/* Stands in on Linux for the web view runtime's bootstrap installer that the
 * Windows program carries. It "installs" the runtime by creating the folder
 * whose presence the program tests,
 *   <drive C:>/Program Files (x86)/Microsoft/EdgeWebView/Application,
 * and exits with 0 (1 when the folder cannot be made).
 *
 * Where drive C: is comes from the build, as it does for the program that
 * carries the stand-in: a folder compiled in (STANDIN_DRIVE_C), or the name
 * of the environment variable that the test flavour of the program reads
 * (STANDIN_DRIVE_C_VARIABLE). When that gives no folder, drive C: is the
 * drive_c folder beside the program that started the installer, which is
 * where that program looks for it. */
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include "standin_drive_c.h"

static const char kRuntimeFolder[] = "/Program Files (x86)/Microsoft/EdgeWebView/Application";

static int makeFolders(char* path) {
    for (char* p = path + 1; *p; ++p) {
        if (*p != '/') continue;
        *p = '\0';
        const int made = mkdir(path, 0755) == 0 || errno == EEXIST;
        *p = '/';
        if (!made) return 0;
    }
    return mkdir(path, 0755) == 0 || errno == EEXIST;
}

/* The drive_c folder beside the executable of our parent process. */
static int besideStartingProgram(char* out, size_t size) {
    char link[64];
    snprintf(link, sizeof link, "/proc/%d/exe", (int)getppid());
    const ssize_t n = readlink(link, out, size - 1);
    if (n <= 0) return 0;
    out[n] = '\0';
    char* slash = strrchr(out, '/');
    if (!slash || (size_t)(slash - out) + sizeof "/drive_c" > size) return 0;
    strcpy(slash, "/drive_c");
    return 1;
}

int main(void) {
#ifdef STANDIN_DRIVE_C_VARIABLE
    const char* configured = getenv(STANDIN_DRIVE_C_VARIABLE);
#else
    const char* configured = STANDIN_DRIVE_C;
#endif
    char path[PATH_MAX];
    if (configured && *configured) {
        if (strlen(configured) >= sizeof path) return 1;
        strcpy(path, configured);
    } else if (!besideStartingProgram(path, sizeof path)) {
        return 1;
    }
    size_t length = strlen(path);
    while (length > 1 && path[length - 1] == '/') path[--length] = '\0';
    if (length + sizeof kRuntimeFolder > sizeof path) return 1;
    strcpy(path + length, kRuntimeFolder);
    if (!makeFolders(path)) {
        fprintf(stderr, "web view runtime stand-in: cannot create %s\n", path);
        return 1;
    }
    printf("web view runtime stand-in: created %s\n", path);
    return 0;
}
