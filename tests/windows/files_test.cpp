// pathSize, the temporary folder and the detectors over the real files of
// the prefix's drive C:, through the Windows file functions themselves.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/path_size.h"
#include "probe/mail_clients.h"
#include "tests/windows/win_fixtures.h"

namespace {

TEST(WinPathSize, FilesFoldersAndWhatNeverCounts) {
    TempFolder folder("size");
    writeFile(folder / "data/file.bin", std::string(1234, 'x'));
    writeFile(folder / "data/empty.txt", "");
    makeFolders(folder / "data/folder");
    const std::string base = folder.path();
    struct Case {
        std::string path;
        int64_t size;
    } cases[] = {
        {base + "\\data\\file.bin", 1234},
        {base + "/data/file.bin", 1234},
        {base + "\\DATA\\FILE.BIN", 1234},             // names compare without case
        {base + "\\data\\folder\\..\\file.bin", 1234},
        {base + "\\data\\empty.txt", 0},
        {base + "\\data\\folder", -2},
        {base + "\\data\\folder\\\\//", -2},           // trailing separators are ignored
        {base + "\\data\\file.bin\\", 1234},
        {base + "\\data\\file.*", -1},                 // FindFirstFileW matches; PathFileExistsW does not
        {base + "\\data\\*", -1},
        {base + "\\data\\fil?.bin", -1},
        {base + "\\data\\missing.bin", -1},
        {base + "\\data\\file.bin\\below", -1},
        {base + "\\data\\bad|name", -1},
        {"C:", -2},
        {"c:\\", -2},
        {"", -1},
        {"\\\\", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(pathSize(T(c.path)), c.size) << c.path;

    // A drive letter that names no drive.
    const DWORD drives = GetLogicalDrives();
    for (char letter = 'Q'; letter <= 'Y'; ++letter) {
        if (drives & (1u << (letter - 'A'))) continue;
        EXPECT_EQ(pathSize(T(std::string(1, letter) + ":\\")), -1) << letter;
        EXPECT_EQ(pathSize(T(std::string(1, letter) + ":")), -1) << letter;
        break;
    }
}

TEST(WinPathSize, DotDotNamesTheParentFolder) {
    TempFolder folder("dots");
    writeFile(folder / "file.bin", "12345");
    makeFolders(folder / "inner");
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(reinterpret_cast<const wchar_t*>(T(folder / "inner").c_str())));
    EXPECT_EQ(pathSize(u".."), -2);
    EXPECT_EQ(pathSize(u"..\\"), -2);
    EXPECT_EQ(pathSize(u"..\\file.bin"), 5);
    EXPECT_EQ(pathSize(u"..\\inner"), -2);
    SetCurrentDirectoryW(previous);
}

TEST(WinTemporaryFolder, LongFormWithTrailingBackslash) {
    const Text plain = temporaryFolder();
    ASSERT_FALSE(plain.empty());
    EXPECT_EQ(plain.back(), u'\\');
    EXPECT_EQ(pathSize(plain), -2);

    // TMP in its short form comes back long.
    TempFolder folder("temp");
    makeFolders(folder / "A Long Folder Name");
    const Text longForm = T(folder.path() + "\\A Long Folder Name");
    wchar_t shortForm[MAX_PATH];
    ASSERT_GT(GetShortPathNameW(reinterpret_cast<const wchar_t*>(longForm.c_str()), shortForm, MAX_PATH), 0u);
    const std::string shortPath = U(Text(reinterpret_cast<const char16_t*>(shortForm)));
    ASSERT_EQ(shortPath.find("A Long Folder Name"), std::string::npos) << shortPath;
    {
        EnvGuard tmp("TMP", (shortPath + "\\").c_str());
        EXPECT_EQ(temporaryFolder(), longForm + u"\\");
    }
    {
        EnvGuard tmp("TMP", shortPath.c_str());  // GetTempPathW adds the backslash
        EXPECT_EQ(temporaryFolder(), longForm + u"\\");
    }
    {
        // The long form of a folder that is not there cannot be had.
        EnvGuard tmp("TMP", (folder.path() + "\\missing\\").c_str());
        EXPECT_EQ(temporaryFolder(), u"");
    }
}

const char* kThunderbird64 = "C:\\Program Files\\Mozilla Thunderbird";
const char* kThunderbird32 = "C:\\Program Files (x86)\\Mozilla Thunderbird";
const char* kOffice64 = "C:\\Program Files\\Microsoft Office";
const char* kOffice32 = "C:\\Program Files (x86)\\Microsoft Office";
const char* kWindowsApps = "C:\\Program Files\\WindowsApps";

using Detector = std::optional<std::string> (*)(const Text&);

struct Placed {
    const char* top;
    std::string below;
    enum Kind { File, Empty, Folder } kind;
};

struct DetectorCase {
    const char* name;
    Detector detector;
    std::vector<Placed> placed;
    bool found;
};

TEST(WinMailClients, DetectorsOverTheRealDriveC) {
    TempFolder local("local");  // stands for LOCALAPPDATA
    const std::string packages = local.path() + "\\Packages";
    const std::string olk = "Microsoft.OutlookForWindows_1.2023.1214.201_x64__8wekyb3d8bbwe\\olk.exe";
    const DetectorCase cases[] = {
        {"nothing installed: thunderbird", detectThunderbird, {}, false},
        {"nothing installed: classic 32", detectOutlookClassic32, {}, false},
        {"nothing installed: classic 64", detectOutlookClassic64, {}, false},
        {"nothing installed: new", detectOutlookNew, {}, false},
        {"empty first thunderbird, real second", detectThunderbird,
         {{kThunderbird64, "thunderbird.exe", Placed::Empty}, {kThunderbird32, "thunderbird.exe", Placed::File}}, true},
        {"thunderbird as a folder", detectThunderbird, {{kThunderbird64, "thunderbird.exe", Placed::Folder}}, false},
        {"outlook.exe folder in Office16, file in Office17", detectOutlookClassic64,
         {{kOffice64, "root\\Office16\\outlook.exe", Placed::Folder},
          {kOffice64, "root\\Office17\\OUTLOOK.EXE", Placed::File}}, true},
        {"classic 64 at the end of its range", detectOutlookClassic64, {{kOffice64, "root\\Office40\\outlook.exe", Placed::File}}, true},
        {"classic 64 past its range", detectOutlookClassic64,
         {{kOffice64, "root\\Office41\\outlook.exe", Placed::File}, {kOffice64, "root\\Office14\\outlook.exe", Placed::File}}, false},
        {"Office16 under the 32-bit folder", detectOutlookClassic32, {{kOffice32, "root\\Office16\\outlook.exe", Placed::File}}, false},
        {"Office2019 under the 32-bit folder", detectOutlookClassic32, {{kOffice32, "root\\Office2019\\outlook.exe", Placed::File}}, true},
        {"a 64-bit office is not a 32-bit one", detectOutlookClassic32, {{kOffice64, "root\\Office2019\\outlook.exe", Placed::File}}, false},
        {"new outlook: the WindowsApps program", detectOutlookNew, {{kWindowsApps, olk, Placed::File}}, true},
    };
    EnvGuard localAppData("LOCALAPPDATA", local.path().c_str());
    for (const DetectorCase& c : cases) {
        FixedFolders drive;
        for (const Placed& p : c.placed) {
            ASSERT_TRUE(drive.add(p.top, p.below, p.kind == Placed::File ? "MZ" : "", p.kind == Placed::Folder))
                << c.name << ": " << p.top << " must not exist before the test";
        }
        const std::string expected = c.found ? FoundReplyYes : FoundReplyNo;
        EXPECT_EQ(c.detector(u"[]"), expected) << c.name;
        EXPECT_EQ(c.detector(u"[1, \"x\"]"), expected) << c.name << " (arguments are ignored)";
    }

    // The package folder, matched without case; files of that name are skipped.
    writeFile(packages + "\\Microsoft.OutlookForWindows_file", "x");
    EXPECT_EQ(detectOutlookNew(u"[]"), FoundReplyNo);
    makeFolders(packages + "\\microsoft.outlookforwindows_8wekyb3d8bbwe");
    EXPECT_EQ(detectOutlookNew(u"[]"), FoundReplyYes);
}

TEST(WinMailClients, NewOutlookWithoutLocalAppDataLooksAtTheCurrentDrive) {
    EnvGuard localAppData("LOCALAPPDATA", nullptr);
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(L"C:\\");
    {
        FixedFolders drive;
        ASSERT_TRUE(drive.add("C:\\Packages", "Microsoft.OutlookForWindows_1", "", true));
        EXPECT_EQ(detectOutlookNew(u"[]"), FoundReplyYes);
    }
    EXPECT_EQ(detectOutlookNew(u"[]"), FoundReplyNo);
    SetCurrentDirectoryW(previous);
}

}  // namespace

namespace {

TEST(WinFileSharing, TheShareModesOfTheProgramsOpeners) {
    TempFolder folder("share");
    const Text path = T(folder / "list.json");
    writeFile(folder / "list.json", "{}");
    {
        // Not shared: nobody else gets in, not even to delete it.
        platform::File holder;
        ASSERT_TRUE(holder.openForRead(path, platform::Share::Exclusive));
        platform::File other;
        EXPECT_FALSE(other.openForRead(path, platform::Share::Read));
        EXPECT_FALSE(other.create(path, platform::Share::Read));
        EXPECT_FALSE(platform::deleteFile(path));
    }
    EXPECT_EQ(readFile(folder / "list.json"), "{}") << "nothing lost";
    {
        // Shared for reading: readers that share writing are refused, since
        // the holder writes; once it only reads, readers get in, writers not.
        platform::File writer;
        ASSERT_TRUE(writer.create(path, platform::Share::Read));
        EXPECT_EQ(writer.write("abc", 3), 3u);
        platform::File reader;
        EXPECT_FALSE(reader.openForRead(path, platform::Share::Read));
        writer.close();
        platform::File held;
        ASSERT_TRUE(held.openForRead(path, platform::Share::Read));
        EXPECT_TRUE(reader.openForRead(path, platform::Share::Read));
        char buffer[8];
        EXPECT_EQ(reader.read(buffer, sizeof buffer), 3u);
        platform::File truncating;
        EXPECT_FALSE(truncating.openAndTruncate(path, platform::Share::Read));
        EXPECT_FALSE(platform::deleteFile(path));
    }
    EXPECT_TRUE(platform::deleteFile(path));
    EXPECT_FALSE(fileExists(folder / "list.json"));

    // Names Windows refuses, a folder in the file's place, a path below a file.
    platform::File file;
    for (const char* name : {"a<b", "a>b", "a\"b", "a|b", "a?b", "a*b", "a\x01" "b"}) {
        EXPECT_FALSE(file.create(T(folder / name), platform::Share::Read)) << name;
    }
    makeFolders(folder / "dir");
    EXPECT_FALSE(file.create(T(folder / "dir"), platform::Share::Read));
    EXPECT_FALSE(platform::deleteFile(T(folder / "dir")));
    writeFile(folder / "old.bin", "old content");
    EXPECT_FALSE(file.create(T(folder / "old.bin/below"), platform::Share::Read));
    ASSERT_TRUE(file.create(T(folder / "old.bin"), platform::Share::Read));
    file.close();
    EXPECT_EQ(readFile(folder / "old.bin"), "") << "created over an old file: emptied";
}

}  // namespace

namespace {

TEST(WinSystem, ModuleFoldersAndEnvironment) {
    const Text module = platform::modulePath();
    EXPECT_EQ(U(module).substr(U(module).size() - std::string("\\windows_unit_tests.exe").size()),
              "\\windows_unit_tests.exe");
    EXPECT_GT(pathSize(module), 0);

    Text appData;
    ASSERT_TRUE(platform::environmentVariable(u"APPDATA", appData));
    EXPECT_EQ(platform::roamingDataFolder(), appData);

    // Longer than a first buffer, with characters outside ASCII; empty is
    // not unset.
    const Text value = Text(300, u'x') + u"\u00E4\u20AC\U0001F600";
    ASSERT_TRUE(platform::setEnvironmentVariable(u"QUILLBOX_TEST_VALUE", value));
    Text read;
    EXPECT_TRUE(platform::environmentVariable(u"QUILLBOX_TEST_VALUE", read));
    EXPECT_EQ(read, value);
    ASSERT_TRUE(platform::setEnvironmentVariable(u"QUILLBOX_TEST_VALUE", u""));
    EXPECT_TRUE(platform::environmentVariable(u"QUILLBOX_TEST_VALUE", read));
    EXPECT_EQ(read, u"");
    SetEnvironmentVariableW(L"QUILLBOX_TEST_VALUE", nullptr);
    EXPECT_FALSE(platform::environmentVariable(u"QUILLBOX_TEST_VALUE", read));
    EXPECT_EQ(read, u"");
    EXPECT_TRUE(platform::environmentVariable(u"PATH", read));
}

}  // namespace
