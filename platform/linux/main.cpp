// The process entry. The command line is ignored, as the program takes none.
#include "app/entry.h"

int main() { return appEntry(); }
