#include "platform/cfilefacts.h"

#include "platform/cutext.h"
#include "platform/scratchfiles.h"
#include "support/madelocale.h"

#include <clocale>

using Kind = CFileFacts::Kind;

TEST(CFileFacts, KindSizeTimeAndPermissionsOfEachSortOfPath)
{
    CTempDir dir;
    Lay(dir.Path(), "file.leg=12345; locked.leg=abc@0; folder/; fifo|; link->file.leg");
    const std::string locked = ::geteuid() == 0 ? "1 1 0 1 1" : "1 1 0 0 0"; // root may read and write all
    // Kind, kind of the link itself, error; exists, file, folder, readable, writable; size (not a folder's).
    const std::pair<const char*, std::string> cases[] = {
        {"file.leg", "1 1 0: 1 1 0 1 1 5"}, {"folder", "2 2 0: 1 0 1 1 1"},
        {"fifo", "4 4 0: 1 0 0 1 1 0"},     {"link", "1 3 0: 1 1 0 1 1 5"},
        {"missing", "0 0 2: 0 0 0 0 0 0"},  {"locked.leg", "1 1 0: " + locked + " 3"},
    };
    for (const auto& [name, expected] : cases) {
        const std::string path = dir.File(name);
        const CFileFacts::Facts facts = CFileFacts::Of(path);
        EXPECT_EQ(Join(facts.kind, CFileFacts::OfLink(path).kind, facts.error) + ": " +
                      Join(CFileFacts::Exists(path), CFileFacts::IsFile(path), CFileFacts::IsFolder(path),
                           CFileFacts::IsReadable(path), CFileFacts::IsWritable(path)) +
                      (facts.kind == Kind::Folder ? "" : " " + Text(facts.size)),
                  expected)
            << name;
    }
    EXPECT_TRUE(CFileFacts::SameFile(dir.File("link"), dir.File("file.leg")) &&
                !CFileFacts::SameFile(dir.File("missing"), dir.File("missing")));
    // The modification time (not the access time) keeps nanoseconds.
    const struct timespec times[2] = {{2000000000, 1}, {1000000000, 123456789}};
    ASSERT_EQ(::utimensat(AT_FDCWD, dir.File("file.leg").c_str(), times, 0), 0);
    EXPECT_EQ(CFileFacts::Of(dir.File("file.leg")).modified, (CFileFacts::Time{1000000000, 123456789}));
}

TEST(CFileFacts, FilesWithAnExtensionAreRegularFilesInByteOrder)
{
    CTempDir dir;
    Lay(dir.Path(), "c.Leg=x; a.leg=x; B.LEG=x; notes.txt=x; e.leg.bak=x; .leg=x; sub.leg/inner.leg=x; f.leg->a.leg; "
                    "g.leg->gone.leg; p.leg|");
    const std::tuple<const char*, CFileFacts::Case, std::string> cases[] = {
        {".leg", CFileFacts::Case::Ignored, ".leg B.LEG a.leg c.Leg f.leg"},
        {".leg", CFileFacts::Case::Exact, ".leg a.leg f.leg"}};
    for (const auto& [extension, compare, expected] : cases) {
        std::vector<std::string> names{"stale"};
        EXPECT_TRUE(CFileFacts::FilesWithExtension(dir.Path(), extension, compare, names));
        EXPECT_EQ(JoinAll(names), expected) << extension;
    }
    std::vector<std::string> names{"stale"};
    int error = 0;
    EXPECT_TRUE(!CFileFacts::FilesWithExtension(dir.File("none"), ".leg", CFileFacts::Case::Ignored, names) &&
                names.empty());
    EXPECT_TRUE(!CFileFacts::CanList(dir.File("a.leg"), error) && error == ENOTDIR &&
                CFileFacts::CanList(dir.Path(), error));
}

// Names compare case-free for ASCII letters only: under a Turkish locale tolower('I') is not 'i'.
TEST(CaseFreeNames, DoNotFollowTheUsersLocale)
{
    if (!HaveLocaledef())
        GTEST_SKIP() << "localedef is not installed";
    CTempDir locales;
    ASSERT_TRUE(MakeLocale(locales.Path(), "tr_TR"));
    const CScopedEnv path("LOCPATH", locales.Path());
    const std::string old = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "tr_TR.UTF-8"), nullptr);
    EXPECT_EQ(Join(CUText::EqualNoCase("MIF", "mif"), CUText::EqualNoCase("I", "i"),
                   CUText::EqualNoCase("\xC4", "\xE4"), CUText::EqualNoCase("\xC4\xB0", "i")),
              "1 1 0 0");
    std::setlocale(LC_ALL, old.c_str());
}
