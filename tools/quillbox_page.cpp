// quillbox-page LIST_FILE LANG: prints the selection page that the program
// would show for that update list and language, so that the page can be
// looked at and tested in an ordinary browser.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "platform/platform.h"
#include "ui/assemble_page.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: quillbox-page LIST_FILE LANG\n";
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::cerr << "quillbox-page: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string list((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        std::cerr << "quillbox-page: cannot read " << argv[1] << "\n";
        return 1;
    }
    const std::string page =
        platform::textToUtf8(assemblePage(platform::utf8ToText(list), platform::utf8ToText(argv[2])));
    std::cout.write(page.data(), static_cast<std::streamsize>(page.size()));
    std::cout.flush();
    return std::cout ? 0 : 1;
}
