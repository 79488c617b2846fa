// Programs started with their output captured, and the Windows rules for
// splitting a command line.
#include <gtest/gtest.h>

#include "setup/runner.h"
#include "tests/support/fixtures.h"

namespace {

TEST(RunAndCapture, CollectsEverythingWithSeparators) {
    struct Case {
        const char* name;
        Text parameters;  // for /bin/sh
        std::string expected;  // with the separators taken out
    } cases[] = {
        {"no output", u"-c \"exit 0\"", ""},
        {"late output", u"-c \"sleep 0.4; printf late\"", "late"},
        {"a zero byte ends its piece", u"-c \"printf 'ab\\0cd'\"", "ab"},
        // More than a pipe holds, written just before the program ends: it is
        // still in the pipe when the end is seen.
        {"output left after the end", u"-c \"head -c 300000 /dev/zero | tr '\\0' x\"", std::string(300000, 'x')},
    };
    for (const Case& c : cases) {
        const Text out = runAndCapture(u"/bin/sh", c.parameters, Text(), u"\r", true);
        std::string joined;
        for (char16_t ch : out) {
            if (ch != u'\r') joined += static_cast<char>(ch);
        }
        EXPECT_EQ(joined, c.expected) << c.name;
        if (!c.expected.empty()) {
            EXPECT_EQ(out.back(), u'\r') << c.name << ": a separator follows every piece";
        }
    }
    EXPECT_EQ(runAndCapture(u"/bin/sh", u"-c \"printf '\\200\\344'\"", Text(), u"|", true), u"\u20AC\u00E4|");
}

TEST(RunAndCapture, AProgramThatCannotStartGivesTheEmptyText) {
    EXPECT_EQ(runAndCapture(u"no-such-program.exe", Text(), Text(), u"\r", true), u"");
    EXPECT_EQ(runAndCapture(u"/bin/sh", u"-c pwd", u"C:\\no\\such\\folder", u"\r", true), u"");
    TempFolder folder("cwd");
    EXPECT_EQ(runAndCapture(u"/bin/sh", u"-c pwd", T(folder.path()), u"", true), T(folder.path() + "\n"));
}

TEST(RunAndCapture, CommandLinesAreSplitByTheWindowsRules) {
    struct Case {
        Text parameters;
        std::string argv;  // as the program sees its arguments, one per line
    } cases[] = {
        {u"a b  c", "a\nb\nc\n"},
        {u"\"a b\" c", "a b\nc\n"},
        {u"a\\\\b \"c\\\\\"", "a\\\\b\nc\\\n"},
        {u"\\\"x\\\" \"y\"\"z\"", "\"x\"\ny\"z\n"},
        {u"'single quoted' x", "'single\nquoted'\nx\n"},
        {u"Get-AuthenticodeSignature -LiteralPath 'C:\\a b\\s.exe'", "Get-AuthenticodeSignature\n-LiteralPath\n'C:\\a\nb\\s.exe'\n"},
    };
    for (const Case& c : cases) {
        const Text out = runAndCapture(u"/bin/sh", u"-c \"printf '%s\\n' \\\"$@\\\"\" sh " + c.parameters, Text(), u"", true);
        EXPECT_EQ(U(out), c.argv) << U(c.parameters);
    }
}

TEST(StartDocument, ProgramsStartDirectlyAndDocumentsThroughTheShell) {
    ShellRecorder shell;
    TempFolder folder("start");
    writeFile(folder / "marker.sh", "#!/bin/sh\ntouch '" + folder / "started" + "'\n");
    chmod((folder / "marker.sh").c_str(), 0755);
    EXPECT_TRUE(startDocument(T(folder / "marker.sh")));
    writeFile(folder / "page.html", "<p>hi</p>");
    EXPECT_TRUE(startDocument(T(folder / "page.html")));
    EXPECT_TRUE(startDocument(u"https://www.tolvane.de/quillbox"));
    const auto calls = shell.calls(2);
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], folder / "page.html");
    EXPECT_EQ(calls[1], "https://www.tolvane.de/quillbox");
    for (int i = 0; i < 100 && !fileExists(folder / "started"); ++i) usleep(50000);
    EXPECT_TRUE(fileExists(folder / "started"));
}

}  // namespace
