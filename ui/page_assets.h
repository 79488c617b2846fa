// The six texts the selection page is built from, carried inside the program
// as NUL-terminated UTF-8 with LF line ends. The build generates their
// definitions from the files in web/ (and the DOM library's browser build).
#pragma once

extern const char pageTemplateAsset[];
extern const char styleSheetAsset[];
extern const char localisationScriptAsset[];
extern const char domLibraryAsset[];
extern const char translationTableAsset[];
extern const char pageScriptAsset[];
