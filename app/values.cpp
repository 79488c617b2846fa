#include "app/values.h"

Text ActiveLanguage;
Text UpdateListUrl;
std::map<Text, CatalogueEntry> MessageCatalogue;
std::vector<Text> LanguageTable;
Text SupportedLanguages;

void setProcessValues(const Text& updateListUrl) {
    ActiveLanguage.clear();
    UpdateListUrl = updateListUrl;
    MessageCatalogue.clear();
    LanguageTable.assign(91, Text());
    SupportedLanguages = u"DE EN FR";
}
