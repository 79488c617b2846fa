// pathSize and temporaryFolder over a real folder that stands for drive C:.
#include <gtest/gtest.h>

#include "app/path_size.h"
#include "tests/support/fixtures.h"

namespace {

TEST(PathSize, FixtureTree) {
    TempFolder drive("drive");
    writeFile(drive / "data/file.bin", std::string(1234, 'x'));
    writeFile(drive / "data/empty.txt", "");
    makeFolders(drive / "data/folder");
    writeFile(drive / "data/s?ze.txt", "");
    platform::setDriveCFolder(drive.path());

    struct Case {
        const char16_t* path;
        int64_t size;
    } cases[] = {
        {u"C:\\data\\file.bin", 1234},
        {u"c:/data/file.bin", 1234},
        {u"\\data\\file.bin", 1234},             // rooted without a drive: on C:
        {u"C:\\data\\empty.txt", 0},
        {u"C:\\data\\folder", -2},
        {u"C:\\data\\folder\\\\//", -2},         // trailing separators are ignored
        {u"C:\\data\\file.bin\\", 1234},
        {u"C:\\data\\file.*", -1},               // a wildcard never counts
        {u"C:\\data\\*", -1},
        {u"C:\\data\\fil?.bin", -1},
        {u"C:\\data\\missing.bin", -1},
        {u"C:\\data\\file.bin\\below", -1},      // a path below a file
        {u"C:", -2},
        {u"C:\\", -2},
        {u"D:\\", -1},                           // no such drive
        {u"D:\\data\\file.bin", -1},
        {u"", -1},
        {u"\\\\", -1},
        {u"\\\\server\\share\\file.bin", -1},
        {u"C:\\data\\bad|name", -1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(pathSize(c.path), c.size) << U(c.path);
    }
    EXPECT_EQ(pathSize(T(drive / "data/file.bin")), 1234);  // a POSIX path stays one
    EXPECT_EQ(pathSize(T(drive.path())), -2);
}

TEST(PathSize, DotDotNamesADirectory) {
    EXPECT_EQ(pathSize(u".."), -2);
    EXPECT_EQ(pathSize(u"..\\"), -2);
}

TEST(TemporaryFolder, PerUserFolderWithTrailingSeparator) {
    {
        TempFolder tmp("tmp");
        EnvGuard env("TMPDIR", tmp.path().c_str());
        EXPECT_EQ(temporaryFolder(), T(tmp.path() + "/"));
    }
    {
        EnvGuard env("TMPDIR", nullptr);
        const Text folder = temporaryFolder();
        ASSERT_FALSE(folder.empty());
        EXPECT_EQ(folder.back(), u'/');
        EXPECT_EQ(pathSize(folder), -2);
        EXPECT_EQ(U(folder).rfind("/tmp/quillbox-", 0), 0u);
    }
    {
        EnvGuard env("TMPDIR", "/nonexistent/folder");
        EXPECT_EQ(temporaryFolder(), u"");
    }
}

}  // namespace
