#include "platform/tabkit.h"

#include "platform/ogrtables.h"
#include "platform/scratchfiles.h"

#include <clocale>

namespace {

TabKitTable* Create(const std::string& path, int replace = 1)
{
    return tabkit_c_create(path.c_str(), "tab", 0, 0.0, 0.0, 0.0, 0.0, replace);
}

// Whether every call succeeded; fields "name:type[:width[:precision]] ...", rows "a,b|c,d".
bool WriteTable(const std::string& path, const std::string& fields, const std::string& rows)
{
    TabKitTable* t = Create(path);
    if (!t)
        return false;
    bool ok = true;
    for (const std::string& field : Split(fields, " ")) {
        std::vector<std::string> f = Split(field, ":");
        f.resize(4, "0");
        ok = tabkit_c_add_field(t, f[0].c_str(), std::stoi(f[1]), std::stoi(f[2]), std::stoi(f[3]), 0, 0) && ok;
    }
    ok = tabkit_c_commit_fields(t) && ok;
    for (const std::string& row : rows.empty() ? std::vector<std::string>{} : Split(rows, "|")) {
        TabKitFeature* feature = tabkit_c_create_feature(t, 0);
        const std::vector<std::string> texts = Split(row, ",");
        for (size_t i = 0; i < texts.size(); ++i)
            ok = tabkit_c_set_field(feature, static_cast<int>(i), texts[i].c_str()) && ok;
        ok = tabkit_c_write_feature(t, feature) && ok;
        tabkit_c_destroy_feature(feature);
    }
    return tabkit_c_close(t) && ok;
}

// As the legend code reads it: "name:type ... / geometry types ... / field,field|field,field".
std::string ReadTable(const std::string& path)
{
    TabKitTable* t = tabkit_c_open(path.c_str(), 1);
    if (!t)
        return "unreadable";
    std::string names, types, rows;
    const int fields = tabkit_c_get_field_count(t);
    for (int i = 0; i < fields; ++i)
        names += std::string(i ? " " : "") + tabkit_c_get_field_name(t, i) + ":" +
                 std::to_string(tabkit_c_get_field_type(t, i));
    for (int id = 1; id <= tabkit_c_get_feature_count(t); ++id) {
        TabKitFeature* f = tabkit_c_read_feature(t, id);
        types += " " + std::to_string(tabkit_c_get_type(f));
        rows += id > 1 ? "|" : "";
        // The texts of one feature stay valid together: all are taken before any is used.
        std::vector<const char*> texts;
        for (int i = 0; i < fields; ++i)
            texts.push_back(tabkit_c_get_field_as_string(f, i));
        for (int i = 0; i < fields; ++i)
            rows += std::string(i ? "," : "") + texts[static_cast<size_t>(i)];
        tabkit_c_destroy_feature(f);
    }
    tabkit_c_close(t);
    return names + " /" + types + " / " + rows;
}

const std::string TableFiles = "t.dat; t.id; t.map; t.tab; ";

} // namespace

// Numbers have a point under a decimal-comma locale too; texts keep their bytes. The format keeps
// no logical, small-integer or (older writers) 64-bit column: those come back as text, integer, text.
TEST(TabKitRoundTrip, EachTypeComesBackWithItsTextFormAndTextsByteForByte)
{
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    CTempDir dir;
    const std::string row1 = "  Caf\xE9 r\xC3\xA9  ,1234567.125,3.14159,2020/01/31,10:20:30,2020/01/31 10:20:30,T,-12,"
                             "12345678901,abcdefgh,16711680,2nd; with \\ backslash";
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        if (!std::setlocale(LC_NUMERIC, locale))
            continue;
        EXPECT_TRUE(WriteTable(dir.File("types.tab"),
                               "P_Name:1:80 F:5 Dec:4:10:3 Dt:6 Tm:8 DTm:9 Flag:7 Small:3 Big:10 Short:1:5 I:2 S:1:254",
                               row1 + "|,1e+20,,,,,,,,,,"));
        EXPECT_EQ(ReadTable(dir.File("types.tab")),
                  "P_Name:1 F:5 Dec:4 Dt:6 Tm:8 DTm:9 Flag:1 Small:2 Big:1 Short:1 I:2 S:1 / 0 0 / "
                  "  Caf\xE9 r\xC3\xA9  ,1234567.125,3.142,2020/01/31,10:20:30,2020/01/31 10:20:30,T,-12,12345678901,"
                  "abcde,16711680,2nd; with \\ backslash|,1e+20,0.000,,,,,0,,,0,")
            << locale;
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
}

// A field the table lacks (index -1) reads as empty text; a record that could not be read has no type.
TEST(TabKitCreate, ReplacesOnlyWhenAskedAndOnlyNamesWithTheFormatsExtension)
{
    CTempDir dir;
    for (const char* name : {"plain", "x.tb", "x.tab.bak", ".tab", "sub.tab/x", "no/such/folder/x.tab"})
        EXPECT_EQ(Create(dir.File(name)), nullptr) << name;
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    EXPECT_EQ(tabkit_c_get_type(nullptr), -1);
    tabkit_c_destroy_feature(nullptr);
    const std::string path = dir.File("with space.TAB");
    ASSERT_TRUE(WriteTable(path, "A:1:10", "old|old2"));
    TabKitTable* t = tabkit_c_open(path.c_str(), 1);
    TabKitFeature* f = tabkit_c_read_feature(t, 1);
    EXPECT_EQ(Join(tabkit_c_get_field_type(t, -1), tabkit_c_get_field_as_string(f, -1), "|"), "-1  |");
    tabkit_c_destroy_feature(f);
    tabkit_c_close(t);
    EXPECT_EQ(tabkit_c_create(path.c_str(), "TAB", 0, 0, 0, 0, 0, 0), nullptr);
    ASSERT_TRUE(WriteTable(path, "B:2", ""));
    EXPECT_EQ(ReadTable(path), "B:2 / / ");
}

TEST(TabKitForeignTables, TablesMadeByOgr2OgrOrWithoutSideFilesRead)
{
    CTempDir dir;
    // The export of all legends removes the .id and .map files the writer makes.
    ASSERT_TRUE(WriteTable(dir.File("bare.tab"), "A:1:10", "kept"));
    EXPECT_TRUE(std::filesystem::remove(dir.File("bare.id")) && std::filesystem::remove(dir.File("bare.map")));
    EXPECT_EQ(ReadTable(dir.File("bare.tab")), "A:1 / 0 / kept");
    SKIP_WITHOUT_OGR2OGR();
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "made", "name,count,ratio,day\nalpha,3,0.5,2021/02/03\nbeta,-4,,\n",
                               "String(20),Integer,Real,Date\n"));
    EXPECT_EQ(ReadTable(dir.File("made.tab")),
              "name:1 count:2 ratio:5 day:6 / 0 0 / alpha,3,0.5,2021/02/03|beta,-4,0,");
}

TEST(TabKitOpen, FilesThatAreNoTableAreRefusedAtOnceWithTheReason)
{
    CTempDir dir;
    ASSERT_TRUE(WriteTable(dir.File("good.tab"), "A:1:10", "a|b"));
    const std::string dat = ReadTextFile(dir.File("good.dat"));
    Lay(dir.Path(), "fifo_dat.tab=>good.tab; fifo_dat.map=>good.map; fifo_dat.id=>good.id; fifo_dat.dat|; "
                    "cut.tab=>good.tab; cut.map=>good.map; cut.id=>good.id; fifo.tab|; folder.tab/; "
                    "text.tab=no table\n");
    WriteTextFile(dir.File("cut.dat"), dat.substr(0, dat.size() - 5));
    // The reason follows the folder's path when it starts with '/'.
    const std::pair<const char*, std::string> cases[] = {
        {"good.tab", ""},
        {"none.tab", std::strerror(ENOENT)},
        {"fifo.tab", "not a regular file"},
        {"folder.tab", std::strerror(EISDIR)},
        {"fifo_dat.tab", "/fifo_dat.dat: not a regular file"},
        {"cut.tab", "ReadBytes(): Attempt to read past end of data block."},
        {"text.tab", "not a table"}};
    for (const auto& [name, reason] : cases) {
        TabKitTable* t = tabkit_c_open((name[0] == '/' ? name : dir.File(name)).c_str(), 1);
        EXPECT_EQ(tabkit_c_last_error(), reason[0] == '/' ? dir.Path() + reason : reason) << name;
        EXPECT_EQ(t != nullptr, reason.empty()) << name;
        tabkit_c_close(t);
    }
}

// A file that cannot be replaced (immutable, even for root) or written (read-only, tried as nobody)
// leaves the whole old table, and the error names that file.
TEST(TabKitReplace, AFileThatCannotBeReplacedOrWrittenLeavesTheWholeOldTable)
{
    int ran = 0;
    for (const std::string locked : {"t.dat", "t.id", "t.map", "t.tab"}) {
        SCOPED_TRACE(locked);
        CTempDir dir;
        const std::string path = dir.File("t.tab");
        ASSERT_TRUE(WriteTable(path, "A:1:10", "old"));
        const std::string before = Listing(dir.Path());
        ASSERT_EQ(Listing(dir.Path(), false), TableFiles);
        if (std::system(("chattr +i '" + dir.File(locked) + "' 2>/dev/null").c_str()) == 0) {
            EXPECT_FALSE(WriteTable(path, "B:2", "1|2"));
            EXPECT_EQ(std::string(tabkit_c_last_error()) + "\n" + Listing(dir.Path()),
                      dir.File(locked) + ": " + std::strerror(EPERM) + "\n" + before);
            ++ran;
            EXPECT_EQ(std::system(("chattr -i '" + dir.File(locked) + "'").c_str()), 0);
        }
        Lay(dir.Path(), ".@777; t.dat@666; t.id@666; t.map@666; t.tab@666; " + locked + "@444");
        const std::string said = InChild(
            [&] {
                if (::access(dir.Path().c_str(), W_OK | X_OK) != 0)
                    return std::string("skip");
                return WriteTable(path, "B:2", "1") ? std::string("written") : tabkit_c_last_error();
            },
            true);
        if (said != "skip") {
            EXPECT_EQ(said + "\n" + Listing(dir.Path()),
                      dir.File(locked) + ": " + std::strerror(EACCES) + "\n" + before);
            ++ran;
        }
    }
    if (ran == 0)
        GTEST_SKIP() << "neither chattr +i nor a user without the right to write works here";
}

TEST(TabKitReplace, LinksAndPermissionsOfTheOldTableStay)
{
    CTempDir dir;
    const std::string target = dir.File("real/t.tab");
    Lay(dir.Path(), "real/");
    ASSERT_TRUE(WriteTable(target, "A:1:10", "old"));
    // Written through the link, side files beside the target; old files keep their modes, new ones follow the umask.
    Lay(dir.Path(), "real/t.tab@640; real/t.dat@604; l.tab->real/t.tab");
    const mode_t oldMask = ::umask(077);
    const bool written = WriteTable(dir.File("l.tab"), "B:1:10", "new");
    const bool fresh = WriteTable(dir.File("fresh.tab"), "B:1:10", "new");
    ::umask(oldMask);
    ASSERT_TRUE(written && fresh);
    EXPECT_EQ(Listing(dir.Path(), false, true) + "/ " + Listing(dir.File("real"), false, true),
              "fresh.dat 600; fresh.id 600; fresh.map 600; fresh.tab 600; l.tab; real; / "
              "t.dat 604; t.id 644; t.map 644; t.tab 640; ");
    EXPECT_EQ(ReadTable(dir.File("l.tab")), "B:1 / 0 / new");
    // A table with a file of other names is refused before anything is written.
    Lay(dir.Path(), "other.map=>real/t.map");
    const std::string before = Listing(dir.File("real"));
    EXPECT_EQ(Create(target), nullptr);
    EXPECT_EQ(tabkit_c_last_error(),
              dir.File("real/t.map") + ": has other hard links, which replacing the table would split");
    EXPECT_EQ(Listing(dir.File("real")), before);
}

TEST(TabKitReplace, TerminationWaitsUntilThePrivateFilesAreGone)
{
    CTempDir dir;
    const std::string path = dir.File("t.tab");
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        const std::string said = InChild([&] {
            ::signal(signal, SIG_DFL);
            TabKitTable* t = Create(path);
            tabkit_c_add_field(t, "A", 1, 10, 0, 0, 0);
            const rlimit noCore{0, 0};
            ::setrlimit(RLIMIT_CORE, &noCore);
            ::raise(signal);
            TabKitFeature* f = tabkit_c_create_feature(t, 0);
            tabkit_c_set_field(f, 0, std::to_string(signal).c_str());
            tabkit_c_write_feature(t, f);
            tabkit_c_destroy_feature(f);
            tabkit_c_close(t);
            return std::string("not ended");
        });
        EXPECT_EQ(said + ": " + Listing(dir.Path(), false) + ReadTable(path),
                  "signal " + std::to_string(signal) + ": " + TableFiles + "A:1 / 0 / " + std::to_string(signal));
    }
}
