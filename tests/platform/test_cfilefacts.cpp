#include "platform/cfilefacts.h"

#include "platform/cfileio.h"
#include "platform/cutext.h"
#include "platform/tabkit.h"
#include "support/madelocale.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using Kind = CFileFacts::Kind;

TEST(CFileFacts, KindSizeAndPermissionsOfEachSortOfPath)
{
    CTempDir dir;
    WriteTextFile(dir.File("file.leg"), "12345");
    WriteTextFile(dir.File("locked.leg"), "abc");
    ::chmod(dir.File("locked.leg").c_str(), 0);
    ASSERT_EQ(::mkdir(dir.File("folder").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("file.leg", dir.File("link").c_str()), 0);
    const bool root = ::geteuid() == 0;

    struct Case {
        const char* name;
        Kind kind;
        Kind kindOfLink;
        bool readable, writable;
        uint64_t size;
        int error;
    };
    for (const Case& c : {Case{"file.leg", Kind::File, Kind::File, true, true, 5, 0},
                          Case{"folder", Kind::Folder, Kind::Folder, true, true, 4096, 0},
                          Case{"fifo", Kind::Other, Kind::Other, true, true, 0, 0},
                          Case{"link", Kind::File, Kind::Link, true, true, 5, 0},
                          Case{"missing", Kind::Missing, Kind::Missing, false, false, 0, ENOENT},
                          Case{"locked.leg", Kind::File, Kind::File, false, false, 3, 0}}) {
        SCOPED_TRACE(c.name);
        if (root && std::string(c.name) == "locked.leg")
            continue; // root reads and writes whatever the permissions say
        const std::string path = dir.File(c.name);
        const CFileFacts::Facts facts = CFileFacts::Of(path);
        EXPECT_EQ(facts.kind, c.kind);
        EXPECT_EQ(CFileFacts::OfLink(path).kind, c.kindOfLink);
        EXPECT_EQ(facts.error, c.error);
        EXPECT_EQ(CFileFacts::Exists(path), c.kind != Kind::Missing);
        EXPECT_EQ(CFileFacts::IsFile(path), c.kind == Kind::File);
        EXPECT_EQ(CFileFacts::IsFolder(path), c.kind == Kind::Folder);
        EXPECT_EQ(CFileFacts::IsReadable(path), c.readable);
        EXPECT_EQ(CFileFacts::IsWritable(path), c.writable);
        if (c.kind != Kind::Folder) { // a folder's size is the file system's business
            EXPECT_EQ(facts.size, c.size);
        }
    }
    EXPECT_TRUE(CFileFacts::SameFile(dir.File("link"), dir.File("file.leg")));
    EXPECT_FALSE(CFileFacts::SameFile(dir.File("missing"), dir.File("missing")));
}

TEST(CFileFacts, ModificationTimeKeepsNanosecondsAndChangesWithAWrite)
{
    CTempDir dir;
    const std::string path = dir.File("t.leg");
    WriteTextFile(path, "old");
    const struct timespec times[2] = {{1000000000, 123456789}, {1000000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    const CFileFacts::Time set{1000000000, 123456789};
    EXPECT_EQ(CFileFacts::Of(path).modified, set);
    ASSERT_TRUE(CFileIO::WriteAtomically(path, "newer"));
    const CFileFacts::Facts after = CFileFacts::Of(path);
    EXPECT_NE(after.modified, set);
    EXPECT_EQ(after.size, 5u);
}

TEST(CFileFacts, FilesWithAnExtensionAreRegularFilesInByteOrder)
{
    CTempDir dir;
    for (const char* name : {"c.Leg", "a.leg", "B.LEG", "notes.txt", "e.leg.bak", ".leg"})
        WriteTextFile(dir.File(name), "x");
    ASSERT_EQ(::mkdir(dir.File("sub.leg").c_str(), 0755), 0);
    WriteTextFile(dir.File("sub.leg") + "/inner.leg", "x");
    ASSERT_EQ(::symlink("a.leg", dir.File("f.leg").c_str()), 0);
    ASSERT_EQ(::symlink("gone.leg", dir.File("g.leg").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.File("p.leg").c_str(), 0644), 0);

    struct Case {
        const char* extension;
        CFileFacts::Case compare;
        std::vector<std::string> names;
    };
    for (const Case& c :
         {Case{".leg", CFileFacts::Case::Ignored, {".leg", "B.LEG", "a.leg", "c.Leg", "f.leg"}},
          Case{".leg", CFileFacts::Case::Exact, {".leg", "a.leg", "f.leg"}},
          Case{".LEG", CFileFacts::Case::Exact, {"B.LEG"}},
          Case{".tab", CFileFacts::Case::Ignored, {}}}) {
        SCOPED_TRACE(c.extension);
        std::vector<std::string> names{"stale"};
        EXPECT_TRUE(CFileFacts::FilesWithExtension(dir.Path(), c.extension, c.compare, names));
        EXPECT_EQ(names, c.names);
    }
    std::vector<std::string> names{"stale"};
    EXPECT_FALSE(CFileFacts::FilesWithExtension(dir.File("none"), ".leg",
                                                CFileFacts::Case::Ignored, names));
    EXPECT_TRUE(names.empty());
    int error = 0;
    EXPECT_FALSE(CFileFacts::CanList(dir.File("a.leg"), error));
    EXPECT_EQ(error, ENOTDIR);
    EXPECT_TRUE(CFileFacts::CanList(dir.Path(), error));
}

// Names and extensions compare case-free for ASCII letters only: under a
// Turkish locale the C library's tolower('I') is not 'i'.
TEST(CaseFreeNames, DoNotFollowTheUsersLocale)
{
    if (!HaveLocaledef())
        GTEST_SKIP() << "localedef is not installed";
    CTempDir locales;
    ASSERT_TRUE(MakeLocale(locales.Path(), "tr_TR"));
    const CScopedEnv path("LOCPATH", locales.Path());
    const std::string old = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "tr_TR.UTF-8"), nullptr);

    struct Case {
        const char* a;
        const char* b;
        bool equal;
    };
    for (const Case& c : {Case{"MIF", "mif", true}, Case{"I", "i", true}, Case{"\xC4", "\xE4", false},
                          Case{"\xC4\xB0", "i", false}}) {
        SCOPED_TRACE(c.a);
        EXPECT_EQ(CUText::EqualNoCase(c.a, c.b), c.equal);
    }
    CTempDir dir;
    WriteTextFile(dir.File("LIST.MIF"), "x");
    std::vector<std::string> names;
    EXPECT_TRUE(CFileFacts::FilesWithExtension(dir.Path(), ".mif", CFileFacts::Case::Ignored, names));
    EXPECT_EQ(names, std::vector<std::string>{"LIST.MIF"});
    // The table writer is found by its extension and the name checked against it.
    TabKitTable* table =
        tabkit_c_create(dir.File("T.MIF").c_str(), "mif", 0, 0.0, 0.0, 1.0, 1.0, 1);
    EXPECT_NE(table, nullptr) << tabkit_c_last_error();
    if (table)
        tabkit_c_close(table);
    std::setlocale(LC_ALL, old.c_str());
}
