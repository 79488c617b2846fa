/* A program for the start tests: each run appends one line, its command
 * line and its working directory separated by "|", to the file named like
 * the program with ".started" appended. Copies under other names keep
 * their own records. */
#include <windows.h>
#include <stdio.h>

int wmain(void) {
    wchar_t module[MAX_PATH + 16], folder[MAX_PATH];
    const DWORD n = GetModuleFileNameW(NULL, module, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return 1;
    wcscat(module, L".started");
    GetCurrentDirectoryW(MAX_PATH, folder);
    FILE* log = _wfopen(module, L"ab");
    if (!log) return 1;
    /* UTF-8, one line per run. */
    char line[3 * 32768];
    wchar_t text[32768];
    _snwprintf(text, 32767, L"%ls|%ls\n", GetCommandLineW(), folder);
    text[32767] = 0;
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, line, sizeof line, NULL, NULL);
    if (bytes > 1) fwrite(line, 1, (size_t)bytes - 1, log);
    fclose(log);
    return 0;
}
