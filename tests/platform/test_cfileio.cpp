#include "platform/cfileio.h"

#include "platform/scratchfiles.h"

TEST(CFileIORead, ReadsBytesExactlyOnlyFromRegularFilesAndStopsAtTheCount)
{
    CTempDir dir;
    Lay(dir.Path(), "fifo|; f=0123456789");
    const std::string f = dir.File("f"), missing = dir.File("missing"), bytes("a\r\nb\0c", 6);
    WriteTextFile(dir.File("bytes"), bytes);
    constexpr size_t All = std::string::npos; // through ReadAllChecked
    const std::string notRegular = std::to_string(CFileResult::NotRegularFile) + " ";
    // Path, bytes wanted; the error (" missing" too when it means no file) and the bytes read.
    const std::tuple<std::string, size_t, std::string> cases[] = {
        {dir.File("bytes"), All, "0 " + bytes},
        {f, 4, "0 0123"},
        {f, 1 << 20, "0 0123456789"},
        {f, 0, "0 "},
        {dir.File("fifo"), All, notRegular}, // would wait for a writer
        {"/dev/zero", All, notRegular},      // would fill memory
        {dir.Path(), All, std::to_string(EISDIR) + " "},
        {missing, All, std::to_string(ENOENT) + " missing "},
        {missing, 4, std::to_string(ENOENT) + " missing "},
        {"/proc/self/mem", All, std::to_string(EIO) + " "}, // opens, but every read fails
        {"/proc/self/mem", 4, std::to_string(EIO) + " "},
    };
    for (const auto& [path, count, expected] : cases) {
        std::string data = "stale";
        const CFileResult r =
            count == All ? CFileIO::ReadAllChecked(path, data) : CFileIO::ReadStart(path, data, count);
        EXPECT_EQ(std::to_string(r.error) + (r.Missing() ? " missing " : " ") + data, expected) << path << " " << count;
    }
    std::string data;
    EXPECT_TRUE(CFileIO::ReadAll(f, data) && data == "0123456789" && !CFileIO::ReadAll(missing, data) && data.empty() &&
                !CFileIO::ReadAll(dir.Path(), data));
}

TEST(CFileIOWrite, ReplacesContentKeepsPermissionsFollowsLinksAndLeavesNothingOnFailure)
{
    CTempDir dir;
    const std::string path = dir.File("a.leg");
    Lay(dir.Path(), "a.leg=old@640; ro.leg=keep@444");
    ASSERT_TRUE(CFileIO::WriteAtomically(path, "the old legend"));
    {
        CFileSizeLimit limit(1024);
        EXPECT_FALSE(CFileIO::WriteAtomically(path, std::string(64 * 1024, 'x')));
    }
    EXPECT_FALSE(CFileIO::WriteAtomically(dir.File("no/such/folder.leg"), "x") ||
                 CFileIO::WriteAtomically(dir.Path(), "a folder is not a file"));
    const bool root = ::geteuid() == 0; // root may write anything
    EXPECT_EQ(CFileIO::WriteAtomically(dir.File("ro.leg"), "changed"), root);
    const mode_t oldMask = ::umask(002);
    EXPECT_TRUE(CFileIO::WriteAtomically(dir.File("new.leg"), "n"));
    ::umask(oldMask);
    // A symbolic link is saved through, relative targets and chains included.
    Lay(dir.Path(), "target.leg=old@644; link1.leg->target.leg; link2.leg->" + dir.File("link1.leg"));
    ASSERT_TRUE(CFileIO::WriteAtomically(dir.File("link2.leg"), "through"));
    EXPECT_EQ(ReadTextFile(dir.File("target.leg")), "through");
    // Hard links stay one file.
    Lay(dir.Path(), "hard.leg=>target.leg; fifo.leg|");
    ASSERT_TRUE(CFileIO::WriteAtomically(dir.File("hard.leg"), "both"));
    const std::string longName = std::string(246, 'n') + ".leg";
    EXPECT_TRUE(CFileIO::WriteAtomically(dir.File(longName), "long"));
    CAtomicFileWriter fifo(dir.File("fifo.leg"));
    EXPECT_EQ(fifo.IsOpen() ? "open" : fifo.Result().Reason(), "not a regular file");
    // Only the files made above, links still links: no temporary file is left.
    EXPECT_EQ(Listing(dir.Path(), true, true), "a.leg=the old legend 640; fifo.leg; hard.leg=both 644; link1.leg; "
                                               "link2.leg; new.leg=n 664; " +
                                                   longName + "=long 644; ro.leg=" + (root ? "changed" : "keep") +
                                                   " 444; target.leg=both 644; ");
    EXPECT_EQ(std::filesystem::hard_link_count(dir.File("hard.leg")), 2u);
}

TEST(CFileIOWrite, InPlaceSaveThatFailsPutsTheOldBytesBack)
{
    CTempDir dir;
    const std::string path = dir.File("a.leg"), old(3000, 'o');
    // Another hard link makes the save write in place.
    Lay(dir.Path(), "a.leg=" + old + "; b.leg=>a.leg");
    {
        CFileSizeLimit limit(4096);
        CAtomicFileWriter writer(path);
        ASSERT_TRUE(writer.IsOpen());
        writer.Write(std::string(64 * 1024, 'x'));
        EXPECT_EQ(Join(writer.Commit(), writer.Result().error), "0 " + std::to_string(EFBIG));
    }
    EXPECT_EQ(ReadTextFile(path), old);
    EXPECT_TRUE(CFileIO::WriteAtomically(path, "short"));
    EXPECT_EQ(ReadTextFile(dir.File("b.leg")), "short");
    if (::geteuid() != 0) { // root may create files in any folder
        Lay(dir.Path(), "ro/c.leg=before; ro@555");
        EXPECT_TRUE(CFileIO::WriteAtomically(dir.File("ro/c.leg"), "after"));
        EXPECT_FALSE(CFileIO::WriteAtomically(dir.File("ro/new.leg"), "x"));
        Lay(dir.Path(), "ro@755");
        EXPECT_EQ(ReadTextFile(dir.File("ro/c.leg")), "after");
    }
}

TEST(CFileIOWrite, TerminationWaitsForTheTemporaryFile)
{
    CTempDir dir;
    const std::string path = dir.File("a.leg");
    Lay(dir.Path(), "a.leg=old@644");
    const std::string said = InChild([&] {
        CAtomicFileWriter writer(path);
        writer.Write("new");
        ::raise(SIGTERM); // arrives in the middle of the save
        writer.Commit();
        return std::string("not ended");
    });
    EXPECT_EQ(said + ": " + Listing(dir.Path(), true, true), "signal 15: a.leg=new 644; ");
}
