// The detectors over fixture folders that stand for drive C:.
#include <gtest/gtest.h>

#include <functional>

#include "probe/mail_clients.h"
#include "tests/support/fixtures.h"

namespace {

using Detector = std::optional<std::string> (*)(const Text&);

struct DetectorCase {
    const char* name;
    Detector detector;
    std::vector<std::string> files;    // non-empty files under drive C:
    std::vector<std::string> empties;  // zero-byte files
    std::vector<std::string> folders;
    bool found;
};

const char* kOffice64 = "Program Files/Microsoft Office/root/Office";
const char* kOffice32 = "Program Files (x86)/Microsoft Office/root/Office";

TEST(MailClients, DetectorsOverFixtureDrives) {
    const std::string tb1 = "Program Files/Mozilla Thunderbird/thunderbird.exe";
    const std::string tb2 = "Program Files (x86)/Mozilla Thunderbird/thunderbird.exe";
    const std::string o64 = kOffice64, o32 = kOffice32;
    const std::string apps = "Program Files/WindowsApps/Microsoft.OutlookForWindows_1.2023.1214.201_x64__8wekyb3d8bbwe/olk.exe";
    const DetectorCase cases[] = {
        {"nothing installed: thunderbird", detectThunderbird, {}, {}, {}, false},
        {"nothing installed: classic 32", detectOutlookClassic32, {}, {}, {}, false},
        {"nothing installed: classic 64", detectOutlookClassic64, {}, {}, {}, false},
        {"nothing installed: new", detectOutlookNew, {}, {}, {}, false},
        {"empty first thunderbird, real second", detectThunderbird, {tb2}, {tb1}, {}, true},
        {"empty thunderbird only", detectThunderbird, {}, {tb1, tb2}, {}, false},
        {"thunderbird as a folder", detectThunderbird, {}, {}, {tb1}, false},
        {"outlook.exe folder in Office16, file in Office17", detectOutlookClassic64, {o64 + "17/outlook.exe"}, {},
         {o64 + "16/outlook.exe"}, true},
        {"outlook.exe folder in Office16 only", detectOutlookClassic64, {}, {}, {o64 + "16/outlook.exe"}, false},
        {"classic 64 at the ends of its range", detectOutlookClassic64, {o64 + "40/outlook.exe"}, {}, {}, true},
        {"classic 64 past its range", detectOutlookClassic64, {o64 + "41/outlook.exe", o64 + "14/outlook.exe"}, {}, {}, false},
        {"Office16 under the 32-bit prefix", detectOutlookClassic32, {o32 + "16/outlook.exe"}, {}, {}, false},
        {"Office2019 under the 32-bit prefix", detectOutlookClassic32, {o32 + "2019/outlook.exe"}, {}, {}, true},
        {"Office2040 under the 32-bit prefix", detectOutlookClassic32, {o32 + "2040/outlook.exe"}, {}, {}, true},
        {"a 64-bit office is not a 32-bit one", detectOutlookClassic32, {o64 + "2019/outlook.exe"}, {}, {}, false},
        {"new outlook: package file skipped", detectOutlookNew, {"Users/anna/AppData/Local/Packages/Microsoft.OutlookForWindows_x"}, {}, {}, false},
        {"new outlook: empty package folder", detectOutlookNew, {}, {}, {"Users/anna/AppData/Local/Packages/Microsoft.OutlookForWindows_x"}, true},
        {"new outlook: file beside a folder", detectOutlookNew, {"Users/anna/AppData/Local/Packages/Microsoft.OutlookForWindows_a"}, {},
         {"Users/anna/AppData/Local/Packages/microsoft.outlookforwindows_8wekyb3d8bbwe"}, true},
        {"new outlook: the WindowsApps program", detectOutlookNew, {apps}, {}, {}, true},
    };
    for (const DetectorCase& c : cases) {
        TempFolder drive("drive");
        for (const std::string& file : c.files) writeFile(drive / file, "MZ");
        for (const std::string& file : c.empties) writeFile(drive / file, "");
        for (const std::string& folder : c.folders) makeFolders(drive / folder);
        platform::setDriveCFolder(drive.path());
        EnvGuard local("LOCALAPPDATA", "C:\\Users\\anna\\AppData\\Local");
        const std::string expected = c.found ? FoundReplyYes : FoundReplyNo;
        EXPECT_EQ(c.detector(u"[]"), expected) << c.name;
        EXPECT_EQ(c.detector(u"[1, \"x\"]"), expected) << c.name << " (arguments are ignored)";
    }
    EXPECT_EQ(FoundReplyYes, "{ \"found\": 1 }");
    EXPECT_EQ(FoundReplyNo.size(), 14u);
}

TEST(MailClients, NewOutlookWithoutLocalAppData) {
    TempFolder drive("drive");
    makeFolders(drive / "Packages/Microsoft.OutlookForWindows_1");
    platform::setDriveCFolder(drive.path());
    {
        // "\Packages\" at the root of the current drive.
        EnvGuard local("LOCALAPPDATA", nullptr);
        EXPECT_EQ(detectOutlookNew(u"[]"), FoundReplyYes);
    }
    TempFolder other("drive");
    platform::setDriveCFolder(other.path());
    EnvGuard local("LOCALAPPDATA", nullptr);
    EXPECT_EQ(detectOutlookNew(u"[]"), FoundReplyNo);
}

}  // namespace
