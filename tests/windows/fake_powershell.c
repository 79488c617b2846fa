/* Stands in for powershell.exe in the hardening tests. It prints a report
 * of a valid signature by "CN=tolvane GmbH" for the file named after
 * -LiteralPath '...', but only while nobody can open that file for writing:
 * so a Valid report proves the program asking held the file against
 * change. Otherwise it reports the file as not signed. */
#include <windows.h>
#include <stdio.h>
#include <wchar.h>

static int heldAgainstWriting(const wchar_t* path) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, NULL,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return 0;
    }
    return GetLastError() == ERROR_SHARING_VIOLATION;
}

int wmain(void) {
    const wchar_t* line = GetCommandLineW();
    const wchar_t* start = wcsstr(line, L"-LiteralPath '");
    wchar_t path[MAX_PATH] = L"";
    if (start) {
        start += wcslen(L"-LiteralPath '");
        const wchar_t* end = wcschr(start, L'\'');
        if (end && end - start < MAX_PATH) {
            wcsncpy(path, start, (size_t)(end - start));
            path[end - start] = 0;
        }
    }
    const int valid = path[0] && heldAgainstWriting(path);
    printf("\r\n\r\nStatus            : %s\r\n", valid ? "Valid" : "NotSigned");
    printf("SignerCertificate : [Subject]\r\n                      CN=tolvane GmbH, O=tolvane GmbH\r\n\r\n");
    printf("                    [Issuer]\r\n                      CN=Test CA\r\n\r\n\r\n");
    return 0;
}
