// The process-wide values, set once at start in this order and kept for the run.
#pragma once

#include <array>
#include <map>
#include <vector>

#include "platform/platform.h"

// German, English, French, and a text for "cn" that no key fills.
using CatalogueEntry = std::array<Text, 4>;

extern Text ActiveLanguage;
extern Text UpdateListUrl;
extern std::map<Text, CatalogueEntry> MessageCatalogue;
extern std::vector<Text> LanguageTable;
extern Text SupportedLanguages;

// Sets the values in their order; the catalogue starts empty.
void setProcessValues(const Text& updateListUrl);
