"""The language of native texts under Wine, which takes the thread locale
from LC_ALL: the code systemLanguageCode gives and the window title that
follows from it."""
import os

import winetest as w

DRIVER = os.path.join(w.TESTS, "quillbox-test-dialogs.exe")
GERMAN, ENGLISH, FRENCH = "quillbox Setup-Auswahl", "quillbox setup selector", "quillbox Sélection d'installation"

cases = [
    ("de_DE.UTF-8", 0x0407, "de", GERMAN),
    ("de_CH.UTF-8", 0x0807, "de", GERMAN),
    ("fr_FR.UTF-8", 0x040C, "fr", FRENCH),
    ("fr_CA.UTF-8", 0x0C0C, "fr", FRENCH),
    ("en_GB.UTF-8", 0x0809, "en", ENGLISH),
    ("it_IT.UTF-8", 0x0410, "it", ENGLISH),
    ("zh_TW.UTF-8", 0x0404, "en", ENGLISH),
    ("zh_CN.UTF-8", 0x0804, "cn", ENGLISH),
]
for lc_all, locale, code, title in cases:
    result = w.Program(DRIVER, ["language"], env={"LC_ALL": lc_all}).result()
    w.check((result["locale"], result["code"], result["winHeader"]) == (locale, code, title),
            "%s: locale %04x, code %s, title %r" % (lc_all, result["locale"], result["code"], result["winHeader"]))
