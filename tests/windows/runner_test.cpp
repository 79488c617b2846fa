// Starting programs through CreateProcessW and the shell, and the signature
// check against the powershell.exe that Wine provides (a stub that prints
// nothing), under the Windows hardening: programs named without a folder
// come from the system folder, and a started file is named in full.
#include <gtest/gtest.h>

#include <windows.h>

#include "app/catalogue.h"
#include "app/path_size.h"
#include "app/values.h"
#include "setup/handlers.h"
#include "setup/runner.h"
#include "setup/signature.h"
#include "tests/support/scripted_gui.h"
#include "tests/windows/win_fixtures.h"

namespace {

const std::string kMarker = "quillbox-test-marker.exe";
const std::string kFakePowerShell = "quillbox-test-fake-powershell.exe";

std::wstring W(const std::string& utf8) {
    const Text text = T(utf8);
    return std::wstring(reinterpret_cast<const wchar_t*>(text.c_str()), text.size());
}

bool copyProgram(const std::string& name, const std::string& target) {
    makeFolders(target.substr(0, target.find_last_of('\\')));
    return CopyFileW(W(programFolder() + name).c_str(), W(target).c_str(), FALSE) != 0;
}

Text withoutSeparators(const Text& collected) {
    Text out;
    for (char16_t c : collected) {
        if (c != u'|') out += c;
    }
    return out;
}

TEST(WinRunner, CollectsTheOutputOfCmd) {
    TempFolder folder("run");
    std::string big;
    for (int i = 0; i < 4000; ++i) big += "line " + std::to_string(i) + " of a long output\r\n";
    writeFile(folder / "big.txt", big);
    writeFile(folder / "ansi.txt", "M\xFCller \x80\r\n");
    struct Case {
        const char* name;
        std::string parameters;
        Text output;
    } cases[] = {
        {"a line", "/c echo hello", u"hello\r\n"},
        {"nothing written", "/c exit 3", u""},
        {"more than a pipe holds", "/c type \"" + folder.path() + "\\big.txt\"", T(big)},
        {"decoded in the ANSI code page", "/c type \"" + folder.path() + "\\ansi.txt\"", u"Müller €\r\n"},
    };
    for (const Case& c : cases) {
        const Text collected = runAndCapture(u"cmd.exe", T(c.parameters), Text(), u"|", true);
        EXPECT_EQ(withoutSeparators(collected), c.output) << c.name;
        // The separator follows every piece, so the text ends with one.
        if (!c.output.empty()) {
            EXPECT_EQ(collected.back(), u'|') << c.name;
        }
    }
    EXPECT_EQ(withoutSeparators(runAndCapture(u"cmd.exe", u"/c cd", T(folder.path()), u"|", true)),
              T(folder.path()) + u"\r\n")
        << "the working directory";
}

TEST(WinRunner, ProgramsWithoutAFolderComeFromTheSystemFolderOnly) {
    // Beside us but not in the system folder: not found by name.
    const Text fake = T(programFolder() + kFakePowerShell);
    ASSERT_GT(pathSize(fake), 0) << "built beside the test program";
    EXPECT_EQ(runAndCapture(T(kFakePowerShell), u"", Text(), u"\r", true), u"");
    const Text report = runAndCapture(fake, u"", Text(), u"\r", true);
    EXPECT_NE(report.find(u"Status"), Text::npos) << "by its full path it runs";

    // A powershell.exe in the program's own folder (often Downloads) is not
    // the one asked: its report would pass the check if it were.
    TempFolder folder("sig");
    writeFile(folder / "setup.exe", std::string(6000, 'x'));
    const std::string besideUs = programFolder() + "powershell.exe";
    ASSERT_TRUE(copyProgram(kFakePowerShell, besideUs));
    EXPECT_EQ(verifySignature(T(folder / "setup.exe"), u"CN=tolvane"), 0);
    DeleteFileW(W(besideUs).c_str());

    // Wine's own powershell.exe prints nothing: the check fails closed.
    EXPECT_EQ(runAndCapture(u"powershell.exe", signatureCommand(T(folder / "setup.exe")), Text(), u"\r", true), u"");
    const std::string signedSetup = signingFixture("maker-signed.exe");
    if (fileExists(signedSetup)) {
        EXPECT_EQ(verifySignature(T(signedSetup), u"CN=tolvane"), 0);
    }

    EXPECT_EQ(runAndCapture(u"C:\\no\\such\\program.exe", u"", Text(), u"\r", true), u"");
    EXPECT_EQ(runAndCapture(u"", u"", Text(), u"\r", true), u"");
}

TEST(WinStartDocument, StartsTheFileItNamesAndNothingElse) {
    TempFolder folder("start");
    const std::string setup = folder.path() + "\\Setup Folder\\setup.exe";
    ASSERT_TRUE(copyProgram(kMarker, setup));
    EXPECT_TRUE(startDocument(T(setup)));
    ASSERT_TRUE(waitForFile(setup + ".started"));
    EXPECT_NE(readFile(setup + ".started").find("\"" + setup + "\""), std::string::npos)
        << "the command line names the program in quotes";

    // A file without an extension is started as it is; CreateProcessW
    // would otherwise append ".exe" and start a different file.
    const std::string bare = folder.path() + "\\setup";
    ASSERT_TRUE(copyProgram(kMarker, bare));
    ASSERT_TRUE(copyProgram(kMarker, bare + ".exe"));
    EXPECT_TRUE(startDocument(T(bare)));
    ASSERT_TRUE(waitForFile(bare + ".started"));
    EXPECT_FALSE(fileExists(bare + ".exe.started"));

    EXPECT_FALSE(startDocument(T(folder.path() + "\\missing.exe")));
}

// A document type of our own, opened by the marker program: the shell's
// path, taken when CreateProcessW refuses the target. (Wine's shell reads
// associations from HKEY_CLASSES_ROOT only, not from the user's classes.)
class DocumentType {
public:
    explicit DocumentType(const std::string& program) {
        const std::wstring command = L"\"" + W(program) + L"\" \"%1\"";
        RegSetValueW(HKEY_CLASSES_ROOT, L".quillboxtestdoc", REG_SZ, L"QuillboxTestDocument", 0);
        RegSetValueW(HKEY_CLASSES_ROOT, L"QuillboxTestDocument\\shell\\open\\command", REG_SZ,
                     command.c_str(), 0);
    }
    ~DocumentType() {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L".quillboxtestdoc");
        RegDeleteTreeW(HKEY_CLASSES_ROOT, L"QuillboxTestDocument");
    }
};

TEST(WinStartDocument, ADocumentGoesToTheShellWithItsFolder) {
    TempFolder folder("shell");
    const std::string opener = folder.path() + "\\opener.exe";
    ASSERT_TRUE(copyProgram(kMarker, opener));
    DocumentType type(opener);
    const std::string document = folder.path() + "\\docs\\readme.quillboxtestdoc";
    writeFile(document, "text");
    EXPECT_TRUE(startDocument(T(document)));
    ASSERT_TRUE(waitForFile(opener + ".started"));
    const std::string record = readFile(opener + ".started");
    EXPECT_NE(record.find(document), std::string::npos) << record;
    // The shell's working directory is the document's folder.
    EXPECT_NE(record.find("|" + folder.path() + "\\docs"), std::string::npos) << record;
}

class WinSetupHandler : public ::testing::Test {
protected:
    void SetUp() override {
        server = testServer();
        if (server.empty()) GTEST_SKIP() << "no test server";
        setProcessValues(u"https://example.invalid/update.json");
        fillCatalogue();
        ActiveLanguage = u"en";
        scripted::reset();
        root = environmentOr("QUILLBOX_TEST_SERVER_ROOT");
    }
    std::string server, root;
};

TEST_F(WinSetupHandler, WinesPowerShellNeverLetsASetupStart) {
    const std::string name = "quillbox-stub-check.exe";
    ASSERT_TRUE(copyProgram(kMarker, root + "\\" + name));
    const Text target = setupTargetPath(T(server + "/file/" + name));
    EXPECT_EQ(runSetupHandler(T("[\"" + server + "/file/" + name + "\"]")), std::string("{ }"));
    ASSERT_EQ(scripted::boxes.size(), 1u);
    EXPECT_EQ(scripted::boxes[0].flags, 16u) << "errSig";
    EXPECT_GT(pathSize(target), 5120) << "the setup stays where it was downloaded";
}

// Stands in for the system's powershell.exe for one test, and puts Wine's
// back afterwards.
class SystemPowerShell {
public:
    explicit SystemPowerShell(const std::string& replacement) {
        wchar_t system[MAX_PATH];
        GetSystemDirectoryW(system, MAX_PATH);
        path_ = U(Text(reinterpret_cast<const char16_t*>(system))) + "\\WindowsPowerShell\\v1.0\\powershell.exe";
        saved_ = path_ + ".quillbox-saved";
        ok_ = MoveFileExW(W(path_).c_str(), W(saved_).c_str(), MOVEFILE_REPLACE_EXISTING) &&
              CopyFileW(W(replacement).c_str(), W(path_).c_str(), FALSE);
    }
    ~SystemPowerShell() { MoveFileExW(W(saved_).c_str(), W(path_).c_str(), MOVEFILE_REPLACE_EXISTING); }
    bool ok() const { return ok_; }

private:
    std::string path_, saved_;
    bool ok_ = false;
};

TEST_F(WinSetupHandler, TheSetupIsHeldFromItsDownloadUntilItStarts) {
    const std::string name = "quillbox-held-check.exe";
    ASSERT_TRUE(copyProgram(kMarker, root + "\\" + name));
    const Text target = setupTargetPath(T(server + "/file/" + name));
    SystemPowerShell fake(programFolder() + kFakePowerShell);
    ASSERT_TRUE(fake.ok());
    // The stand-in reports Valid only when it cannot open the file for
    // writing while it checks it.
    EXPECT_EQ(runSetupHandler(T("[\"" + server + "/file/" + name + "\"]")), std::string("{ }"));
    EXPECT_TRUE(scripted::boxes.empty()) << (scripted::boxes.empty() ? "" : U(scripted::boxes[0].text));
    EXPECT_TRUE(waitForFile(U(target) + ".started")) << "started after the check";
}

}  // namespace
