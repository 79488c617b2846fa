// Share modes as Windows applies them, and names Windows refuses.
#include <gtest/gtest.h>

#include "tests/support/fixtures.h"

namespace {

TEST(FileSharing, AnUnsharedOpenLocksOthersOut) {
    TempFolder folder("share");
    const Text path = T(folder / "list.json");
    writeFile(folder / "list.json", "{}");

    platform::File holder;
    ASSERT_TRUE(holder.openForRead(path, platform::Share::Exclusive));
    platform::File other;
    EXPECT_FALSE(other.openForRead(path, platform::Share::Exclusive));
    EXPECT_FALSE(other.create(path, platform::Share::Read));
    EXPECT_FALSE(platform::deleteFile(path));
    EXPECT_EQ(readFile(folder / "list.json"), "{}");  // nothing lost

    holder.close();
    EXPECT_TRUE(other.openForRead(path, platform::Share::Exclusive));
    other.close();
    EXPECT_TRUE(platform::deleteFile(path));
    EXPECT_FALSE(fileExists(folder / "list.json"));
}

TEST(FileSharing, AWriterThatSharesReadingStillRefusesAnExclusiveReader) {
    TempFolder folder("share");
    const Text path = T(folder / "setup.exe");
    platform::File writer;
    ASSERT_TRUE(writer.create(path, platform::Share::Read));
    EXPECT_EQ(writer.write("abc", 3), 3u);
    platform::File reader;
    EXPECT_FALSE(reader.openForRead(path, platform::Share::Exclusive));
    EXPECT_FALSE(reader.openAndTruncate(path, platform::Share::Exclusive));
    writer.close();
    ASSERT_TRUE(reader.openForRead(path, platform::Share::Exclusive));
    char buffer[8];
    EXPECT_EQ(reader.read(buffer, sizeof buffer), 3u);
}

TEST(FileSharing, CreateReplacesAndRefusesWhatWindowsRefuses) {
    TempFolder folder("create");
    writeFile(folder / "old.bin", "old content");
    platform::File file;
    ASSERT_TRUE(file.create(T(folder / "old.bin"), platform::Share::Read));
    file.close();
    EXPECT_EQ(readFile(folder / "old.bin"), "");

    for (const char* name : {"a<b", "a>b", "a:b", "a\"b", "a|b", "a?b", "a*b", "a\x01" "b"}) {
        EXPECT_FALSE(file.create(T(folder / name), platform::Share::Read)) << name;
        EXPECT_FALSE(fileExists(folder / name)) << name;
    }
    makeFolders(folder / "dir");
    EXPECT_FALSE(file.create(T(folder / "dir"), platform::Share::Read));
    EXPECT_FALSE(platform::deleteFile(T(folder / "dir")));
    EXPECT_FALSE(file.create(T(folder / "old.bin/below"), platform::Share::Read));
}

TEST(FindEntries, WildcardsInTheLastComponentMatchCaseInsensitively) {
    TempFolder folder("find");
    makeFolders(folder / "Packages/Microsoft.OutlookForWindows_1.0_x64");
    writeFile(folder / "Packages/microsoft.outlookforwindows_file", "");
    writeFile(folder / "Packages/Other_1", "");
    std::vector<platform::FindEntry> entries;
    ASSERT_TRUE(platform::findEntries(T(folder / "Packages\\Microsoft.OutlookForWindows_*"), entries));
    EXPECT_EQ(entries.size(), 2u);
    EXPECT_FALSE(platform::findEntries(T(folder / "Packages\\Nothing*"), entries));
    EXPECT_FALSE(platform::findEntries(T(folder / "Missing\\*"), entries));
    EXPECT_FALSE(platform::findEntries(T(folder / "Pack*\\Other_1"), entries));  // only the last component
}

}  // namespace
