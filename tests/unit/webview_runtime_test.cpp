// The web view runtime: the presence test over a fixture drive C:, the
// installer written to the temporary folder, run and deleted, the two
// failure messages, and the question at the start of the main flow.
#include <gtest/gtest.h>

#include <string>

#include "app/catalogue.h"
#include "app/main_flow.h"
#include "app/message_box.h"
#include "app/values.h"
#include "probe/webview_runtime.h"
#include "resources/runtime_installer.h"
#include "tests/support/fixtures.h"
#include "tests/support/scripted_gui.h"

namespace {

const std::string kX86Folder = "Program Files (x86)/Microsoft/EdgeWebView/Application";
const std::string kNativeFolder = "Program Files/Microsoft/EdgeWebView/Application";
const std::string kInstaller = "MicrosoftEdgeWebview2Setup.exe";

TEST(WebViewRuntime, PresentOnlyWhenAFixedFolderIsAFolder) {
    struct Case {
        const char* name;
        std::vector<std::string> folders;
        std::vector<std::string> files;
        bool present;
    } cases[] = {
        {"first folder only", {kX86Folder}, {}, true},
        {"second folder only", {kNativeFolder}, {}, true},
        {"both", {kX86Folder, kNativeFolder}, {}, true},
        {"a file in place of the first", {}, {kX86Folder}, false},
        {"a file in place of the first, the second a folder", {kNativeFolder}, {kX86Folder}, true},
        {"the parent folder only", {"Program Files (x86)/Microsoft/EdgeWebView"}, {}, false},
        {"another version's folder", {"Program Files (x86)/Microsoft/EdgeWebView/Application2"}, {}, false},
        {"none", {}, {}, false},
    };
    for (const Case& c : cases) {
        TempFolder drive("drive");
        for (const std::string& folder : c.folders) makeFolders(drive / folder);
        for (const std::string& file : c.files) writeFile(drive / file, "MZ");
        platform::setDriveCFolder(drive.path());
        EXPECT_EQ(webViewRuntimePresent(), c.present) << c.name;
    }
}

class RuntimeInstaller : public ::testing::Test {
protected:
    void SetUp() override {
        setProcessValues(u"https://example.invalid/update.json");
        fillCatalogue();
        ActiveLanguage = u"en";
        scripted::reset();
        platform::setDriveCFolder(drive.path());
    }
    std::string installerPath() const { return tmp / kInstaller; }
    static std::string failure(const std::string& path, const char* reason) {
        return "I failed extracting the Microsoft WebView2 installer to [" + path + "] (" + reason +
               "). Please ensure permissions and stop any AntiVirus from intercepting my work.";
    }
    static bool install(const std::string& installer) {
        return installWebViewRuntimeFrom(reinterpret_cast<const unsigned char*>(installer.data()), installer.size());
    }

    TempFolder tmp{"tmp"};
    TempFolder drive{"drive"};
    TempFolder results{"results"};
    EnvGuard tmpdir{"TMPDIR", tmp.path().c_str()};
    EnvGuard driveVariable{"QUILLBOX_TEST_DRIVE_C", drive.path().c_str()};
};

TEST_F(RuntimeInstaller, RunsAByteIdenticalCopyToItsEndAndDeletesIt) {
    // An installer that copies itself and says from where it ran; a left-over
    // larger file at the path must not leave a tail behind.
    const std::string copier = "#!/bin/sh\ncp \"$0\" \"$COPY/copy\"\nprintf %s \"$0\" > \"$COPY/ran-from\"\n" +
                               std::string(5000, '#') + "\n";
    EnvGuard copy("COPY", results.path().c_str());
    writeFile(installerPath(), std::string(20000, 'L'));

    EXPECT_TRUE(install(copier));
    EXPECT_EQ(readFile(results / "copy"), copier) << "written byte for byte, and run to its end";
    EXPECT_EQ(readFile(results / "ran-from"), installerPath());
    EXPECT_FALSE(fileExists(installerPath())) << "deleted after the run";
    EXPECT_TRUE(scripted::boxes.empty());
}

TEST_F(RuntimeInstaller, AFailingOrMissingInstallerStillCounts) {
    struct Case {
        const char* name;
        std::string installer;
    } cases[] = {
        {"cancelled by the user", "#!/bin/sh\nexit 1\n"},
        {"not a program at all", "MZ this is no program for this system"},
    };
    for (const Case& c : cases) {
        scripted::reset();
        EXPECT_TRUE(install(c.installer)) << c.name;
        EXPECT_FALSE(fileExists(installerPath())) << c.name;
        EXPECT_TRUE(scripted::boxes.empty()) << c.name;
    }
}

TEST_F(RuntimeInstaller, FailuresAreReportedWithTheFullPath) {
    const std::string installer = "#!/bin/sh\ntouch \"$COPY/ran\"\n";
    EnvGuard copy("COPY", results.path().c_str());
    TempFolder other("tmp");
    writeFile(other / "plain-file", "x");
    platform::File holder;

    struct Case {
        const char* name;
        std::string tmpdir;
        std::string path;  // as the message shows it
        const char* reason;
        std::string payload;
    } cases[] = {
        // A directory where the file should be: it cannot be created or opened.
        {"a directory in the way", tmp.path(), installerPath(), "extract failed", installer},
        // The temporary folder is a regular file: nothing can be created in it.
        {"temporary folder is a file", other / "plain-file", other / "plain-file/" + kInstaller, "extract failed",
         installer},
        // Held open by another opener: neither replaced nor emptied.
        {"file in use", other.path(), other / kInstaller, "extract failed", installer},
        // Written, but nothing there to run: an empty file.
        {"empty after writing", other.path() + "/empty", other / "empty/" + kInstaller, "not found after extract", ""},
    };
    makeFolders(installerPath());
    writeFile(other / kInstaller, "held");
    ASSERT_TRUE(holder.openForRead(T(other / kInstaller), platform::Share::Read));
    makeFolders(other / "empty");

    for (const Case& c : cases) {
        scripted::reset();
        EnvGuard env("TMPDIR", c.tmpdir.c_str());
        EXPECT_FALSE(install(c.payload)) << c.name;
        ASSERT_EQ(scripted::boxes.size(), 1u) << c.name;
        EXPECT_EQ(scripted::boxes[0].title, u"quillbox Setup Selection Tool") << c.name;
        EXPECT_EQ(U(scripted::boxes[0].text), failure(c.path, c.reason)) << c.name;
        EXPECT_EQ(scripted::boxes[0].flags, 0u) << c.name;
        EXPECT_FALSE(fileExists(results / "ran")) << c.name << ": nothing is run";
    }
    // What was there stays: the directory, the held file, the empty file.
    EXPECT_EQ(platform::pathKind(T(installerPath())), platform::PathKind::Directory);
    EXPECT_EQ(readFile(other / kInstaller), "held");
    EXPECT_TRUE(fileExists(other / ("empty/" + kInstaller)));
}

TEST_F(RuntimeInstaller, TheCarriedInstallerIsTheStandInAndCreatesTheRuntimeFolder) {
    const std::string standIn = readFile(QUILLBOX_TEST_RUNTIME_INSTALLER);
    ASSERT_FALSE(standIn.empty());
    ASSERT_EQ(runtimeInstallerSize(), standIn.size());
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(runtimeInstallerData()), runtimeInstallerSize()), standIn);

    EXPECT_FALSE(webViewRuntimePresent());
    EXPECT_TRUE(installWebViewRuntime());
    EXPECT_TRUE(webViewRuntimePresent()) << "the run was waited for";
    EXPECT_FALSE(fileExists(installerPath()));
    EXPECT_TRUE(scripted::boxes.empty());
}

TEST_F(RuntimeInstaller, MainFlowAsksOnlyWhenTheRuntimeIsMissingAndGoesOnEitherWay) {
    const Text question = u"quillbox requires Microsoft Edge WebView2 Runtime to work!\r\rI can install it for you. Okay?";
    struct Case {
        const char* name;
        bool runtimeThere;
        std::vector<int> answers;  // the question, then the update list failure
        bool asked;
        bool installed;
    } cases[] = {
        {"missing, Yes", false, {IDYES, IDNO}, true, true},
        {"missing, No", false, {IDNO, IDNO}, true, false},
        {"missing, box not shown", false, {0, IDNO}, true, false},
        {"present", true, {IDNO}, false, true},
    };
    for (const Case& c : cases) {
        TempFolder caseDrive("drive");
        if (c.runtimeThere) makeFolders(caseDrive / kX86Folder);
        platform::setDriveCFolder(caseDrive.path());
        EnvGuard env("QUILLBOX_TEST_DRIVE_C", caseDrive.path().c_str());
        // A list that cannot be read: the flow shows its question and ends.
        setProcessValues(T(caseDrive / "missing.json"));
        fillCatalogue();
        ActiveLanguage = u"en";
        scripted::reset();
        scripted::boxAnswers.assign(c.answers.begin(), c.answers.end());

        mainFlow();

        ASSERT_EQ(scripted::boxes.size(), c.asked ? 2u : 1u) << c.name;
        if (c.asked) {
            EXPECT_EQ(scripted::boxes[0].title, u"quillbox Setup Selection Tool") << c.name;
            EXPECT_EQ(scripted::boxes[0].text, question) << c.name;
            EXPECT_EQ(scripted::boxes[0].flags, 68u) << c.name;
        }
        EXPECT_NE(U(scripted::boxes.back().text).find("Unable to download or open"), std::string::npos)
            << c.name << ": the flow went on to the update list";
        EXPECT_EQ(fileExists(caseDrive / kX86Folder), c.installed) << c.name;
        EXPECT_FALSE(fileExists(installerPath())) << c.name;
    }
}

}  // namespace
