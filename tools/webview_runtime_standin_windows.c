/* Stands in, in test builds of the Windows program, for the web view
 * runtime's bootstrap installer that a release carries. It "installs" the
 * runtime by creating the folder whose presence the program tests,
 *   C:\Program Files (x86)\Microsoft\EdgeWebView\Application,
 * and exits with 0 (1 when the folder cannot be made). */
#include <windows.h>
#include <stdio.h>

static const wchar_t kRuntimeFolder[] = L"C:\\Program Files (x86)\\Microsoft\\EdgeWebView\\Application";

int wmain(void) {
    wchar_t path[MAX_PATH];
    wcscpy(path, kRuntimeFolder);
    /* Each folder from the drive down, the last one included. */
    for (wchar_t* p = path + 3;; ++p) {
        if (*p != L'\\' && *p != L'\0') continue;
        const wchar_t kept = *p;
        *p = L'\0';
        if (!CreateDirectoryW(path, NULL) && GetLastError() != ERROR_ALREADY_EXISTS) {
            fwprintf(stderr, L"web view runtime stand-in: cannot create %ls\n", path);
            return 1;
        }
        *p = kept;
        if (kept == L'\0') break;
    }
    wprintf(L"web view runtime stand-in: created %ls\n", kRuntimeFolder);
    return 0;
}
