#include "platform/tabkit.h"

#include "platform/ogrtables.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CFieldSpec {
    const char* name;
    int type, width, precision;
};

using Row = std::vector<std::string>;

TabKitTable* Create(const std::string& path, int replace = 1)
{
    return tabkit_c_create(path.c_str(), "tab", 0, 0.0, 0.0, 0.0, 0.0, replace);
}

// The numbers separated by blanks, to compare several results at once.
template <typename... Ints>
std::string Join(Ints... values)
{
    std::string all;
    ((all += (all.empty() ? "" : " ") + std::to_string(values)), ...);
    return all;
}

// The names in a folder, sorted: nothing private is left behind once a table is written or refused.
std::string FolderNames(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    std::string all;
    for (const std::string& n : names)
        all += (all.empty() ? "" : " ") + n;
    return all;
}

// The names and bytes of the four files of table t.
std::string Contents(const std::string& dir)
{
    std::string all = FolderNames(dir) + "\n";
    for (const char* n : {"t.dat", "t.id", "t.map", "t.tab"})
        all += std::string(n) + "=" + ReadTextFile(dir + "/" + n) + "\n";
    return all;
}

// Writes a table and returns whether every call succeeded.
bool WriteTable(const std::string& path, const std::vector<CFieldSpec>& fields,
                const std::vector<Row>& rows)
{
    TabKitTable* t = Create(path);
    if (!t)
        return false;
    bool ok = true;
    for (const auto& f : fields)
        ok = tabkit_c_add_field(t, f.name, f.type, f.width, f.precision, 0, 0) && ok;
    ok = tabkit_c_commit_fields(t) && ok;
    for (const Row& row : rows) {
        TabKitFeature* feature = tabkit_c_create_feature(t, 0);
        for (size_t i = 0; i < row.size(); ++i)
            ok = tabkit_c_set_field(feature, static_cast<int>(i), row[i].c_str()) && ok;
        ok = tabkit_c_write_feature(t, feature) && ok;
        tabkit_c_destroy_feature(feature);
    }
    return tabkit_c_close(t) && ok;
}

// Reads a table the way the legend code does (ids 1..count for the rows, the
// next-id walk for the ids themselves) and describes it as
// "name:type ... / ids ... / geometry types ... / field,field|field,field".
std::string ReadTable(const std::string& path)
{
    TabKitTable* t = tabkit_c_open(path.c_str(), 1);
    if (!t)
        return "unreadable";
    std::string names, ids, types, rows;
    const int fields = tabkit_c_get_field_count(t);
    for (int i = 0; i < fields; ++i)
        names += std::string(i ? " " : "") + tabkit_c_get_field_name(t, i) + ":" +
                 std::to_string(tabkit_c_get_field_type(t, i));
    for (int id = tabkit_c_next_feature_id(t, -1); id != -1; id = tabkit_c_next_feature_id(t, id))
        ids += " " + std::to_string(id);
    for (int id = 1; id <= tabkit_c_get_feature_count(t); ++id) {
        TabKitFeature* f = tabkit_c_read_feature(t, id);
        types += " " + std::to_string(tabkit_c_get_type(f));
        rows += id > 1 ? "|" : "";
        for (int i = 0; i < fields; ++i)
            rows += std::string(i ? "," : "") + tabkit_c_get_field_as_string(f, i);
        tabkit_c_destroy_feature(f);
    }
    tabkit_c_close(t);
    return names + " /" + ids + " /" + types + " / " + rows;
}

// The rows part of the description alone.
std::string Rows(const std::string& path)
{
    const std::string all = ReadTable(path);
    return all.substr(all.rfind(" / ") + 3);
}

const std::vector<CFieldSpec> LegendFields = {
    {"P_Name", 1, 80, 0},  {"P_From", 5, 0, 0},  {"P_To", 5, 0, 0},    {"P_Value", 1, 50, 0},
    {"P_Bpat", 2, 0, 0},   {"P_Bfcol", 2, 0, 0}, {"P_Bbcol", 2, 0, 0}, {"P_Psty", 2, 0, 0},
    {"P_Ppat", 2, 0, 0},   {"P_Pcol", 2, 0, 0},  {"Comments", 1, 254, 0}};
const std::string LegendNames = "P_Name:1 P_From:5 P_To:5 P_Value:1 P_Bpat:2 P_Bfcol:2 P_Bbcol:2 "
                                "P_Psty:2 P_Ppat:2 P_Pcol:2 Comments:1";
const std::vector<CFieldSpec> TextField = {{"A", 1, 10, 0}};

} // namespace

TEST(TabKitRoundTrip, WrittenTableReadsBackWithSameFieldsOrderAndTexts)
{
    CTempDir dir;
    // Blanks at both ends, an 8-bit Windows-1252 byte and UTF-8 stay as they are.
    ASSERT_TRUE(WriteTable(dir.File("legend.tab"), LegendFields,
                           {{"Rock", "0", "10.5", "", "1", "16711680", "-1", "1", "2", "0", "first"},
                            {"  Caf\xE9 r\xC3\xA9  ", "-0.25", "1e+20", "clay", "7", "255", "65280",
                             "3", "5", "12345678", "2nd; with \\ backslash"},
                            {"", "1234567.125", "-3", "x", "0", "0", "0", "0", "0", "0", ""}}));
    EXPECT_EQ(ReadTable(dir.File("legend.tab")),
              LegendNames + " / 1 2 3 / 0 0 0 / Rock,0,10.5,,1,16711680,-1,1,2,0,first|"
              "  Caf\xE9 r\xC3\xA9  ,-0.25,1e+20,clay,7,255,65280,3,5,12345678,2nd; with \\ backslash|"
              ",1234567.125,-3,x,0,0,0,0,0,0,");
    // The texts of one feature stay valid together.
    TabKitTable* t = tabkit_c_open(dir.File("legend.tab").c_str(), 1);
    TabKitFeature* f = tabkit_c_read_feature(t, 2);
    const char* texts[] = {tabkit_c_get_field_as_string(f, 1), tabkit_c_get_field_as_string(f, 2),
                           tabkit_c_get_field_as_string(f, 4)};
    EXPECT_EQ(std::string(texts[0]) + " " + texts[1] + " " + texts[2], "-0.25 1e+20 7");
    tabkit_c_destroy_feature(f);
    tabkit_c_close(t);
    ASSERT_TRUE(WriteTable(dir.File("empty.tab"), LegendFields, {}));
    EXPECT_EQ(ReadTable(dir.File("empty.tab")), LegendNames + " / / / ");
    t = tabkit_c_open(dir.File("empty.tab").c_str(), 1);
    EXPECT_EQ(tabkit_c_read_feature(t, 1), nullptr);
    tabkit_c_close(t);
}

// Each column type as written and as read back, in the C locale and, where it
// is installed, under a decimal-comma locale: numbers always have a point.
TEST(TabKitTypes, EachTypeCodeComesBackWithItsTextForm)
{
    // The table format keeps no separate logical or small-integer column through
    // GDAL, and older writers no 64-bit integers: those come back as one
    // character, integer and text.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    CTempDir dir;
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        if (!std::setlocale(LC_NUMERIC, locale))
            continue;
        EXPECT_TRUE(WriteTable(dir.File("types.tab"),
                               {{"F", 5, 0, 0}, {"Dec", 4, 10, 3}, {"Dt", 6, 0, 0}, {"Tm", 8, 0, 0}, {"DTm", 9, 0, 0},
                                {"Flag", 7, 0, 0}, {"Small", 3, 0, 0}, {"Big", 10, 0, 0}, {"Short", 1, 5, 0},
                                {"I", 2, 0, 0}, {"F0", 5, 0, 0}, {"S", 1, 10, 0}},
                               {{"10.5", "3.14159", "2020/01/31", "10:20:30", "2020/01/31 10:20:30", "T", "-12",
                                 "12345678901", "abcdefgh", "", "", ""}}));
        EXPECT_EQ(ReadTable(dir.File("types.tab")),
                  "F:5 Dec:4 Dt:6 Tm:8 DTm:9 Flag:1 Small:2 Big:1 Short:1 I:2 F0:5 S:1 / 1 / 0 / "
                  "10.5,3.142,2020/01/31,10:20:30,2020/01/31 10:20:30,T,-12,12345678901,abcde,0,0,")
            << locale;
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(TabKitFailures, MissingFilesUnknownFormatsAndBadIndicesGiveNullOrEmpty)
{
    CTempDir dir;
    EXPECT_EQ(tabkit_c_open(dir.File("none.tab").c_str(), 1), nullptr);
    EXPECT_EQ(Create(dir.File("no/such/folder/x.tab")), nullptr);
    EXPECT_EQ(tabkit_c_create(dir.File("x.qqq").c_str(), "qqq", 0, 0, 0, 0, 0, 1), nullptr);
    // Null handles are harmless everywhere.
    EXPECT_EQ(Join(tabkit_c_get_field_count(nullptr), tabkit_c_get_feature_count(nullptr), tabkit_c_close(nullptr),
                   tabkit_c_next_feature_id(nullptr, -1), tabkit_c_get_type(nullptr)),
              "0 0 0 -1 -1");
    EXPECT_TRUE(!tabkit_c_get_field_name(nullptr, 0) && !tabkit_c_read_feature(nullptr, 1));
    EXPECT_STREQ(tabkit_c_get_field_as_string(nullptr, 0), "");
    tabkit_c_destroy_feature(nullptr);

    ASSERT_TRUE(WriteTable(dir.File("one.tab"), TextField, {{"a"}, {"b"}}));
    TabKitTable* t = tabkit_c_open(dir.File("one.tab").c_str(), 1);
    ASSERT_NE(t, nullptr);
    EXPECT_TRUE(!tabkit_c_get_field_name(t, 1) && !tabkit_c_read_feature(t, 0) && !tabkit_c_read_feature(t, 3));
    EXPECT_EQ(Join(tabkit_c_get_field_type(t, -1), tabkit_c_next_feature_id(t, 2)), "-1 -1");
    TabKitFeature* f = tabkit_c_read_feature(t, 2);
    EXPECT_EQ(std::string(tabkit_c_get_field_as_string(f, -1)) + "|" + tabkit_c_get_field_as_string(f, 1) +
                  "|" + tabkit_c_get_field_as_string(f, 0),
              "||b");
    tabkit_c_destroy_feature(f);
    tabkit_c_close(t);
}

TEST(TabKitCreate, ReplacesOnlyWhenAskedAndOnlyNamesWithTheFormatsExtension)
{
    CTempDir dir;
    for (const char* name : {"plain", "x.tb", "x.tab.bak", ".tab", "sub.tab/x"})
        EXPECT_EQ(Create(dir.File(name)), nullptr) << name;
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    const std::string path = dir.File("with space.TAB");
    ASSERT_TRUE(WriteTable(path, TextField, {{"old"}, {"old2"}}));
    EXPECT_EQ(tabkit_c_create(path.c_str(), "TAB", 0, 0, 0, 0, 0, 0), nullptr);
    ASSERT_TRUE(WriteTable(path, {{"B", 2, 0, 0}}, {{"5"}}));
    EXPECT_EQ(ReadTable(path), "B:2 / 1 / 0 / 5");
}

TEST(TabKitCreate, FieldsCannotBeAddedAfterTheCommit)
{
    CTempDir dir;
    TabKitTable* t = Create(dir.File("c.tab"));
    ASSERT_NE(t, nullptr);
    const int added = tabkit_c_add_field(t, "A", 1, 10, 0, 0, 0), committed = tabkit_c_commit_fields(t);
    const int late = tabkit_c_add_field(t, "B", 1, 10, 0, 0, 0), again = tabkit_c_commit_fields(t);
    TabKitFeature* f = tabkit_c_create_feature(t, 0);
    const int noField = tabkit_c_set_field(f, 1, "x"), field = tabkit_c_set_field(f, 0, "x");
    // The same feature written twice is two records.
    const int first = tabkit_c_write_feature(t, f), second = tabkit_c_write_feature(t, f);
    tabkit_c_destroy_feature(f);
    const int fields = tabkit_c_get_field_count(t), features = tabkit_c_get_feature_count(t);
    EXPECT_EQ(Join(added, committed, late, again, noField, field, first, second, fields, features, tabkit_c_close(t)),
              "1 1 0 0 0 1 1 1 1 2 1");
    EXPECT_EQ(Rows(dir.File("c.tab")), "x|x");
}

TEST(TabKitForeignTables, TablesMadeByOgr2OgrOrWithoutSideFilesRead)
{
    CTempDir dir;
    // The export of all legends removes the .id and .map files the writer makes.
    ASSERT_TRUE(WriteTable(dir.File("bare.tab"), TextField, {{"kept"}}));
    EXPECT_TRUE(std::filesystem::remove(dir.File("bare.id")) && std::filesystem::remove(dir.File("bare.map")));
    EXPECT_EQ(ReadTable(dir.File("bare.tab")), "A:1 / 1 / 0 / kept");
    SKIP_WITHOUT_OGR2OGR();
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "made", "name,count,ratio,day\nalpha,3,0.5,2021/02/03\nbeta,-4,,\n",
                               "String(20),Integer,Real,Date\n"));
    EXPECT_EQ(ReadTable(dir.File("made.tab")),
              "name:1 count:2 ratio:5 day:6 / 1 2 / 0 0 / alpha,3,0.5,2021/02/03|beta,-4,0,");
}

namespace {

// Makes a file immutable while it lives (even root can then neither rename nor
// replace it); m_Works is false where the file system has no such flag.
struct CImmutable {
    explicit CImmutable(std::string path) : m_Path(std::move(path)) {}
    ~CImmutable()
    {
        if (m_Works) [[maybe_unused]]
            const int rc = std::system(("chattr -i '" + m_Path + "'").c_str());
    }
    std::string m_Path;
    bool m_Works = std::system(("chattr +i '" + m_Path + "' 2>/dev/null").c_str()) == 0;
};

const std::string TableFiles = "t.dat t.id t.map t.tab";

} // namespace

TEST(TabKitOpen, FilesThatAreNoTableAreRefusedAtOnceWithTheReason)
{
    CTempDir dir;
    ASSERT_TRUE(WriteTable(dir.File("good.tab"), TextField, {{"a"}, {"b"}}));
    for (const std::string stem : {"fifo_dat", "cut"})
        for (const char* ext : {".tab", ".map", ".id"})
            std::filesystem::copy_file(dir.File("good" + std::string(ext)), dir.File(stem + ext));
    ASSERT_EQ(::mkfifo(dir.File("fifo_dat.dat").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo.tab").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.File("folder.tab"));
    const std::string dat = ReadTextFile(dir.File("good.dat"));
    WriteTextFile(dir.File("cut.dat"), dat.substr(0, dat.size() - 5));
    WriteTextFile(dir.File("text.tab"), "no table\n");
    // The reason follows the folder's path when it starts with '/'.
    const std::pair<const char*, std::string> cases[] = {
        {"good.tab", ""},
        {"none.tab", std::strerror(ENOENT)},
        {"fifo.tab", "not a regular file"},
        {"folder.tab", std::strerror(EISDIR)},
        {"/dev/zero", "not a regular file"},
        {"fifo_dat.tab", "/fifo_dat.dat: not a regular file"},
        {"cut.tab", "ReadBytes(): Attempt to read past end of data block."},
        {"text.tab", "not a table"},
    };
    for (const auto& [name, reason] : cases) {
        TabKitTable* t = tabkit_c_open((name[0] == '/' ? name : dir.File(name)).c_str(), 1);
        EXPECT_EQ(tabkit_c_last_error(), reason[0] == '/' ? dir.Path() + reason : reason) << name;
        EXPECT_EQ(t != nullptr, reason.empty()) << name;
        tabkit_c_close(t);
    }
}

// Root may write any file, so the write runs in a child as nobody; what it
// reports comes back through a pipe ("skip" when it cannot be nobody).
std::string WrittenAsNobody(const std::string& folder, const std::function<std::string()>& write)
{
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0)
        return "skip";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        const bool dropped = ::geteuid() != 0 || (::setgroups(0, nullptr) == 0 &&
                                                  ::setresgid(65534, 65534, 65534) == 0 &&
                                                  ::setresuid(65534, 65534, 65534) == 0);
        const std::string said =
            dropped && ::access(folder.c_str(), W_OK | X_OK) == 0 ? write() : "skip";
        const ssize_t n = ::write(pipeEnds[1], said.data(), said.size());
        ::_exit(n == static_cast<ssize_t>(said.size()) ? 0 : 1);
    }
    ::close(pipeEnds[1]);
    std::string said;
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], buffer, sizeof buffer)) > 0;)
        said.append(buffer, static_cast<size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return child > 0 ? said : "skip";
}

// A file of the table that cannot be replaced (immutable) or written (read-only, tried as
// nobody) leaves the whole old table, and the error names that file.
TEST(TabKitReplace, AFileThatCannotBeReplacedOrWrittenLeavesTheWholeOldTable)
{
    const std::vector<std::string> files = {"t.dat", "t.id", "t.map", "t.tab"};
    int ran = 0;
    for (const std::string& locked : files) {
        SCOPED_TRACE(locked);
        CTempDir dir;
        const std::string path = dir.File("t.tab");
        ASSERT_TRUE(WriteTable(path, TextField, {{"old"}}));
        const std::string before = Contents(dir.Path());
        ASSERT_EQ(FolderNames(dir.Path()), TableFiles);
        if (CImmutable immutable(dir.File(locked)); immutable.m_Works) {
            EXPECT_FALSE(WriteTable(path, {{"B", 2, 0, 0}}, {{"1"}, {"2"}}));
            EXPECT_EQ(std::string(tabkit_c_last_error()) + "\n" + Contents(dir.Path()),
                      dir.File(locked) + ": " + std::strerror(EPERM) + "\n" + before);
            ++ran;
        }
        ::chmod(dir.Path().c_str(), 0777);
        for (const std::string& file : files)
            ::chmod(dir.File(file).c_str(), file == locked ? 0444 : 0666);
        const std::string said = WrittenAsNobody(dir.Path(), [&] {
            return WriteTable(path, {{"B", 2, 0, 0}}, {{"1"}}) ? std::string("written") : tabkit_c_last_error();
        });
        if (said != "skip") {
            EXPECT_EQ(said + "\n" + Contents(dir.Path()),
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
    std::filesystem::create_directory(dir.File("real"));
    const std::string target = dir.File("real/t.tab");
    ASSERT_TRUE(WriteTable(target, TextField, {{"old"}}));
    ::chmod(target.c_str(), 0640);
    ::chmod(dir.File("real/t.dat").c_str(), 0604);
    std::filesystem::create_symlink("real/t.tab", dir.File("l.tab"));

    // Through the link to its target, side files beside the target; the
    // replaced files keep their modes, and new files follow the umask.
    const mode_t oldMask = ::umask(077);
    const bool written = WriteTable(dir.File("l.tab"), {{"B", 1, 10, 0}}, {{"new"}});
    const bool fresh = WriteTable(dir.File("fresh.tab"), {{"B", 1, 10, 0}}, {{"new"}});
    ::umask(oldMask);
    ASSERT_TRUE(written && fresh);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("l.tab")));
    EXPECT_EQ(FolderNames(dir.Path()) + " / " + FolderNames(dir.File("real")),
              "fresh.dat fresh.id fresh.map fresh.tab l.tab real / " + TableFiles);
    EXPECT_EQ(Rows(dir.File("l.tab")), "new");
    std::string modes;
    for (const char* file : {"real/t.tab", "real/t.dat", "real/t.map", "fresh.tab", "fresh.dat"}) {
        struct stat st {};
        const int rc = ::stat(dir.File(file).c_str(), &st);
        modes += Join(rc, (st.st_mode >> 6 & 7) * 100 + (st.st_mode >> 3 & 7) * 10 + (st.st_mode & 7)) + " ";
    }
    EXPECT_EQ(modes, "0 640 0 604 0 644 0 600 0 600 ");

    // A table with a file of other names is refused before anything is written.
    std::filesystem::create_hard_link(dir.File("real/t.map"), dir.File("other.map"));
    const std::string before = Contents(dir.File("real"));
    EXPECT_EQ(Create(target), nullptr);
    EXPECT_EQ(tabkit_c_last_error(),
              dir.File("real/t.map") + ": has other hard links, which replacing the table would split");
    EXPECT_EQ(Contents(dir.File("real")), before);
}

TEST(TabKitReplace, TerminationWaitsUntilThePrivateFilesAreGone)
{
    CTempDir dir;
    const std::string path = dir.File("t.tab");
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
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
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << signal;
        EXPECT_EQ(FolderNames(dir.Path()) + " " + Rows(path), TableFiles + " " + std::to_string(signal));
    }
}
