#include "platform/cfileio.h"
#include "support/testfiles.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

namespace {

mode_t ModeOf(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode;
}

} // namespace

TEST(CFileIOWrite, LinksUmaskLongNamesAndSpecialFiles)
{
    CTempDir dir;
    const mode_t oldMask = ::umask(077);
    EXPECT_TRUE(CFileIO::WriteAtomically(dir.File("new.leg"), "n"));
    ::umask(oldMask);
    EXPECT_EQ(ModeOf(dir.File("new.leg")) & 0777, 0600u);

    // A symbolic link is saved through, relative targets and chains included.
    WriteTextFile(dir.File("target.leg"), "old");
    std::filesystem::create_symlink("target.leg", dir.File("link1.leg"));
    std::filesystem::create_symlink(dir.File("link1.leg"), dir.File("link2.leg"));
    ASSERT_TRUE(CFileIO::WriteAtomically(dir.File("link2.leg"), "through"));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link2.leg")));
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link1.leg")));
    EXPECT_EQ(ReadTextFile(dir.File("target.leg")), "through");

    // Hard links stay one file.
    std::filesystem::create_hard_link(dir.File("target.leg"), dir.File("hard.leg"));
    ASSERT_TRUE(CFileIO::WriteAtomically(dir.File("hard.leg"), "both"));
    EXPECT_EQ(ReadTextFile(dir.File("target.leg")), "both");
    EXPECT_EQ(std::filesystem::hard_link_count(dir.File("hard.leg")), 2u);

    const std::string longName = dir.File(std::string(246, 'n') + ".leg");
    EXPECT_TRUE(CFileIO::WriteAtomically(longName, "long"));
    EXPECT_EQ(ReadTextFile(longName), "long");

    ASSERT_EQ(::mkfifo(dir.File("fifo.leg").c_str(), 0644), 0);
    CAtomicFileWriter fifo(dir.File("fifo.leg"));
    EXPECT_FALSE(fifo.IsOpen());
    EXPECT_EQ(fifo.Result().Reason(), "not a regular file");
    EXPECT_TRUE(S_ISFIFO(ModeOf(dir.File("fifo.leg"))));
    // Only the files made above: no temporary file is left.
    EXPECT_EQ(EntriesIn(dir.Path()), 7u);
}

TEST(CFileIOWrite, InPlaceSaveThatFailsPutsTheOldBytesBack)
{
    CTempDir dir;
    const std::string path = dir.File("a.leg");
    const std::string old(3000, 'o');
    WriteTextFile(path, old);
    // Another hard link makes the save write in place.
    std::filesystem::create_hard_link(path, dir.File("b.leg"));
    {
        CFileSizeLimit limit(4096);
        CAtomicFileWriter writer(path);
        ASSERT_TRUE(writer.IsOpen());
        writer.Write(std::string(64 * 1024, 'x'));
        EXPECT_FALSE(writer.Commit());
        EXPECT_EQ(writer.Result().error, EFBIG);
    }
    EXPECT_EQ(ReadTextFile(path), old);
    ASSERT_TRUE(CFileIO::WriteAtomically(path, "short"));
    EXPECT_EQ(ReadTextFile(dir.File("b.leg")), "short");

    if (geteuid() != 0) { // root may create files in any folder
        const std::string folder = dir.File("ro");
        std::filesystem::create_directory(folder);
        WriteTextFile(folder + "/c.leg", "before");
        ::chmod(folder.c_str(), 0555);
        EXPECT_TRUE(CFileIO::WriteAtomically(folder + "/c.leg", "after"));
        EXPECT_EQ(ReadTextFile(folder + "/c.leg"), "after");
        EXPECT_FALSE(CFileIO::WriteAtomically(folder + "/new.leg", "x"));
        ::chmod(folder.c_str(), 0755);
    }
}

TEST(CFileIOWrite, TerminationWaitsForTheTemporaryFileAndSignalsAreLeftAlone)
{
    CTempDir dir;
    const std::string path = dir.File("a.leg");
    WriteTextFile(path, "old");
    const pid_t child = ::fork();
    if (child == 0) {
        CAtomicFileWriter writer(path);
        writer.Write("new");
        ::raise(SIGTERM); // arrives in the middle of the save
        writer.Commit();
        ::_exit(0);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_EQ(ReadTextFile(path), "new");
    EXPECT_EQ(EntriesIn(dir.Path()), 1u);

    // Whether a file-size limit kills is the program's choice, not the save's.
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_TRUE(CFileIO::WriteAtomically(path, "x"));
    struct sigaction now {};
    ::sigaction(SIGXFSZ, nullptr, &now);
    std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}

TEST(CFileIORead, OnlyRegularFilesAreReadAndErrorsAreReported)
{
    CTempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0644), 0);
    const struct {
        std::string path;
        int error;
    } cases[] = {
        {dir.File("fifo"), CFileResult::NotRegularFile}, // would wait for a writer
        {"/dev/zero", CFileResult::NotRegularFile},      // would fill memory
        {dir.Path(), EISDIR},
        {dir.File("missing"), ENOENT},
        {"/proc/self/mem", EIO}, // opens, but every read fails
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string data = "stale";
        const CFileResult r = CFileIO::ReadAllChecked(c.path, data);
        EXPECT_EQ(r.error, c.error);
        EXPECT_EQ(r.Missing(), c.error == ENOENT);
        EXPECT_TRUE(data.empty());
    }
}
