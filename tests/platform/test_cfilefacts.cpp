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

TEST(CFileFacts, KindSizeTimeAndPermissionsOfEachSortOfPath)
{
    CTempDir dir;
    WriteTextFile(dir.File("file.leg"), "12345");
    WriteTextFile(dir.File("locked.leg"), "abc");
    ::chmod(dir.File("locked.leg").c_str(), 0);
    ASSERT_EQ(::mkdir(dir.File("folder").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo").c_str(), 0644), 0);
    ASSERT_EQ(::symlink("file.leg", dir.File("link").c_str()), 0);
    // root reads and writes whatever the permissions say
    const std::string locked = ::geteuid() == 0 ? "1 1 0 1 1" : "1 1 0 0 0";
    // Kind, kind of the link itself, error; exists, file, folder, readable, writable; size
    // (a folder's is the file system's business).
    const std::pair<const char*, std::string> cases[] = {
        {"file.leg", "1 1 0: 1 1 0 1 1 5"},    {"folder", "2 2 0: 1 0 1 1 1"},
        {"fifo", "4 4 0: 1 0 0 1 1 0"},        {"link", "1 3 0: 1 1 0 1 1 5"},
        {"missing", "0 0 2: 0 0 0 0 0 0"},     {"locked.leg", "1 1 0: " + locked + " 3"},
    };
    for (const auto& [name, expected] : cases) {
        const std::string path = dir.File(name);
        const CFileFacts::Facts facts = CFileFacts::Of(path);
        auto n = [](auto v) { return std::to_string(static_cast<long long>(v)); };
        EXPECT_EQ(n(facts.kind) + " " + n(CFileFacts::OfLink(path).kind) + " " + n(facts.error) + ": " +
                      n(CFileFacts::Exists(path)) + " " + n(CFileFacts::IsFile(path)) + " " +
                      n(CFileFacts::IsFolder(path)) + " " + n(CFileFacts::IsReadable(path)) + " " +
                      n(CFileFacts::IsWritable(path)) + (facts.kind == Kind::Folder ? "" : " " + n(facts.size)),
                  expected)
            << name;
    }
    EXPECT_TRUE(CFileFacts::SameFile(dir.File("link"), dir.File("file.leg")) &&
                !CFileFacts::SameFile(dir.File("missing"), dir.File("missing")));

    // The modification time keeps nanoseconds and changes with a write.
    const std::string path = dir.File("t.leg");
    WriteTextFile(path, "old");
    const struct timespec times[2] = {{1000000000, 123456789}, {1000000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    const CFileFacts::Time set{1000000000, 123456789};
    EXPECT_EQ(CFileFacts::Of(path).modified, set);
    ASSERT_TRUE(CFileIO::WriteAtomically(path, "newer"));
    EXPECT_TRUE(CFileFacts::Of(path).modified != set && CFileFacts::Of(path).size == 5u);
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

    const std::tuple<const char*, CFileFacts::Case, std::vector<std::string>> cases[] = {
        {".leg", CFileFacts::Case::Ignored, {".leg", "B.LEG", "a.leg", "c.Leg", "f.leg"}},
        {".leg", CFileFacts::Case::Exact, {".leg", "a.leg", "f.leg"}},
        {".LEG", CFileFacts::Case::Exact, {"B.LEG"}},
        {".tab", CFileFacts::Case::Ignored, {}}};
    for (const auto& [extension, compare, expected] : cases) {
        std::vector<std::string> names{"stale"};
        EXPECT_TRUE(CFileFacts::FilesWithExtension(dir.Path(), extension, compare, names));
        EXPECT_EQ(names, expected) << extension;
    }
    std::vector<std::string> names{"stale"};
    EXPECT_FALSE(CFileFacts::FilesWithExtension(dir.File("none"), ".leg", CFileFacts::Case::Ignored, names));
    EXPECT_TRUE(names.empty());
    int error = 0;
    EXPECT_TRUE(!CFileFacts::CanList(dir.File("a.leg"), error) && error == ENOTDIR &&
                CFileFacts::CanList(dir.Path(), error));
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

    std::string equal;
    for (const auto& [a, b] : {std::pair{"MIF", "mif"}, {"I", "i"}, {"\xC4", "\xE4"}, {"\xC4\xB0", "i"}})
        equal += CUText::EqualNoCase(a, b) ? "1" : "0";
    EXPECT_EQ(equal, "1100");
    CTempDir dir;
    WriteTextFile(dir.File("LIST.MIF"), "x");
    std::vector<std::string> names;
    EXPECT_TRUE(CFileFacts::FilesWithExtension(dir.Path(), ".mif", CFileFacts::Case::Ignored, names));
    EXPECT_EQ(names, std::vector<std::string>{"LIST.MIF"});
    // The table writer is found by its extension and the name checked against it.
    TabKitTable* table = tabkit_c_create(dir.File("T.MIF").c_str(), "mif", 0, 0.0, 0.0, 1.0, 1.0, 1);
    EXPECT_NE(table, nullptr) << tabkit_c_last_error();
    tabkit_c_close(table);
    std::setlocale(LC_ALL, old.c_str());
}
