#include "platform/tabkit.h"

#include "platform/cfileio.h"
#include "platform/cfilefacts.h"
#include "platform/cutext.h"

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal.h>
#include <ogr_api.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <locale.h>
#include <memory>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// The worst error GDAL reported inside the current TabKit call, and the text
// of its first failure: the first one names the cause, later ones its effects.
thread_local CPLErr g_WorstError = CE_None;
thread_local std::string g_FirstFailure;

// Why the last TabKit call that failed did so; "" after a success.
thread_local std::string g_LastError;

void CPL_STDCALL RecordError(CPLErr errorClass, CPLErrorNum, const char* message)
{
    g_WorstError = std::max(g_WorstError, errorClass);
    if (errorClass >= CE_Failure && g_FirstFailure.empty() && message)
        g_FirstFailure = message;
}

// Starts a call that can fail: its reason, if any, replaces the last one.
void Succeed()
{
    g_LastError.clear();
}

// Records why the current call failed (the first reason given wins); null,
// for the calls that hand out a handle.
std::nullptr_t Fail(const std::string& reason)
{
    if (g_LastError.empty())
        g_LastError = reason.empty() ? "unknown error" : reason;
    return nullptr;
}

// In the user's language even while a caller writes numbers under the C
// locale: the text is for the user's eyes.
std::string ErrnoText(int error)
{
    const locale_t previous = ::uselocale(LC_GLOBAL_LOCALE);
    std::string text = std::strerror(error);
    ::uselocale(previous);
    return text;
}

// GDAL reports problems on stderr by default; TabKit's callers expect a null
// handle or a 0 instead and show their own message, so every call runs quiet.
// The errors are still counted: a table reader that meets the end of a file
// cut short says so only there, and goes on with empty records.
class CQuietGdal {
public:
    CQuietGdal() : m_Outer(g_WorstError), m_OuterMessage(std::move(g_FirstFailure))
    {
        g_FirstFailure.clear();
        static std::once_flag registered;
        std::call_once(registered, [] { GDALAllRegister(); });
        CPLPushErrorHandler(RecordError);
        CPLErrorReset();
        g_WorstError = CE_None;
    }
    ~CQuietGdal()
    {
        CPLPopErrorHandler();
        g_WorstError = std::max(g_WorstError, m_Outer);
        if (!m_OuterMessage.empty())
            g_FirstFailure = std::move(m_OuterMessage);
    }
    CQuietGdal(const CQuietGdal&) = delete;
    CQuietGdal& operator=(const CQuietGdal&) = delete;

    // True once GDAL has reported a failure during this call.
    bool Failed() const { return g_WorstError >= CE_Failure; }
    // GDAL's text for the first failure in this call, or `otherwise`.
    std::string Reason(const std::string& otherwise) const
    {
        return g_FirstFailure.empty() ? otherwise : g_FirstFailure;
    }

private:
    CPLErr m_Outer;
    std::string m_OuterMessage;
};

bool DriverHasExtension(GDALDriverH driver, const std::string& extension)
{
    // Most drivers list every extension they handle in one space-separated item;
    // older ones only name their main extension.
    for (const char* item : {GDAL_DMD_EXTENSIONS, GDAL_DMD_EXTENSION}) {
        const char* list = GDALGetMetadataItem(driver, item, nullptr);
        if (!list)
            continue;
        char** words = CSLTokenizeString2(list, " ", 0);
        bool found = false;
        for (char** w = words; w && *w && !found; ++w)
            found = CUText::EqualNoCase(*w, extension);
        CSLDestroy(words);
        if (found)
            return true;
    }
    return false;
}

bool DriverSays(GDALDriverH driver, const char* capability)
{
    const char* value = GDALGetMetadataItem(driver, capability, nullptr);
    return value && CUText::EqualNoCase(value, "YES");
}

// The first vector driver that can create files with this extension.
GDALDriverH FindWriterByExtension(const std::string& extension)
{
    const int count = GDALGetDriverCount();
    for (int i = 0; i < count; ++i) {
        GDALDriverH driver = GDALGetDriver(i);
        if (DriverSays(driver, GDAL_DCAP_VECTOR) && DriverSays(driver, GDAL_DCAP_CREATE) &&
            DriverHasExtension(driver, extension))
            return driver;
    }
    return nullptr;
}

struct CPendingField {
    std::string name;
    int type = TABKIT_FIELD_CHAR;
    int width = 0;
    int precision = 0;
    bool indexed = false;
    bool unique = false;
};

int TypeCodeOf(OGRFieldDefnH field)
{
    switch (OGR_Fld_GetType(field)) {
    case OFTString:
    case OFTWideString:
    case OFTStringList:
    case OFTWideStringList:
    case OFTIntegerList:
    case OFTInteger64List:
    case OFTRealList:
        // Lists come back as their text form, so the caller sees characters.
        return TABKIT_FIELD_CHAR;
    case OFTInteger:
        switch (OGR_Fld_GetSubType(field)) {
        case OFSTBoolean:
            return TABKIT_FIELD_LOGICAL;
        case OFSTInt16:
            return TABKIT_FIELD_SMALLINT;
        default:
            return TABKIT_FIELD_INTEGER;
        }
    case OFTInteger64:
        return TABKIT_FIELD_LARGEINT;
    case OFTReal:
        // A fixed width is what tells a decimal column from a float one.
        return OGR_Fld_GetWidth(field) > 0 ? TABKIT_FIELD_DECIMAL : TABKIT_FIELD_FLOAT;
    case OFTDate:
        return TABKIT_FIELD_DATE;
    case OFTTime:
        return TABKIT_FIELD_TIME;
    case OFTDateTime:
        return TABKIT_FIELD_DATETIME;
    default:
        return TABKIT_FIELD_UNKNOWN;
    }
}

OGRFieldDefnH MakeFieldDefn(const CPendingField& f)
{
    OGRFieldType type = OFTString;
    OGRFieldSubType subType = OFSTNone;
    int width = 0;
    int precision = 0;
    switch (f.type) {
    case TABKIT_FIELD_INTEGER:
        type = OFTInteger;
        break;
    case TABKIT_FIELD_SMALLINT:
        type = OFTInteger;
        subType = OFSTInt16;
        break;
    case TABKIT_FIELD_LARGEINT:
        type = OFTInteger64;
        break;
    case TABKIT_FIELD_DECIMAL:
        type = OFTReal;
        width = f.width > 0 ? f.width : 20;
        precision = std::clamp(f.precision, 0, std::max(width - 1, 0));
        break;
    case TABKIT_FIELD_FLOAT:
        // A width would turn the column into a fixed-point decimal one.
        type = OFTReal;
        break;
    case TABKIT_FIELD_DATE:
        type = OFTDate;
        break;
    case TABKIT_FIELD_TIME:
        type = OFTTime;
        break;
    case TABKIT_FIELD_DATETIME:
        type = OFTDateTime;
        break;
    case TABKIT_FIELD_LOGICAL:
        // The table format has no way in through OGR for its logical columns;
        // one character "T"/"F" is what they read back as anyway.
        type = OFTString;
        width = 1;
        break;
    default:
        // Character, and any code we do not know: text keeps whatever is set.
        type = OFTString;
        width = f.width > 0 ? f.width : 254;
        break;
    }
    OGRFieldDefnH defn = OGR_Fld_Create(f.name.c_str(), type);
    OGR_Fld_SetSubType(defn, subType);
    OGR_Fld_SetWidth(defn, width);
    OGR_Fld_SetPrecision(defn, precision);
    OGR_Fld_SetUnique(defn, f.unique ? TRUE : FALSE);
    return defn;
}

// The side files the table writer may make beside the main file.
constexpr const char* SideExtensions[] = {"dat", "map", "id", "ind"};

bool Exists(const std::string& path)
{
    return CFileFacts::Exists(path);
}

// The name without its ".tab" (the caller has checked it is there).
std::string StemOf(const std::string& tabPath)
{
    return tabPath.substr(0, tabPath.size() - 4);
}

std::string Upper(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool HasTabExtension(const std::string& path)
{
    return path.size() > 4 && CUText::EqualNoCase(path.substr(path.size() - 4), ".tab");
}

// The side files a table at tabPath may have, in either case: a reader takes
// whichever it finds.
std::vector<std::string> SideFilesOf(const std::string& tabPath)
{
    std::vector<std::string> files;
    const std::string stem = StemOf(tabPath);
    for (const char* ext : SideExtensions) {
        files.push_back(stem + "." + ext);
        files.push_back(stem + "." + Upper(ext));
    }
    return files;
}

// Whether a table's file can be read: a FIFO would block the reader and a
// device feed it without end, so anything but a regular file is refused at once.
bool CheckReadable(const std::string& path, const std::string& shownAs)
{
    CFileResult result;
    const int fd = CFileIO::OpenForReading(path, result);
    if (fd < 0) {
        Fail(shownAs + result.Reason());
        return false;
    }
    ::close(fd);
    return true;
}

bool SyncFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

void SyncFolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// A new table is written under a private name beside the one it replaces; a
// placeholder file with the bare name keeps that name ours.
struct CTempTable {
    std::string placeholder; // "<folder>/.tabkit-XXXXXX"
    std::string Main() const { return placeholder + ".tab"; }

    bool Reserve(const std::string& target)
    {
        const size_t slash = target.find_last_of('/');
        std::string pattern = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) +
                              ".tabkit-XXXXXX";
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0) {
            Fail(ErrnoText(errno));
            return false;
        }
        ::close(fd);
        placeholder = pattern;
        return true;
    }

    void Remove() const
    {
        if (placeholder.empty())
            return;
        VSIUnlink(Main().c_str());
        for (const char* ext : SideExtensions)
            VSIUnlink((placeholder + "." + ext).c_str());
        VSIUnlink(placeholder.c_str());
    }
};

// The written table holds what was written: the writer reports some failures
// only as a shorter file, which a second read would show as fewer records.
// (A table without records is not read back: one without fields, which the
// format cannot describe, would fail for nothing lost.)
bool ReadsBackWhole(const std::string& path, int features)
{
    if (features == 0)
        return true;
    CQuietGdal quiet;
    GDALDatasetH ds = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr,
                                 nullptr);
    if (!ds)
        return false;
    OGRLayerH layer = GDALDatasetGetLayerCount(ds) > 0 ? GDALDatasetGetLayer(ds, 0) : nullptr;
    bool ok = layer != nullptr;
    if (ok) {
        GIntBig count = 0;
        OGR_L_ResetReading(layer);
        while (OGRFeatureH f = OGR_L_GetNextFeature(layer)) {
            ++count;
            OGR_F_Destroy(f);
        }
        ok = count == features && !quiet.Failed();
    }
    GDALClose(ds);
    return ok;
}

// Gives a new file the permissions and owner of the file it replaces; a new
// name keeps the umask's mode the writer gave it.
void KeepModeOf(const std::string& newFile, const CFileFacts::Facts& old)
{
    [[maybe_unused]] const int owner = ::chown(newFile.c_str(), old.owner, old.group);
    [[maybe_unused]] const int mode = ::chmod(newFile.c_str(), old.mode);
}

// Puts a complete table in place of the one at target, all files or none: the
// old files are first moved aside under private names, then the new ones take
// their names, and only then are the old ones removed. Any rename that fails
// puts back what was moved, so the old table stays byte for byte. Side files of
// the old table that the new one lacks go too (a reader would take an old
// ".DAT" before a new ".dat").
bool SwapIn(const CTempTable& temp, const std::string& target)
{
    if (!SyncFile(temp.Main()))
        return Fail(ErrnoText(errno)), false;
    struct CMove {
        std::string from, to;
    };
    std::vector<CMove> installs; // new file -> its final name
    const std::string stem = StemOf(target);
    const CFileFacts::Facts oldMain = CFileFacts::Of(target);
    const bool mainExisted = oldMain.Exists();
    for (const char* ext : SideExtensions) {
        const std::string from = temp.placeholder + "." + ext;
        if (!Exists(from))
            continue;
        const std::string to = stem + "." + ext;
        if (const CFileFacts::Facts old = CFileFacts::Of(to); old.Exists())
            KeepModeOf(from, old);
        else if (mainExisted)
            KeepModeOf(from, oldMain);
        if (!SyncFile(from))
            return Fail(ErrnoText(errno)), false;
        installs.push_back({from, to});
    }
    if (mainExisted)
        KeepModeOf(temp.Main(), oldMain);
    installs.push_back({temp.Main(), target});

    std::vector<std::string> olds = SideFilesOf(target);
    olds.push_back(target);
    std::vector<CMove> asides; // old file -> its private name
    auto rollBack = [&](size_t installed) {
        for (size_t i = installed; i-- > 0;)
            ::rename(installs[i].to.c_str(), installs[i].from.c_str());
        for (size_t i = asides.size(); i-- > 0;)
            ::rename(asides[i].to.c_str(), asides[i].from.c_str());
    };
    for (const std::string& old : olds) {
        if (!CFileFacts::OfLink(old).Exists())
            continue;
        const std::string aside = temp.placeholder + ".old" + std::to_string(asides.size());
        if (::rename(old.c_str(), aside.c_str()) != 0) {
            Fail(old + ": " + ErrnoText(errno));
            rollBack(0);
            return false;
        }
        asides.push_back({old, aside});
    }
    for (size_t i = 0; i < installs.size(); ++i) {
        if (::rename(installs[i].from.c_str(), installs[i].to.c_str()) != 0) {
            Fail(installs[i].to + ": " + ErrnoText(errno));
            rollBack(i);
            return false;
        }
    }
    for (const CMove& m : asides)
        ::unlink(m.to.c_str());
    SyncFolderOf(target);
    return true;
}

} // namespace

struct TabKitTable {
    GDALDatasetH dataset = nullptr;
    OGRLayerH layer = nullptr;
    bool writing = false;
    bool committed = false;
    std::vector<std::string> names;
    std::vector<int> types;
    std::vector<CPendingField> pending;
    // Feature n (counted from 1) is entry n - 1; drivers number their own ids
    // from 0 or 1 and skip deleted records, so the file's ids are not ours.
    std::vector<GIntBig> fids;
    // Filled instead of using the ids when the driver cannot seek to a feature.
    std::vector<OGRFeatureH> cached;
    int written = 0;
    // A write that went wrong: close then keeps the table it would replace,
    // and tells why.
    bool failed = false;
    std::string failure;
    // The file replaced (a link's target), and the private name written meanwhile.
    std::string targetPath;
    CTempTable temp;
    // Termination waits while the private files exist.
    std::unique_ptr<CTerminationHold> hold;

    void ReadFieldList()
    {
        names.clear();
        types.clear();
        OGRFeatureDefnH defn = OGR_L_GetLayerDefn(layer);
        const int n = OGR_FD_GetFieldCount(defn);
        for (int i = 0; i < n; ++i) {
            OGRFieldDefnH field = OGR_FD_GetFieldDefn(defn, i);
            names.emplace_back(OGR_Fld_GetNameRef(field));
            types.push_back(TypeCodeOf(field));
        }
    }
};

struct TabKitFeature {
    OGRFeatureH feature = nullptr;
    // Texts handed out, one slot per field, so that each stays valid while the
    // feature lives (GDAL reuses one buffer for every formatted number).
    std::vector<std::string> texts;
    std::vector<char> formatted;
};

extern "C" {

const char* tabkit_c_last_error(void)
{
    return g_LastError.c_str();
}

TabKitTable* tabkit_c_open(const char* fileName, int /*readOnly*/)
{
    Succeed();
    if (!fileName || !*fileName)
        return Fail(ErrnoText(ENOENT));
    // The side files of a table named through a symbolic link lie beside the
    // link's target, where a save through the link puts them.
    std::string name;
    int linkError = 0;
    if (!CFileIO::FollowLinks(fileName, name, linkError))
        return Fail(ErrnoText(linkError));
    if (!CheckReadable(name, ""))
        return nullptr;
    if (HasTabExtension(name))
        for (const std::string& side : SideFilesOf(name))
            if (Exists(side) && !CheckReadable(side, side + ": "))
                return nullptr;
    CQuietGdal quiet;
    GDALDatasetH ds =
        GDALOpenEx(name.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    if (!ds)
        return Fail(quiet.Reason("not a table"));
    OGRLayerH layer = GDALDatasetGetLayerCount(ds) > 0 ? GDALDatasetGetLayer(ds, 0) : nullptr;
    if (!layer) {
        GDALClose(ds);
        return Fail("not a table");
    }
    auto* table = new TabKitTable;
    table->dataset = ds;
    table->layer = layer;
    table->ReadFieldList();

    const bool seekable = OGR_L_TestCapability(layer, OLCRandomRead) != 0;
    OGR_L_ResetReading(layer);
    while (OGRFeatureH f = OGR_L_GetNextFeature(layer)) {
        if (seekable) {
            table->fids.push_back(OGR_F_GetFID(f));
            OGR_F_Destroy(f);
        } else {
            table->cached.push_back(f);
        }
    }
    if (!seekable)
        table->fids.assign(table->cached.size(), OGRNullFID);
    if (quiet.Failed()) {
        // A data file cut short reads as empty records; a table missing its
        // end is no table to take rows from.
        const std::string reason = quiet.Reason("the table is damaged");
        for (OGRFeatureH f : table->cached)
            OGR_F_Destroy(f);
        GDALClose(ds);
        delete table;
        return Fail(reason);
    }
    return table;
}

TabKitTable* tabkit_c_create(const char* fileName, const char* format, int /*projection*/,
                             double minX, double minY, double maxX, double maxY, int replace)
{
    Succeed();
    if (!fileName || !*fileName || !format)
        return Fail(ErrnoText(ENOENT));
    // The table writer turns a name without the format's extension into a
    // folder holding a table of that name, which nobody could open by the name
    // given; such a name is refused instead.
    const std::string suffix = std::string(".") + format;
    std::string name = fileName;
    const size_t slash = name.find_last_of('/');
    const std::string leaf = slash == std::string::npos ? name : name.substr(slash + 1);
    if (leaf.size() <= suffix.size() || !CUText::EqualNoCase(leaf.substr(leaf.size() - suffix.size()), suffix))
        return Fail("the name does not end in \"" + suffix + "\"");
    // A table named through a symbolic link is written where the link points,
    // side files included, and the link stays.
    int linkError = 0;
    if (!CFileIO::FollowLinks(fileName, name, linkError))
        return Fail(ErrnoText(linkError));
    CQuietGdal quiet;
    GDALDriverH driver = FindWriterByExtension(format);
    if (!driver)
        return Fail("no writer for \"" + suffix + "\" files");

    if (const CFileFacts::Facts existing = CFileFacts::Of(name); existing.Exists()) {
        if (!replace)
            return Fail(ErrnoText(EEXIST));
        // Every file of the old table must be one the swap can replace.
        std::vector<std::string> files = SideFilesOf(name);
        files.push_back(name);
        for (const std::string& file : files) {
            const CFileFacts::Facts fs = CFileFacts::OfLink(file);
            if (!fs.Exists())
                continue;
            if (fs.kind != CFileFacts::Kind::File)
                return Fail(file + ": " + (fs.kind == CFileFacts::Kind::Folder
                                               ? ErrnoText(EISDIR)
                                               : "not a regular file"));
            // Replacing a table renames new files over the old ones, which
            // would leave other names of a file with the old content.
            if (fs.links > 1)
                return Fail(file + ": has other hard links, which replacing the table would split");
            // The new files are renamed over the old ones, which the folder's
            // rights alone allow: a write-protected file would be replaced.
            errno = 0;
            if (!CFileFacts::IsWritable(file))
                return Fail(file + ": " + ErrnoText(errno ? errno : EACCES));
        }
    } else if (existing.error != ENOENT) {
        return Fail(ErrnoText(existing.error));
    }

    // The old table stays as it is until the new one is complete (see close),
    // and an interrupted program leaves no private files behind.
    auto hold = std::make_unique<CTerminationHold>();
    CTempTable temp;
    if (!temp.Reserve(name))
        return nullptr;
    GDALDatasetH ds = GDALCreate(driver, temp.Main().c_str(), 0, 0, 0, GDT_Unknown, nullptr);
    if (!ds) {
        temp.Remove();
        return Fail(quiet.Reason("the table could not be created"));
    }

    char** options = nullptr;
    if (minX < maxX && minY < maxY) {
        const std::string bounds = std::string(CPLSPrintf("%.17g,%.17g,%.17g,%.17g", minX, minY,
                                                          maxX, maxY));
        options = CSLSetNameValue(options, "BOUNDS", bounds.c_str());
    }
    const std::string layerName = CPLGetBasename(name.c_str());
    OGRLayerH layer = GDALDatasetCreateLayer(ds, layerName.c_str(), nullptr, wkbNone, options);
    CSLDestroy(options);
    if (!layer) {
        const std::string reason = quiet.Reason("the table could not be created");
        GDALClose(ds);
        temp.Remove();
        return Fail(reason);
    }
    auto* table = new TabKitTable;
    table->dataset = ds;
    table->layer = layer;
    table->writing = true;
    table->targetPath = name;
    table->temp = temp;
    table->hold = std::move(hold);
    return table;
}

int tabkit_c_close(TabKitTable* table)
{
    Succeed();
    if (!table)
        return 0;
    // A failure of an earlier call is why this table is not stored.
    std::string earlier = table->failure;
    CQuietGdal quiet;
    if (table->writing && !table->committed && !tabkit_c_commit_fields(table))
        earlier = g_LastError;
    Succeed();
    for (OGRFeatureH f : table->cached)
        OGR_F_Destroy(f);
    GDALClose(table->dataset);
    bool ok = !quiet.Failed();
    if (!ok)
        Fail(quiet.Reason("the table could not be written"));
    if (table->writing) {
        if (ok && table->failed) {
            Fail(earlier);
            ok = false;
        }
        if (ok && !ReadsBackWhole(table->temp.Main(), table->written)) {
            Fail(quiet.Reason("the table could not be written whole"));
            ok = false;
        }
        ok = ok && SwapIn(table->temp, table->targetPath);
        table->temp.Remove();
    }
    delete table;
    return ok ? 1 : 0;
}

int tabkit_c_get_field_count(TabKitTable* table)
{
    return table ? static_cast<int>(table->names.size()) : 0;
}

const char* tabkit_c_get_field_name(TabKitTable* table, int field)
{
    if (!table || field < 0 || field >= static_cast<int>(table->names.size()))
        return nullptr;
    return table->names[static_cast<size_t>(field)].c_str();
}

int tabkit_c_get_field_type(TabKitTable* table, int field)
{
    if (!table || field < 0 || field >= static_cast<int>(table->types.size()))
        return -1;
    return table->types[static_cast<size_t>(field)];
}

int tabkit_c_get_feature_count(TabKitTable* table)
{
    if (!table)
        return 0;
    return table->writing ? table->written : static_cast<int>(table->fids.size());
}

int tabkit_c_next_feature_id(TabKitTable* table, int previousId)
{
    const int count = tabkit_c_get_feature_count(table);
    if (previousId < 0)
        return count > 0 ? 1 : -1;
    return previousId < count ? previousId + 1 : -1;
}

TabKitFeature* tabkit_c_read_feature(TabKitTable* table, int id)
{
    Succeed();
    if (!table || table->writing || id < 1 || id > static_cast<int>(table->fids.size()))
        return Fail("no such record");
    CQuietGdal quiet;
    const size_t index = static_cast<size_t>(id - 1);
    OGRFeatureH f = table->cached.empty() ? OGR_L_GetFeature(table->layer, table->fids[index])
                                          : OGR_F_Clone(table->cached[index]);
    if (!f)
        return Fail(quiet.Reason("the record could not be read"));
    auto* feature = new TabKitFeature;
    feature->feature = f;
    const size_t fields = static_cast<size_t>(OGR_F_GetFieldCount(f));
    feature->texts.resize(fields);
    feature->formatted.assign(fields, 0);
    return feature;
}

int tabkit_c_get_type(TabKitFeature* feature)
{
    if (!feature || !feature->feature)
        return TABKIT_GEOMETRY_INVALID;
    OGRGeometryH g = OGR_F_GetGeometryRef(feature->feature);
    if (!g)
        return TABKIT_GEOMETRY_NONE;
    return static_cast<int>(wkbFlatten(OGR_G_GetGeometryType(g)));
}

const char* tabkit_c_get_field_as_string(TabKitFeature* feature, int field)
{
    if (!feature || !feature->feature || field < 0 ||
        field >= static_cast<int>(feature->texts.size()))
        return "";
    const size_t i = static_cast<size_t>(field);
    if (!feature->formatted[i]) {
        std::string& text = feature->texts[i];
        if (OGR_F_IsFieldSetAndNotNull(feature->feature, field)) {
            OGRFieldDefnH defn = OGR_F_GetFieldDefnRef(feature->feature, field);
            if (OGR_Fld_GetType(defn) == OFTInteger && OGR_Fld_GetSubType(defn) == OFSTBoolean)
                text = OGR_F_GetFieldAsInteger(feature->feature, field) ? "T" : "F";
            else
                text = OGR_F_GetFieldAsString(feature->feature, field);
        }
        feature->formatted[i] = 1;
    }
    return feature->texts[i].c_str();
}

void tabkit_c_destroy_feature(TabKitFeature* feature)
{
    if (!feature)
        return;
    if (feature->feature)
        OGR_F_Destroy(feature->feature);
    delete feature;
}

int tabkit_c_add_field(TabKitTable* table, const char* name, int type, int width, int precision,
                       int indexed, int unique)
{
    if (!table || !table->writing || table->committed || !name || !*name)
        return 0;
    CPendingField f;
    f.name = name;
    f.type = type;
    f.width = width;
    f.precision = precision;
    f.indexed = indexed != 0;
    f.unique = unique != 0;
    table->pending.push_back(f);
    table->names.push_back(f.name);
    table->types.push_back(type);
    return 1;
}

int tabkit_c_commit_fields(TabKitTable* table)
{
    Succeed();
    if (!table || !table->writing || table->committed)
        return Fail("the fields are committed already"), 0;
    CQuietGdal quiet;
    table->committed = true;
    bool ok = true;
    for (const CPendingField& f : table->pending) {
        OGRFieldDefnH defn = MakeFieldDefn(f);
        bool created = OGR_L_CreateField(table->layer, defn, TRUE) == OGRERR_NONE;
        OGR_Fld_Destroy(defn);
        if (!created) {
            // Callers address fields by position, so a column the format cannot
            // hold (64-bit integers in older TAB writers) still has to exist:
            // as text it keeps every digit.
            CPendingField asText = f;
            asText.type = TABKIT_FIELD_CHAR;
            asText.width = f.width > 0 ? f.width : 20;
            defn = MakeFieldDefn(asText);
            created = OGR_L_CreateField(table->layer, defn, TRUE) == OGRERR_NONE;
            OGR_Fld_Destroy(defn);
        }
        ok = created && ok;
    }
    // A refused column that came in as text is no failure of the table.
    if (!ok) {
        table->failed = true;
        table->failure = quiet.Reason("a field could not be created");
        Fail(table->failure);
    }
    // The driver may have adjusted names; callers address fields by index, but
    // the names they read back should be the stored ones.
    table->ReadFieldList();
    for (const CPendingField& f : table->pending) {
        if (!f.indexed)
            continue;
        const std::string sql = std::string("CREATE INDEX ON \"") +
                                OGR_L_GetName(table->layer) + "\" USING \"" + f.name + "\"";
        OGRLayerH result = GDALDatasetExecuteSQL(table->dataset, sql.c_str(), nullptr, nullptr);
        if (result)
            GDALDatasetReleaseResultSet(table->dataset, result);
    }
    return ok ? 1 : 0;
}

TabKitFeature* tabkit_c_create_feature(TabKitTable* table, int /*geometryType*/)
{
    if (!table || !table->writing)
        return nullptr;
    if (!table->committed)
        tabkit_c_commit_fields(table);
    CQuietGdal quiet;
    auto* feature = new TabKitFeature;
    feature->feature = OGR_F_Create(OGR_L_GetLayerDefn(table->layer));
    const size_t fields = static_cast<size_t>(OGR_F_GetFieldCount(feature->feature));
    feature->texts.resize(fields);
    feature->formatted.assign(fields, 0);
    return feature;
}

int tabkit_c_set_field(TabKitFeature* feature, int field, const char* text)
{
    if (!feature || !feature->feature || field < 0 ||
        field >= OGR_F_GetFieldCount(feature->feature))
        return 0;
    CQuietGdal quiet;
    const char* value = text ? text : "";
    OGRFieldDefnH defn = OGR_F_GetFieldDefnRef(feature->feature, field);
    const OGRFieldType type = OGR_Fld_GetType(defn);
    if (type != OFTString && !*value) {
        // An empty text is no number; a format that knows nulls keeps it unset
        // instead of storing 0.
        OGR_F_SetFieldNull(feature->feature, field);
    } else {
        OGR_F_SetFieldString(feature->feature, field, value);
    }
    feature->formatted[static_cast<size_t>(field)] = 0;
    return 1;
}

int tabkit_c_write_feature(TabKitTable* table, TabKitFeature* feature)
{
    Succeed();
    if (!table || !table->writing || !feature || !feature->feature)
        return Fail("no table being written"), 0;
    CQuietGdal quiet;
    // The same feature may be written again as a new record.
    OGR_F_SetFID(feature->feature, OGRNullFID);
    if (OGR_L_CreateFeature(table->layer, feature->feature) != OGRERR_NONE || quiet.Failed()) {
        if (!table->failed)
            table->failure = quiet.Reason("a record could not be written");
        table->failed = true;
        return Fail(table->failure), 0;
    }
    ++table->written;
    return 1;
}

} // extern "C"
