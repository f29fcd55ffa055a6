#include "platform/cfileio.h"
#include "support/testfiles.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

size_t EntriesIn(const std::string& dir)
{
    size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

} // namespace

TEST(CFileIOWrite, ReplacesContentAndKeepsPermissions)
{
    CTempDir dir;
    const std::string path = dir.File("a.leg");
    WriteTextFile(path, "old");
    chmod(path.c_str(), 0640);
    ASSERT_TRUE(CFileIO::WriteAtomically(path, "new content"));
    EXPECT_EQ(ReadTextFile(path), "new content");
    struct stat st {};
    stat(path.c_str(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(CFileIOWrite, FailedWriteLeavesTheOldFileAndNoLeftovers)
{
    CTempDir dir;
    const std::string path = dir.File("a.leg");
    WriteTextFile(path, "the old legend");
    {
        CFileSizeLimit limit(1024);
        EXPECT_FALSE(CFileIO::WriteAtomically(path, std::string(64 * 1024, 'x')));
    }
    EXPECT_EQ(ReadTextFile(path), "the old legend");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);
}

TEST(CFileIOWrite, RefusesMissingFoldersAndReadOnlyFiles)
{
    CTempDir dir;
    EXPECT_FALSE(CFileIO::WriteAtomically(dir.File("no/such/folder.leg"), "x"));
    const std::string path = dir.File("ro.leg");
    WriteTextFile(path, "keep");
    chmod(path.c_str(), 0444);
    if (geteuid() != 0) { // root may write anything
        EXPECT_FALSE(CFileIO::WriteAtomically(path, "changed"));
        EXPECT_EQ(ReadTextFile(path), "keep");
    }
    EXPECT_FALSE(CFileIO::WriteAtomically(dir.Path(), "a folder is not a file"));
}

TEST(CFileIORead, ReadsBytesExactlyAndFailsOnMissingFiles)
{
    CTempDir dir;
    const std::string bytes("a\r\nb\0c", 6);
    WriteTextFile(dir.File("f"), bytes);
    std::string data;
    ASSERT_TRUE(CFileIO::ReadAll(dir.File("f"), data));
    EXPECT_EQ(data, bytes);
    EXPECT_FALSE(CFileIO::ReadAll(dir.File("missing"), data));
    EXPECT_TRUE(data.empty());
    EXPECT_FALSE(CFileIO::ReadAll(dir.Path(), data));
}
