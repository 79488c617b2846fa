// Process-wide services: locale, environment, module path, temporary folder.
#include <climits>
#include <dlfcn.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/paths.h"
#include "platform/platform.h"

namespace platform {

namespace {

std::string gDriveC;

struct LocaleId {
    const char* name;  // "de" matches any country; "de_CH" one country
    unsigned id;
};

// Windows locale identifiers for POSIX locale names. A language alone gives
// its primary locale; unknown names give en-US, as "C" does.
const LocaleId kLocales[] = {
    {"de_CH", 0x0807}, {"de_AT", 0x0C07}, {"de_LU", 0x1007}, {"de_LI", 0x1407}, {"de", 0x0407},
    {"en_GB", 0x0809}, {"en_AU", 0x0C09}, {"en_CA", 0x1009}, {"en_NZ", 0x1409}, {"en_IE", 0x1809}, {"en", 0x0409},
    {"fr_BE", 0x080C}, {"fr_CA", 0x0C0C}, {"fr_CH", 0x100C}, {"fr_LU", 0x140C}, {"fr", 0x040C},
    {"zh_TW", 0x0404}, {"zh_CN", 0x0804}, {"zh_HK", 0x0C04}, {"zh_SG", 0x1004}, {"zh_MO", 0x1404}, {"zh", 0x0804},
    {"it_CH", 0x0810}, {"it", 0x0410}, {"es_MX", 0x080A}, {"es", 0x0C0A}, {"pt_PT", 0x0816}, {"pt", 0x0416},
    {"nl_BE", 0x0813}, {"nl", 0x0413}, {"sv_FI", 0x081D}, {"sv", 0x041D},
    {"ar", 0x0401}, {"bg", 0x0402}, {"ca", 0x0403}, {"cs", 0x0405}, {"da", 0x0406}, {"el", 0x0408},
    {"fi", 0x040B}, {"he", 0x040D}, {"hu", 0x040E}, {"is", 0x040F}, {"ja", 0x0411}, {"ko", 0x0412},
    {"nb", 0x0414}, {"nn", 0x0814}, {"no", 0x0414}, {"pl", 0x0415}, {"ro", 0x0418}, {"ru", 0x0419},
    {"hr", 0x041A}, {"sk", 0x041B}, {"sq", 0x041C}, {"th", 0x041E}, {"tr", 0x041F}, {"ur", 0x0420},
    {"id", 0x0421}, {"uk", 0x0422}, {"be", 0x0423}, {"sl", 0x0424}, {"et", 0x0425}, {"lv", 0x0426},
    {"lt", 0x0427}, {"fa", 0x0429}, {"vi", 0x042A}, {"hy", 0x042B}, {"az", 0x042C}, {"eu", 0x042D},
    {"mk", 0x042F}, {"af", 0x0436}, {"ka", 0x0437}, {"fo", 0x0438}, {"hi", 0x0439}, {"ms", 0x043E},
    {"kk", 0x043F}, {"ky", 0x0440}, {"sw", 0x0441}, {"uz", 0x0443}, {"tt", 0x0444}, {"pa", 0x0446},
    {"gu", 0x0447}, {"ta", 0x0449}, {"te", 0x044A}, {"kn", 0x044B}, {"mr", 0x044E}, {"sa", 0x044F},
    {"gl", 0x0456}, {"syr", 0x045A}, {"si", 0x045B},
};

}  // namespace

void initComAndControls() {}

void setDriveCFolder(const std::string& folder) {
    gDriveC = folder.empty() ? moduleFolder() + "/drive_c" : folder;
    while (gDriveC.size() > 1 && gDriveC.back() == '/') gDriveC.pop_back();
}

const std::string& driveCFolder() {
    if (gDriveC.empty()) setDriveCFolder("");
    return gDriveC;
}

std::string moduleFolder() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return ".";
    std::string path(buffer, static_cast<size_t>(n));
    const size_t slash = path.rfind('/');
    return slash == 0 ? "/" : path.substr(0, slash);
}

Text modulePath() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n <= 0 ? Text() : utf8ToText(std::string(buffer, static_cast<size_t>(n)));
}

unsigned threadLocale() {
    const char* value = nullptr;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        value = getenv(name);
        if (value && *value) break;
        value = nullptr;
    }
    if (!value) return 0x0409;
    std::string locale(value);
    locale = locale.substr(0, locale.find_first_of(".@"));
    const std::string language = locale.substr(0, locale.find('_'));
    for (const LocaleId& entry : kLocales) {
        if (locale == entry.name) return entry.id;
    }
    for (const LocaleId& entry : kLocales) {
        if (language == entry.name) return entry.id;
    }
    return 0x0409;
}

bool environmentVariable(const Text& name, Text& value) {
    const char* raw = getenv(textToUtf8(name).c_str());
    if (!raw) {
        value.clear();
        return false;
    }
    value = utf8ToText(raw);
    return true;
}

bool setEnvironmentVariable(const Text& name, const Text& value) {
    return setenv(textToUtf8(name).c_str(), textToUtf8(value).c_str(), 1) == 0;
}

Text roamingDataFolder() {
    const char* config = getenv("XDG_CONFIG_HOME");
    if (config && *config == '/') return utf8ToText(config);
    const char* home = getenv("HOME");
    return utf8ToText(std::string(home && *home ? home : "/tmp") + "/.config");
}

Text tempPath() {
    std::string folder;
    const char* tmpdir = getenv("TMPDIR");
    if (tmpdir && *tmpdir) {
        folder = tmpdir;
    } else {
        // Per user, as on Windows: a shared /tmp would let another user plant
        // files where we download setups.
        folder = "/tmp/quillbox-" + std::to_string(getuid());
        mkdir(folder.c_str(), 0700);
        struct stat info;
        if (lstat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != getuid()) return Text();
        if ((info.st_mode & 0077) != 0) chmod(folder.c_str(), 0700);
    }
    if (folder.back() != '/') folder += '/';
    return utf8ToText(folder);
}

bool longPathName(const Text& path, Text& longPath) {
    std::string native;
    struct stat info;
    if (!nativePath(path, native) || stat(native.c_str(), &info) != 0) return false;
    longPath = path;
    return true;
}

void* loadLibraryBesideProgram(const Text& fileName) {
    std::string name;
    if (fileName.find_first_of(u"\\/") != Text::npos || !nativePath(fileName, name)) return nullptr;
    return dlopen((moduleFolder() + "/" + name).c_str(), RTLD_NOW | RTLD_LOCAL);
}

// Named by its SONAME, so the loader finds it by the name it links as.
Text webViewLibraryName() { return u"libwebview.so.0.12"; }

void* librarySymbol(void* library, const char* name) { return library ? dlsym(library, name) : nullptr; }

}  // namespace platform
