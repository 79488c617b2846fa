// The language of native texts, from the Windows thread locale.
#pragma once

#include "platform/platform.h"

// A two-letter lower-case code, never empty; "cn" for Chinese outside
// Taiwan, Hong Kong and Macao.
Text systemLanguageCode();
// The same rule for a given locale identifier.
Text languageCodeForLocale(unsigned localeId);
// "de", "en" or "fr": the code when SupportedLanguages holds it, else "en".
Text supportedLanguageOrEnglish(const Text& code);
