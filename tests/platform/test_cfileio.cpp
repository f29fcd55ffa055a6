#include "platform/cfileio.h"
#include "support/testfiles.h"

#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The names in a folder with each regular file's bytes and mode, sorted.
std::string Folder(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        struct stat st {};
        ::lstat(e.path().c_str(), &st);
        char mode[8];
        std::snprintf(mode, sizeof mode, "%o", static_cast<unsigned>(st.st_mode & 0777));
        names.push_back(e.path().filename().string() +
                        (S_ISREG(st.st_mode) ? "=" + ReadTextFile(e.path().string()) + " " + mode : ""));
    }
    std::sort(names.begin(), names.end());
    std::string all;
    for (const std::string& n : names)
        all += n + "; ";
    return all;
}

} // namespace

TEST(CFileIOWrite, ReplacesContentKeepsPermissionsAndLeavesNothingOnFailure)
{
    CTempDir dir;
    const std::string path = dir.File("a.leg");
    WriteTextFile(path, "old");
    ::chmod(path.c_str(), 0640);
    ASSERT_TRUE(CFileIO::WriteAtomically(path, "the old legend"));
    {
        CFileSizeLimit limit(1024);
        EXPECT_FALSE(CFileIO::WriteAtomically(path, std::string(64 * 1024, 'x')));
    }
    EXPECT_FALSE(CFileIO::WriteAtomically(dir.File("no/such/folder.leg"), "x"));
    EXPECT_FALSE(CFileIO::WriteAtomically(dir.Path(), "a folder is not a file"));
    WriteTextFile(dir.File("ro.leg"), "keep");
    ::chmod(dir.File("ro.leg").c_str(), 0444);
    const bool root = ::geteuid() == 0; // root may write anything
    EXPECT_EQ(CFileIO::WriteAtomically(dir.File("ro.leg"), "changed"), root);
    EXPECT_EQ(Folder(dir.Path()), std::string("a.leg=the old legend 640; ro.leg=") + (root ? "changed" : "keep") + " 444; ");
}

TEST(CFileIORead, ReadsBytesExactlyAndOnlyRegularFilesAndReportsErrors)
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
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0644), 0);
    const std::pair<std::string, int> cases[] = {
        {dir.File("fifo"), CFileResult::NotRegularFile}, // would wait for a writer
        {"/dev/zero", CFileResult::NotRegularFile},      // would fill memory
        {dir.Path(), EISDIR},
        {dir.File("missing"), ENOENT},
        {"/proc/self/mem", EIO}, // opens, but every read fails
    };
    for (const auto& [path, error] : cases) {
        std::string stale = "stale";
        const CFileResult r = CFileIO::ReadAllChecked(path, stale);
        EXPECT_EQ(std::to_string(r.error) + " " + std::to_string(r.Missing()) + " " + stale,
                  std::to_string(error) + " " + std::to_string(error == ENOENT) + " ")
            << path;
    }
}

TEST(CFileIORead, ReadStartStopsAtTheCountOrTheEnd)
{
    CTempDir dir;
    WriteTextFile(dir.File("f"), std::string("0123456789", 10));
    const struct {
        std::string path;
        size_t count;
        int error;
        std::string data;
    } cases[] = {
        {dir.File("f"), 4, 0, "0123"},
        {dir.File("f"), 10, 0, "0123456789"},
        {dir.File("f"), 1 << 20, 0, "0123456789"},
        {dir.File("f"), 0, 0, ""},
        {dir.File("missing"), 4, ENOENT, ""},
        {dir.Path(), 4, EISDIR, ""},
        {"/dev/zero", 4, CFileResult::NotRegularFile, ""},
        {"/proc/self/mem", 4, EIO, ""},
    };
    for (const auto& c : cases) {
        std::string data = "stale";
        EXPECT_EQ(CFileIO::ReadStart(c.path, data, c.count).error, c.error) << c.path << " " << c.count;
        EXPECT_EQ(data, c.data) << c.path << " " << c.count;
    }
}

TEST(CFileIOWrite, LinksUmaskLongNamesAndSpecialFiles)
{
    CTempDir dir;
    const mode_t oldMask = ::umask(077);
    EXPECT_TRUE(CFileIO::WriteAtomically(dir.File("new.leg"), "n"));
    ::umask(oldMask);
    // A symbolic link is saved through, relative targets and chains included.
    WriteTextFile(dir.File("target.leg"), "old");
    ::chmod(dir.File("target.leg").c_str(), 0644);
    std::filesystem::create_symlink("target.leg", dir.File("link1.leg"));
    std::filesystem::create_symlink(dir.File("link1.leg"), dir.File("link2.leg"));
    ASSERT_TRUE(CFileIO::WriteAtomically(dir.File("link2.leg"), "through"));
    EXPECT_EQ(ReadTextFile(dir.File("target.leg")), "through");
    // Hard links stay one file.
    std::filesystem::create_hard_link(dir.File("target.leg"), dir.File("hard.leg"));
    ASSERT_TRUE(CFileIO::WriteAtomically(dir.File("hard.leg"), "both"));
    const std::string longName = std::string(246, 'n') + ".leg";
    EXPECT_TRUE(CFileIO::WriteAtomically(dir.File(longName), "long"));
    ASSERT_EQ(::mkfifo(dir.File("fifo.leg").c_str(), 0644), 0);
    CAtomicFileWriter fifo(dir.File("fifo.leg"));
    EXPECT_FALSE(fifo.IsOpen());
    EXPECT_EQ(fifo.Result().Reason(), "not a regular file");
    // Only the files made above: no temporary file is left.
    EXPECT_EQ(Folder(dir.Path()), "fifo.leg; hard.leg=both 644; link1.leg; link2.leg; new.leg=n 600; " + longName +
                                      "=long 644; target.leg=both 644; ");
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link2.leg")) && std::filesystem::is_symlink(dir.File("link1.leg")));
    EXPECT_EQ(std::filesystem::hard_link_count(dir.File("hard.leg")), 2u);
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
    if (::geteuid() != 0) { // root may create files in any folder
        const std::string folder = dir.File("ro");
        std::filesystem::create_directory(folder);
        WriteTextFile(folder + "/c.leg", "before");
        ::chmod(folder.c_str(), 0555);
        EXPECT_TRUE(CFileIO::WriteAtomically(folder + "/c.leg", "after"));
        EXPECT_FALSE(CFileIO::WriteAtomically(folder + "/new.leg", "x"));
        ::chmod(folder.c_str(), 0755);
        EXPECT_EQ(ReadTextFile(folder + "/c.leg"), "after");
    }
}

TEST(CFileIOWrite, TerminationWaitsForTheTemporaryFileAndSignalsAreLeftAlone)
{
    CTempDir dir;
    const std::string path = dir.File("a.leg");
    WriteTextFile(path, "old");
    ::chmod(path.c_str(), 0644);
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
    EXPECT_EQ(Folder(dir.Path()), "a.leg=new 644; ");
    // Whether a file-size limit kills is the program's choice, not the save's.
    std::signal(SIGXFSZ, SIG_DFL);
    EXPECT_TRUE(CFileIO::WriteAtomically(path, "x"));
    struct sigaction now {};
    ::sigaction(SIGXFSZ, nullptr, &now);
    std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_EQ(now.sa_handler, SIG_DFL);
}
