#include "platform/tabkit.h"

#include "platform/ogrtables.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <csignal>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CFieldSpec {
    const char* name;
    int type;
    int width;
    int precision;
};

using Row = std::vector<std::string>;

// Writes a table and returns whether every call succeeded.
bool WriteTable(const std::string& path, const std::vector<CFieldSpec>& fields,
                const std::vector<Row>& rows)
{
    TabKitTable* t = tabkit_c_create(path.c_str(), "tab", 0, 0.0, 0.0, 0.0, 0.0, 1);
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

struct CReadBack {
    std::vector<std::string> names;
    std::vector<int> types;
    std::vector<int> ids;
    std::vector<int> geometryTypes;
    std::vector<Row> rows;
};

// Reads a table the way the legend code does: ids 1..count for the rows, and
// the next-id walk for the ids themselves.
std::optional<CReadBack> ReadTable(const std::string& path)
{
    TabKitTable* t = tabkit_c_open(path.c_str(), 1);
    if (!t)
        return std::nullopt;
    CReadBack r;
    const int fields = tabkit_c_get_field_count(t);
    for (int i = 0; i < fields; ++i) {
        r.names.emplace_back(tabkit_c_get_field_name(t, i));
        r.types.push_back(tabkit_c_get_field_type(t, i));
    }
    for (int id = tabkit_c_next_feature_id(t, -1); id != -1; id = tabkit_c_next_feature_id(t, id))
        r.ids.push_back(id);
    for (int id = 1; id <= tabkit_c_get_feature_count(t); ++id) {
        TabKitFeature* f = tabkit_c_read_feature(t, id);
        r.geometryTypes.push_back(tabkit_c_get_type(f));
        Row row;
        for (int i = 0; i < fields; ++i)
            row.emplace_back(tabkit_c_get_field_as_string(f, i));
        r.rows.push_back(row);
        tabkit_c_destroy_feature(f);
    }
    tabkit_c_close(t);
    return r;
}

const std::vector<CFieldSpec> LegendFields = {
    {"P_Name", 1, 80, 0},  {"P_From", 5, 0, 0},  {"P_To", 5, 0, 0},    {"P_Value", 1, 50, 0},
    {"P_Bpat", 2, 0, 0},   {"P_Bfcol", 2, 0, 0}, {"P_Bbcol", 2, 0, 0}, {"P_Psty", 2, 0, 0},
    {"P_Ppat", 2, 0, 0},   {"P_Pcol", 2, 0, 0},  {"Comments", 1, 254, 0}};

} // namespace

TEST(TabKitRoundTrip, WrittenTableReadsBackWithSameFieldsOrderAndTexts)
{
    CTempDir dir;
    const std::string path = dir.File("legend.tab");
    const std::vector<Row> rows = {
        {"Rock", "0", "10.5", "", "1", "16711680", "-1", "1", "2", "0", "first"},
        // Blanks at both ends, an 8-bit Windows-1252 byte and UTF-8 stay as they are.
        {"  Caf\xE9 r\xC3\xA9  ", "-0.25", "1e+20", "clay", "7", "255", "65280", "3", "5",
         "12345678", "2nd; with \\ backslash"},
        {"", "1234567.125", "-3", "x", "0", "0", "0", "0", "0", "0", ""},
    };
    ASSERT_TRUE(WriteTable(path, LegendFields, rows));

    const auto back = ReadTable(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->names,
              (std::vector<std::string>{"P_Name", "P_From", "P_To", "P_Value", "P_Bpat", "P_Bfcol",
                                        "P_Bbcol", "P_Psty", "P_Ppat", "P_Pcol", "Comments"}));
    EXPECT_EQ(back->types, (std::vector<int>{1, 5, 5, 1, 2, 2, 2, 2, 2, 2, 1}));
    EXPECT_EQ(back->ids, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(back->geometryTypes, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(back->rows, rows);
}

// Each column type as written and as read back, in the C locale and, where it
// is installed, under a decimal-comma locale: numbers always have a point.
TEST(TabKitTypes, EachTypeCodeComesBackWithItsTextForm)
{
    // The table format keeps no separate logical or small-integer column through
    // GDAL, and older writers no 64-bit integers: those come back as one
    // character, integer and text.
    const struct {
        CFieldSpec field;
        const char* written;
        int type;
        const char* read;
    } cases[] = {
        {{"F", 5, 0, 0}, "10.5", 5, "10.5"},
        {{"Dec", 4, 10, 3}, "3.14159", 4, "3.142"},
        {{"Dt", 6, 0, 0}, "2020/01/31", 6, "2020/01/31"},
        {{"Tm", 8, 0, 0}, "10:20:30", 8, "10:20:30"},
        {{"DTm", 9, 0, 0}, "2020/01/31 10:20:30", 9, "2020/01/31 10:20:30"},
        {{"Flag", 7, 0, 0}, "T", 1, "T"},
        {{"Small", 3, 0, 0}, "-12", 2, "-12"},
        {{"Big", 10, 0, 0}, "12345678901", 1, "12345678901"},
        {{"Short", 1, 5, 0}, "abcdefgh", 1, "abcde"},
        {{"I", 2, 0, 0}, "", 2, "0"},
        {{"F", 5, 0, 0}, "", 5, "0"},
        {{"S", 1, 10, 0}, "", 1, ""},
    };
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    CTempDir dir;
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        if (!std::setlocale(LC_NUMERIC, locale))
            continue;
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(locale) + " " + c.field.name + " " + c.written);
            const bool written = WriteTable(dir.File("types.tab"), {c.field}, {{c.written}});
            const auto back = ReadTable(dir.File("types.tab"));
            EXPECT_TRUE(written);
            EXPECT_EQ(back ? back->types : std::vector<int>{}, std::vector<int>{c.type});
            EXPECT_EQ(back ? back->rows : std::vector<Row>{}, std::vector<Row>{{c.read}});
        }
    }
    std::setlocale(LC_NUMERIC, previous.c_str());
}

TEST(TabKitFeatures, TextsOfOneFeatureStayValidTogether)
{
    CTempDir dir;
    const std::string path = dir.File("texts.tab");
    ASSERT_TRUE(WriteTable(path, {{"A", 5, 0, 0}, {"B", 2, 0, 0}, {"C", 5, 0, 0}},
                           {{"1.5", "42", "-7.25"}}));
    TabKitTable* t = tabkit_c_open(path.c_str(), 1);
    ASSERT_NE(t, nullptr);
    TabKitFeature* f = tabkit_c_read_feature(t, 1);
    const char* a = tabkit_c_get_field_as_string(f, 0);
    const char* b = tabkit_c_get_field_as_string(f, 1);
    const char* c = tabkit_c_get_field_as_string(f, 2);
    EXPECT_STREQ(a, "1.5");
    EXPECT_STREQ(b, "42");
    EXPECT_STREQ(c, "-7.25");
    tabkit_c_destroy_feature(f);
    tabkit_c_close(t);
}

TEST(TabKitFeatures, TableWithoutFeaturesHasNoIds)
{
    CTempDir dir;
    const std::string path = dir.File("empty.tab");
    ASSERT_TRUE(WriteTable(path, LegendFields, {}));
    TabKitTable* t = tabkit_c_open(path.c_str(), 1);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(tabkit_c_get_field_count(t), 11);
    EXPECT_EQ(tabkit_c_get_feature_count(t), 0);
    EXPECT_EQ(tabkit_c_next_feature_id(t, -1), -1);
    EXPECT_EQ(tabkit_c_read_feature(t, 1), nullptr);
    tabkit_c_close(t);
}

TEST(TabKitFailures, MissingFilesUnknownFormatsAndBadIndicesGiveNullOrEmpty)
{
    CTempDir dir;
    EXPECT_EQ(tabkit_c_open(dir.File("none.tab").c_str(), 1), nullptr);
    EXPECT_EQ(tabkit_c_create(dir.File("no/such/folder/x.tab").c_str(), "tab", 0, 0, 0, 0, 0, 1),
              nullptr);
    EXPECT_EQ(tabkit_c_create(dir.File("x.qqq").c_str(), "qqq", 0, 0, 0, 0, 0, 1), nullptr);

    // Null handles are harmless everywhere.
    EXPECT_EQ(tabkit_c_get_field_count(nullptr), 0);
    EXPECT_EQ(tabkit_c_get_field_name(nullptr, 0), nullptr);
    EXPECT_EQ(tabkit_c_get_feature_count(nullptr), 0);
    EXPECT_EQ(tabkit_c_next_feature_id(nullptr, -1), -1);
    EXPECT_EQ(tabkit_c_read_feature(nullptr, 1), nullptr);
    EXPECT_EQ(tabkit_c_get_type(nullptr), -1);
    EXPECT_STREQ(tabkit_c_get_field_as_string(nullptr, 0), "");
    EXPECT_EQ(tabkit_c_close(nullptr), 0);
    tabkit_c_destroy_feature(nullptr);

    const std::string path = dir.File("one.tab");
    ASSERT_TRUE(WriteTable(path, {{"A", 1, 10, 0}}, {{"a"}, {"b"}}));
    TabKitTable* t = tabkit_c_open(path.c_str(), 1);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(tabkit_c_get_field_name(t, 1), nullptr);
    EXPECT_EQ(tabkit_c_get_field_type(t, -1), -1);
    EXPECT_EQ(tabkit_c_read_feature(t, 0), nullptr);
    EXPECT_EQ(tabkit_c_read_feature(t, 3), nullptr);
    EXPECT_EQ(tabkit_c_next_feature_id(t, 2), -1);
    TabKitFeature* f = tabkit_c_read_feature(t, 2);
    EXPECT_STREQ(tabkit_c_get_field_as_string(f, -1), "");
    EXPECT_STREQ(tabkit_c_get_field_as_string(f, 1), "");
    EXPECT_STREQ(tabkit_c_get_field_as_string(f, 0), "b");
    tabkit_c_destroy_feature(f);
    tabkit_c_close(t);
}

TEST(TabKitCreate, AnExistingTableIsReplacedOnlyWhenAsked)
{
    CTempDir dir;
    const std::string path = dir.File("again.TAB");
    ASSERT_TRUE(WriteTable(path, {{"A", 1, 10, 0}}, {{"old"}, {"old2"}}));
    EXPECT_EQ(tabkit_c_create(path.c_str(), "TAB", 0, 0, 0, 0, 0, 0), nullptr);
    ASSERT_TRUE(WriteTable(path, {{"B", 2, 0, 0}}, {{"5"}}));
    const auto back = ReadTable(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->names, (std::vector<std::string>{"B"}));
    EXPECT_EQ(back->rows, (std::vector<Row>{{"5"}}));
}

TEST(TabKitCreate, NameWithoutTheFormatsExtensionIsRefusedAndLeavesNothing)
{
    CTempDir dir;
    for (const char* name : {"plain", "x.tb", "x.tab.bak", ".tab", "sub.tab/x"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(tabkit_c_create(dir.File(name).c_str(), "tab", 0, 0, 0, 0, 0, 1), nullptr);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
    TabKitTable* t = tabkit_c_create(dir.File("with space.Tab").c_str(), "tab", 0, 0, 0, 0, 0, 1);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(tabkit_c_close(t), 1);
    EXPECT_TRUE(std::filesystem::is_regular_file(dir.File("with space.Tab")));
}

TEST(TabKitCreate, FieldsCannotBeAddedAfterTheCommit)
{
    CTempDir dir;
    TabKitTable* t = tabkit_c_create(dir.File("c.tab").c_str(), "tab", 0, 0, 0, 0, 0, 1);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(tabkit_c_add_field(t, "A", 1, 10, 0, 0, 0), 1);
    EXPECT_EQ(tabkit_c_commit_fields(t), 1);
    EXPECT_EQ(tabkit_c_add_field(t, "B", 1, 10, 0, 0, 0), 0);
    EXPECT_EQ(tabkit_c_commit_fields(t), 0);
    EXPECT_EQ(tabkit_c_get_field_count(t), 1);
    TabKitFeature* f = tabkit_c_create_feature(t, 0);
    EXPECT_EQ(tabkit_c_set_field(f, 1, "x"), 0);
    EXPECT_EQ(tabkit_c_set_field(f, 0, "x"), 1);
    EXPECT_EQ(tabkit_c_write_feature(t, f), 1);
    // The same feature written twice is two records.
    EXPECT_EQ(tabkit_c_write_feature(t, f), 1);
    tabkit_c_destroy_feature(f);
    EXPECT_EQ(tabkit_c_get_feature_count(t), 2);
    EXPECT_EQ(tabkit_c_close(t), 1);
    const auto back = ReadTable(dir.File("c.tab"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rows, (std::vector<Row>{{"x"}, {"x"}}));
}

TEST(TabKitForeignTables, TableMadeByOgr2OgrReadsWithItsOwnTypes)
{
    SKIP_WITHOUT_OGR2OGR();
    CTempDir dir;
    ASSERT_TRUE(MakeTabFromCsv(dir.Path(), "made",
                               "name,count,ratio,day\nalpha,3,0.5,2021/02/03\nbeta,-4,,\n",
                               "String(20),Integer,Real,Date\n"));
    const auto back = ReadTable(dir.File("made.tab"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->names, (std::vector<std::string>{"name", "count", "ratio", "day"}));
    EXPECT_EQ(back->types, (std::vector<int>{1, 2, 5, 6}));
    EXPECT_EQ(back->ids, (std::vector<int>{1, 2}));
    EXPECT_EQ(back->rows,
              (std::vector<Row>{{"alpha", "3", "0.5", "2021/02/03"}, {"beta", "-4", "0", ""}}));
}

TEST(TabKitForeignTables, TableWithoutSideFilesStillOpens)
{
    // The export of all legends removes the .id and .map files the writer makes.
    CTempDir dir;
    const std::string path = dir.File("bare.tab");
    ASSERT_TRUE(WriteTable(path, {{"A", 1, 10, 0}}, {{"kept"}}));
    EXPECT_TRUE(std::filesystem::exists(dir.File("bare.dat")));
    std::filesystem::remove(dir.File("bare.id"));
    std::filesystem::remove(dir.File("bare.map"));
    const auto back = ReadTable(path);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rows, (std::vector<Row>{{"kept"}}));
}

namespace {

// A name listed in the folder that is no file of a table: nothing private is
// left behind once a table is written or refused.
std::vector<std::string> FolderNames(const std::string& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string Contents(const std::string& dir, const std::vector<std::string>& names)
{
    std::string all;
    for (const std::string& n : names)
        all += n + "=" + ReadTextFile(dir + "/" + n) + "\n";
    return all;
}

// Makes a file immutable while it lives (even root can then neither rename nor
// replace it); Works() is false where the file system has no such flag.
class CImmutable {
public:
    explicit CImmutable(std::string path) : m_Path(std::move(path))
    {
        m_Works = std::system(("chattr +i '" + m_Path + "' 2>/dev/null").c_str()) == 0;
    }
    ~CImmutable()
    {
        if (m_Works) [[maybe_unused]]
            const int rc = std::system(("chattr -i '" + m_Path + "'").c_str());
    }
    bool Works() const { return m_Works; }

private:
    std::string m_Path;
    bool m_Works = false;
};

const std::vector<std::string> TableFiles = {"t.dat", "t.id", "t.map", "t.tab"};

} // namespace

TEST(TabKitOpen, FilesThatAreNoTableAreRefusedAtOnceWithTheReason)
{
    CTempDir dir;
    ASSERT_TRUE(WriteTable(dir.File("good.tab"), {{"A", 1, 10, 0}}, {{"a"}, {"b"}}));
    for (const char* stem : {"fifo_dat", "cut"})
        for (const char* ext : {".tab", ".map", ".id"})
            std::filesystem::copy_file(dir.File(std::string("good") + ext),
                                       dir.File(std::string(stem) + ext));
    ASSERT_EQ(::mkfifo(dir.File("fifo_dat.dat").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.File("fifo.tab").c_str(), 0600), 0);
    std::filesystem::create_directory(dir.File("folder.tab"));
    const std::string dat = ReadTextFile(dir.File("good.dat"));
    WriteTextFile(dir.File("cut.dat"), dat.substr(0, dat.size() - 5));
    WriteTextFile(dir.File("text.tab"), "no table\n");

    const struct {
        const char* name;
        std::string reason; // after the folder's path, when it starts with '/'
    } cases[] = {
        {"good.tab", ""},
        {"none.tab", std::strerror(ENOENT)},
        {"fifo.tab", "not a regular file"},
        {"folder.tab", std::strerror(EISDIR)},
        {"/dev/zero", "not a regular file"},
        {"fifo_dat.tab", "/fifo_dat.dat: not a regular file"},
        {"cut.tab", "ReadBytes(): Attempt to read past end of data block."},
        {"text.tab", "not a table"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = c.name[0] == '/' ? c.name : dir.File(c.name);
        TabKitTable* t = tabkit_c_open(path.c_str(), 1);
        const std::string reason = tabkit_c_last_error();
        EXPECT_EQ(reason,
                  c.reason.empty() || c.reason[0] != '/' ? c.reason : dir.Path() + c.reason);
        EXPECT_EQ(t != nullptr, c.reason.empty());
        tabkit_c_close(t);
    }
}

TEST(TabKitReplace, AFileThatCannotBeReplacedLeavesTheWholeOldTable)
{
    for (const std::string& locked : TableFiles) {
        SCOPED_TRACE(locked);
        CTempDir dir;
        const std::string path = dir.File("t.tab");
        ASSERT_TRUE(WriteTable(path, {{"A", 1, 10, 0}}, {{"old"}}));
        ASSERT_EQ(FolderNames(dir.Path()), TableFiles);
        const std::string before = Contents(dir.Path(), TableFiles);
        CImmutable immutable(dir.File(locked));
        if (!immutable.Works())
            GTEST_SKIP() << "chattr +i does not work here";
        EXPECT_FALSE(WriteTable(path, {{"B", 2, 0, 0}}, {{"1"}, {"2"}}));
        EXPECT_EQ(std::string(tabkit_c_last_error()),
                  dir.File(locked) + ": " + std::strerror(EPERM));
        EXPECT_EQ(FolderNames(dir.Path()), TableFiles);
        EXPECT_EQ(Contents(dir.Path(), TableFiles), before);
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

TEST(TabKitReplace, AWriteProtectedFileOfTheTableIsRefusedAndNothingIsWritten)
{
    for (const std::string& locked : TableFiles) {
        SCOPED_TRACE(locked);
        CTempDir dir;
        const std::string path = dir.File("t.tab");
        ASSERT_TRUE(WriteTable(path, {{"A", 1, 10, 0}}, {{"old"}}));
        ::chmod(dir.Path().c_str(), 0777);
        for (const std::string& file : TableFiles)
            ::chmod(dir.File(file).c_str(), file == locked ? 0444 : 0666);
        const std::string before = Contents(dir.Path(), TableFiles);
        const std::string said = WrittenAsNobody(dir.Path(), [&] {
            return WriteTable(path, {{"B", 2, 0, 0}}, {{"1"}}) ? std::string("written")
                                                               : tabkit_c_last_error();
        });
        if (said == "skip")
            GTEST_SKIP() << "cannot run as a user without the right to write the file";
        EXPECT_EQ(said, dir.File(locked) + ": " + std::strerror(EACCES));
        EXPECT_EQ(FolderNames(dir.Path()), TableFiles);
        EXPECT_EQ(Contents(dir.Path(), TableFiles), before);
    }
}

TEST(TabKitReplace, LinksAndPermissionsOfTheOldTableStay)
{
    CTempDir dir;
    std::filesystem::create_directory(dir.File("real"));
    const std::string target = dir.File("real/t.tab");
    ASSERT_TRUE(WriteTable(target, {{"A", 1, 10, 0}}, {{"old"}}));
    ::chmod(target.c_str(), 0640);
    ::chmod(dir.File("real/t.dat").c_str(), 0604);
    std::filesystem::create_symlink("real/t.tab", dir.File("l.tab"));

    // Through the link to its target, side files beside the target; the
    // replaced files keep their modes, and new files follow the umask.
    const mode_t oldMask = ::umask(077);
    const bool written = WriteTable(dir.File("l.tab"), {{"B", 1, 10, 0}}, {{"new"}});
    const bool fresh = WriteTable(dir.File("fresh.tab"), {{"B", 1, 10, 0}}, {{"new"}});
    ::umask(oldMask);
    ASSERT_TRUE(written);
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.File("l.tab")));
    EXPECT_EQ(FolderNames(dir.Path()),
              (std::vector<std::string>{"fresh.dat", "fresh.id", "fresh.map", "fresh.tab", "l.tab",
                                        "real"}));
    EXPECT_EQ(FolderNames(dir.File("real")), TableFiles);
    const auto back = ReadTable(dir.File("l.tab"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rows, (std::vector<Row>{{"new"}}));
    const struct {
        const char* file;
        mode_t mode;
    } modes[] = {{"real/t.tab", 0640},
                 {"real/t.dat", 0604},
                 {"real/t.map", 0644},
                 {"fresh.tab", 0600},
                 {"fresh.dat", 0600}};
    for (const auto& m : modes) {
        struct stat st {};
        ASSERT_EQ(::stat(dir.File(m.file).c_str(), &st), 0) << m.file;
        EXPECT_EQ(st.st_mode & 07777, m.mode) << m.file;
    }

    // A table with a file of other names is refused before anything is written.
    std::filesystem::create_hard_link(dir.File("real/t.map"), dir.File("other.map"));
    const std::string before = Contents(dir.File("real"), TableFiles);
    EXPECT_EQ(tabkit_c_create(target.c_str(), "tab", 0, 0, 0, 0, 0, 1), nullptr);
    EXPECT_EQ(std::string(tabkit_c_last_error()),
              dir.File("real/t.map") +
                  ": has other hard links, which replacing the table would split");
    EXPECT_EQ(Contents(dir.File("real"), TableFiles), before);
    EXPECT_EQ(FolderNames(dir.File("real")), TableFiles);
}

TEST(TabKitReplace, TerminationWaitsUntilThePrivateFilesAreGone)
{
    CTempDir dir;
    const std::string path = dir.File("t.tab");
    for (const int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(signal);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::signal(signal, SIG_DFL);
            TabKitTable* t = tabkit_c_create(path.c_str(), "tab", 0, 0, 0, 0, 0, 1);
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
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        EXPECT_EQ(FolderNames(dir.Path()), TableFiles);
        const auto back = ReadTable(path);
        ASSERT_TRUE(back);
        EXPECT_EQ(back->rows, (std::vector<Row>{{std::to_string(signal)}}));
    }
}
