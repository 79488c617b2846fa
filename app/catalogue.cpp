#include "app/catalogue.h"

#include "app/language.h"
#include "app/text.h"
#include "app/values.h"

namespace {

// Line breaks are stored as the two characters backslash and "n"; the one
// carriage return stored as such is the break inside "errUpdateValid".
#define SUPPORT_ADDRESS u"support@tolvane.de"

struct CatalogueText {
    const char16_t* key;
    const char16_t* de;
    const char16_t* en;
    const char16_t* fr;
};

const CatalogueText kTexts[] = {
    {u"askProxy",
     u"Geben Sie den Proxy-Server ein",
     u"Enter proxy server",
     u"Entrez le serveur proxy"},
    {u"askProxyMsg",
     u"Geben Sie den Proxy-Server in folgendem Format ein (Werte durch Leerzeichen getrennt):\\n\\n"
     u"proxyServer:Port optionalerBenutzer optionalesPasswort\\n\\n"
     u"Unterstützte proxyServer-Protokolle:\\n"
     u"- http://       - HTTP-Proxy (Standard)\\n"
     u"- socks4://   - SOCKS4-Proxy\\n"
     u"- socks4a:// - SOCKS4-Proxy mit Domain-Namen-Unterstützung statt IP\\n"
     u"- socks5://   - SOCKS5-Proxy\\n"
     u"- socks5h:// - SOCKS5-Proxy und frage den Proxy zur DNS-Auflösung",
     u"Enter proxy server in the following format (values divided by space):\\n\\n"
     u"proxyServer:Port optionalUsername optionalPassword\\n\\n"
     u"Supported proxyServer protocols:\\n"
     u"- http://       - HTTP proxy (default)\\n"
     u"- socks4://   - SOCKS4 proxy\\n"
     u"- socks4a:// - SOCKS4 proxy with domain name support rather than IP address\\n"
     u"- socks5://   - SOCKS5 proxy\\n"
     u"- socks5h:// - SOCKS5 proxy and ask the proxy to do the hostname resolving",
     u"Entrez le serveur proxy dans le format suivant (valeurs séparées par des espaces) :\\n\\n"
     u"proxyServer:Port optionnelUtilisateur optionnelMotdePasse\\n\\n"
     u"Protocoles proxyServer pris en charge :\\n"
     u"- http://       - proxy HTTP (par défaut)\\n"
     u"- socks4://   - proxy SOCKS4\\n"
     u"- socks4a:// - proxy SOCKS4 avec prise en charge du nom de domaine au lieu de l'IP\\n"
     u"- socks5://   - proxy SOCKS5\\n"
     u"- socks5h:// - proxy SOCKS5 et demande au proxy de résoudre les DNS"},
    {u"errProxy",
     u"Ungültiger Server-Name oder es fehlt die Port-Angabe",
     u"Invalid server name or missing port number",
     u"Nom de serveur invalide ou port manquant"},
    {u"errDwnld",
     u"Download von [<url>] ist fehlgeschlagen!\\n\\nPrüfen Sie ihre Firewall und das Antivirus-Programm! "
     u"Bitten Sie Ihren IT-Administrator um Hilfe.",
     u"Download of [<url>] failed!\\n\\nCheck your firewall and antivirus! Ask your administrator for help.",
     u"Le téléchargement de [<url>] a échoué !\\n\\nVérifiez votre pare-feu et votre antivirus ! "
     u"Demandez de l'aide à votre administrateur IT."},
    {u"errSig",
     u"Die Signatur der heruntergeladenen Datei ist nicht gültig.\\nBitte kontaktieren Sie uns unter "
     SUPPORT_ADDRESS u".",
     u"The signature of the downloaded file is invalid!\\nPlease contact us at " SUPPORT_ADDRESS u".",
     u"La signature du fichier téléchargé n'est pas valide.\\nVeuillez nous contacter à l'adresse "
     SUPPORT_ADDRESS u"."},
    {u"errUpdateJson",
     u"Kann [<url>] nicht herunterladen oder öffnen.\\nPrüfen Sie die Internetverbindung, Antivirus-Programm "
     u"und Firewall.\\nBitten Sie Ihren IT-Administrator um Hilfe.\\n\\nMöchten Sie den Proxy-Server-Dialog öffnen?",
     u"Unable to download or open [<url>].\\nCheck internet connectivity, antivirus and firewalls.\\n"
     u"Please ask your IT administrator for help.\\n\\nDo you want me to open the proxy server dialog?",
     u"Impossible de télécharger ou d'ouvrir [<url>].\\nVérifiez la connexion Internet, l'antivirus et le "
     u"pare-feu.\\nDemandez de l'aide à votre administrateur IT.\\n\\nVoulez-vous ouvrir la boîte de dialogue "
     u"du serveur proxy ?"},
    {u"errUpdateValid",
     u"Keine gültige JSON-Datei! Vielleicht hat der Proxy-Server einen Fehler zurückgegeben?\\n"
     u"Die ersten paar empfangenen Zeichen waren: \"<extract>\"\r"
     u"Bitten Sie Ihren IT-Administrator um Hilfe.\\n\\nMöchten Sie den Proxy-Server-Dialog öffnen?",
     u"No valid JSON file! Maybe the proxy server returned an error?\\n"
     u"The first few received characters were: \"<extract>\"\r"
     u"Please ask your IT administrator for help.\\n\\nDo you want me to open the proxy server dialog?",
     u"Pas de fichier JSON valide ! Le serveur proxy a peut-être renvoyé une erreur ?\\n"
     u"Les premiers caractères reçus étaient : \"<extract>\"\r"
     u"Demandez de l'aide à votre administrateur IT.\\n\\nVoulez-vous ouvrir la boîte de dialogue du serveur proxy ?"},
    {u"winHeader",
     u"quillbox Setup-Auswahl",
     u"quillbox setup selector",
     u"quillbox Sélection d'installation"},
    {u"needWebView",
     u"quillbox benötigt den Microsoft Edge WebView2 Runtime um zu funktionieren!\\n\\n"
     u"Ich kann ihn für Dich installieren. Okay?",
     u"quillbox requires Microsoft Edge WebView2 Runtime to work!\\n\\nI can install it for you. Okay?",
     u"quillbox nécessite Microsoft Edge WebView2 Runtime pour fonctionner !\\n\\n"
     u"Je peux l'installer pour toi. D'accord ?"},
};

// Turns the stored escapes into control characters. This runs before the
// placeholders are filled, so an inserted value such as "C:\new" stays as it is.
Text convertEscapes(const Text& stored) {
    return replaceAll(replaceAll(stored, u"\\n", u"\r"), u"\\t", u"\t");
}

}  // namespace

void fillCatalogue() {
    for (const CatalogueText& text : kTexts) {
        MessageCatalogue[text.key] = CatalogueEntry{text.de, text.en, text.fr, Text()};
    }
}

Text localizedMessage(const Text& key, const Text& find1, const Text& replace1, const Text& find2,
                      const Text& replace2) {
    if (ActiveLanguage.empty()) ActiveLanguage = supportedLanguageOrEnglish(systemLanguageCode());

    const auto found = MessageCatalogue.find(key);
    const CatalogueEntry entry = found == MessageCatalogue.end() ? CatalogueEntry{} : found->second;
    Text text;
    if (ActiveLanguage == u"de") text = entry[0];
    else if (ActiveLanguage == u"en") text = entry[1];
    else if (ActiveLanguage == u"fr") text = entry[2];
    else if (ActiveLanguage == u"cn") text = entry[3];

    text = convertEscapes(text);
    text = replaceAll(text, find1, replace1);
    return replaceAll(text, find2, replace2);
}
