// The native texts: one catalogue entry per key, in German, English and French.
#pragma once

#include "platform/platform.h"

// Fills MessageCatalogue with its nine keys.
void fillCatalogue();

// The text of key in ActiveLanguage (chosen at the first call) with up to two
// placeholders filled in; a pair whose find text is empty is not applied.
// Stored "\n" and "\t" become a carriage return and a tab.
Text localizedMessage(const Text& key, const Text& find1 = Text(), const Text& replace1 = Text(),
                      const Text& find2 = Text(), const Text& replace2 = Text());
