#include "platform/csettingsstore.h"

#include "platform/cfileio.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>

#include <sys/stat.h>

namespace {

constexpr const char* Organisation = "Ferrolin";
constexpr const char* OwnProduct = "Tessarin";

std::mutex g_ProfileMutex;
std::string g_ProfileProduct = OwnProduct;

bool EqualNoCase(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString FromBytes(const std::string& s)
{
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// The folder of the current user's or the machine's settings files, read from
// the environment each time: the XDG rule (first folder of XDG_CONFIG_DIRS for
// the machine) is what users and packagers of this program expect.
QString SettingsFolder(CSettingsStore::Hive hive)
{
    if (hive == CSettingsStore::Hive::CurrentUser)
        return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    const QString first =
        qEnvironmentVariable("XDG_CONFIG_DIRS").split(u':', Qt::SkipEmptyParts).value(0);
    return first.isEmpty() ? QLibraryInfo::path(QLibraryInfo::SettingsPath) : first;
}

// The entry of a folder whose name equals `name` without regard to case.
QString FindEntryNoCase(const QString& folder, const QString& name)
{
    const QDir dir(folder);
    if (dir.exists(name))
        return dir.filePath(name);
    for (const QString& entry : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        if (EqualNoCase(entry, name))
            return dir.filePath(entry);
    return {};
}

// Registry keys ignore case, file names do not: "quarvex" must find the file
// that "Quarvex" made.
QString ResolveFileCase(const QString& path)
{
    const QFileInfo file(path);
    if (file.exists())
        return path;
    const QFileInfo folder(file.path());
    const QString org = FindEntryNoCase(folder.path(), folder.fileName());
    if (org.isEmpty())
        return path;
    const QString found = FindEntryNoCase(org, file.fileName());
    return found.isEmpty() ? path : found;
}

// Why a settings file cannot be opened at all, or empty. QSettings would wait
// forever on a FIFO and read a device without end, so only a regular file (or
// none yet) is handed to it.
std::string Unusable(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT ? std::string() : std::strerror(errno);
    if (S_ISREG(st.st_mode))
        return {};
    return S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "not a regular file";
}

// Opens the one settings file of a key, never falling back to another: a
// registry key of the current user never shows the machine's values, nor those
// of another key of the same organisation. Nothing (and why, naming the file)
// when the file is not one QSettings may open.
std::unique_ptr<QSettings> Open(CSettingsStore::Hive hive, const CSettingsStore::Location& at,
                                std::string* why = nullptr)
{
    const QString path =
        ResolveFileCase(SettingsFolder(hive) + u'/' + FromBytes(at.organisation) + u'/' +
                        FromBytes(at.application) + QStringLiteral(".conf"));
    if (const std::string reason = Unusable(path); !reason.empty()) {
        if (why)
            *why = QFile::encodeName(path).toStdString() + ": " + reason;
        return nullptr;
    }
    auto settings = std::make_unique<QSettings>(path, QSettings::NativeFormat);
    settings->setFallbacksEnabled(false);
    return settings;
}

// QSettings writes a file back from the values it understood, so a line that is
// neither a section nor a setting (a comment, a stray word) would silently go.
// Its FormatError status cannot tell us: it is set only when the file is parsed,
// not when it comes from QSettings' cache. The first such line, or empty.
std::string LineThatWouldBeLost(const std::string& path)
{
    std::string text;
    if (!CFileIO::ReadAllChecked(path, text).Ok())
        return {}; // missing, or refused by Unusable() already
    const char* blanks = " \t\r\f\v";
    size_t number = 0;
    for (size_t pos = 0; pos < text.size();) {
        const size_t end = std::min(text.find('\n', pos), text.size());
        const std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        const size_t first = line.find_first_not_of(blanks);
        if (first == std::string::npos)
            continue;
        const std::string trimmed = line.substr(first, line.find_last_not_of(blanks) - first + 1);
        const bool kept = trimmed[0] == '[' ? trimmed.back() == ']'
                                            : trimmed[0] != ';' && trimmed[0] != '#' &&
                                                  trimmed.find('=') != std::string::npos;
        if (!kept)
            return "line " + std::to_string(number) + " (\"" + trimmed.substr(0, 40) +
                   "\") is not a setting";
    }
    return {};
}

// Enters the group path, matching each part without regard to case; false when
// a part does not exist (for reading) .
bool EnterExistingGroup(QSettings& s, const std::string& group)
{
    for (const QString& part : FromBytes(group).split(u'/', Qt::SkipEmptyParts)) {
        QString found;
        for (const QString& g : s.childGroups())
            if (EqualNoCase(g, part)) {
                found = g;
                break;
            }
        if (found.isEmpty())
            return false;
        s.beginGroup(found);
    }
    return true;
}

// Enters the group path for writing, reusing parts that exist in another case.
void EnterGroupForWrite(QSettings& s, const std::string& group)
{
    for (const QString& part : FromBytes(group).split(u'/', Qt::SkipEmptyParts)) {
        QString use = part;
        for (const QString& g : s.childGroups())
            if (EqualNoCase(g, part)) {
                use = g;
                break;
            }
        s.beginGroup(use);
    }
}

QString FindKey(QSettings& s, const std::string& name)
{
    const QString wanted = FromBytes(name);
    if (s.contains(wanted))
        return wanted;
    for (const QString& k : s.childKeys())
        if (EqualNoCase(k, wanted))
            return k;
    return {};
}

std::string ToBytes(const QVariant& v)
{
    // Text that is not valid UTF-8 is stored as a byte array so that it comes
    // back byte for byte.
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray().toStdString();
    // An unquoted hand-written value with commas reads as a list.
    if (v.typeId() == QMetaType::QStringList)
        return v.toStringList().join(u", ").toStdString();
    return v.toString().toStdString();
}

QVariant FromString(const std::string& value)
{
    const QByteArray bytes(value.data(), static_cast<qsizetype>(value.size()));
    const QString text = QString::fromUtf8(bytes);
    if (text.toUtf8() == bytes)
        return text;
    return bytes;
}

std::optional<std::string> ReadValue(CSettingsStore::Hive hive, const CSettingsStore::Location& at,
                                     const std::string& name)
{
    auto s = Open(hive, at);
    if (!s || !EnterExistingGroup(*s, at.group))
        return std::nullopt;
    const QString key = FindKey(*s, name);
    if (key.isEmpty())
        return std::nullopt;
    return ToBytes(s->value(key));
}

// Opens the file for a change; nothing, with the reason, when the file cannot be
// used or the change would lose lines of it (it is then left byte for byte).
std::unique_ptr<QSettings> OpenForWrite(CSettingsStore::Hive hive,
                                        const CSettingsStore::Location& at, std::string* why)
{
    auto s = Open(hive, at, why);
    if (!s)
        return nullptr;
    const std::string path = QFile::encodeName(s->fileName()).toStdString();
    if (const std::string line = LineThatWouldBeLost(path); !line.empty()) {
        if (why)
            *why = path + ": " + line + "; the file is left unchanged";
        return nullptr;
    }
    return s;
}

bool Synced(QSettings& s, std::string* why)
{
    s.sync();
    if (s.status() == QSettings::NoError)
        return true;
    if (why)
        *why = QFile::encodeName(s.fileName()).toStdString() + ": cannot be written";
    return false;
}

bool WriteValue(CSettingsStore::Hive hive, const CSettingsStore::Location& at,
                const std::string& name, const QVariant& value, std::string* why = nullptr)
{
    auto s = OpenForWrite(hive, at, why);
    if (!s)
        return false;
    EnterGroupForWrite(*s, at.group);
    QString key = FindKey(*s, name);
    if (key.isEmpty())
        key = FromBytes(name);
    s->setValue(key, value);
    return Synced(*s, why);
}

CSettingsStore::Location ProfileLocation(const std::string& section)
{
    CSettingsStore::Location at;
    at.organisation = Organisation;
    at.application = CSettingsStore::ProfileProduct();
    at.group = section;
    return at;
}

} // namespace

std::optional<CSettingsStore::Location> CSettingsStore::ParseKey(const std::string& registryKey)
{
    std::vector<std::string> parts;
    std::string part;
    for (char c : registryKey + '\\') {
        if (c == '\\' || c == '/') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    size_t first = 0;
    if (!parts.empty() && EqualNoCase(FromBytes(parts[0]), QStringLiteral("Software")))
        first = 1;
    if (parts.size() < first + 2)
        return std::nullopt;
    Location at;
    at.organisation = parts[first];
    at.application = parts[first + 1];
    for (size_t i = first + 2; i < parts.size(); ++i)
        at.group += (at.group.empty() ? "" : "/") + parts[i];
    return at;
}

std::optional<std::string> CSettingsStore::GetString(Hive hive, const std::string& registryKey,
                                                     const std::string& name)
{
    const auto at = ParseKey(registryKey);
    if (!at)
        return std::nullopt;
    return ReadValue(hive, *at, name);
}

bool CSettingsStore::SetString(Hive hive, const std::string& registryKey, const std::string& name,
                               const std::string& value, std::string* why)
{
    const auto at = ParseKey(registryKey);
    if (!at && why)
        *why = "\"" + registryKey + "\" names no settings file";
    return at && WriteValue(hive, *at, name, FromString(value), why);
}

bool CSettingsStore::RemoveValue(Hive hive, const std::string& registryKey,
                                 const std::string& name)
{
    const auto at = ParseKey(registryKey);
    if (!at)
        return false;
    auto s = OpenForWrite(hive, *at, nullptr);
    if (!s)
        return false;
    if (!EnterExistingGroup(*s, at->group))
        return true;
    const QString key = FindKey(*s, name);
    if (!key.isEmpty())
        s->remove(key);
    return Synced(*s, nullptr);
}

void CSettingsStore::SetProfileProduct(const std::string& product)
{
    std::lock_guard<std::mutex> lock(g_ProfileMutex);
    g_ProfileProduct = product.empty() ? OwnProduct : product;
}

std::string CSettingsStore::ProfileProduct()
{
    std::lock_guard<std::mutex> lock(g_ProfileMutex);
    return g_ProfileProduct;
}

std::string CSettingsStore::GetProfileString(const std::string& section, const std::string& entry,
                                             const std::string& defaultValue)
{
    return ReadValue(Hive::CurrentUser, ProfileLocation(section), entry).value_or(defaultValue);
}

bool CSettingsStore::WriteProfileString(const std::string& section, const std::string& entry,
                                        const std::string& value)
{
    return WriteValue(Hive::CurrentUser, ProfileLocation(section), entry, FromString(value));
}

uint32_t CSettingsStore::GetProfileInt(const std::string& section, const std::string& entry,
                                       uint32_t defaultValue)
{
    const auto text = ReadValue(Hive::CurrentUser, ProfileLocation(section), entry);
    if (!text)
        return defaultValue;
    bool ok = false;
    const qlonglong n = QString::fromStdString(*text).trimmed().toLongLong(&ok);
    return ok ? static_cast<uint32_t>(n) : defaultValue;
}

bool CSettingsStore::WriteProfileInt(const std::string& section, const std::string& entry,
                                     int32_t value)
{
    return WriteValue(Hive::CurrentUser, ProfileLocation(section), entry, QVariant(value));
}

std::optional<std::string> CSettingsStore::GetProfileBinary(const std::string& section,
                                                            const std::string& entry)
{
    auto s = Open(Hive::CurrentUser, ProfileLocation(section));
    if (!s || !EnterExistingGroup(*s, section))
        return std::nullopt;
    const QString key = FindKey(*s, entry);
    if (key.isEmpty())
        return std::nullopt;
    return s->value(key).toByteArray().toStdString();
}

bool CSettingsStore::WriteProfileBinary(const std::string& section, const std::string& entry,
                                        const std::string& bytes)
{
    return WriteValue(Hive::CurrentUser, ProfileLocation(section), entry,
                      QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::optional<std::string> GetCommonSetting(const std::string& name)
{
    if (auto v = CSettingsStore::GetString(CSettingsStore::Hive::CurrentUser, CommonSettingsKey,
                                           name))
        return v;
    return CSettingsStore::GetString(CSettingsStore::Hive::LocalMachine, CommonSettingsKey, name);
}

bool SetCommonSetting(const std::string& name, const std::string& value, std::string* why)
{
    return CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, CommonSettingsKey, name,
                                     value, why);
}

std::optional<std::string> GetProjectFolder(const std::string& product)
{
    const std::string key = std::string("Software\\") + Organisation + "\\" +
                            (product.empty() ? OwnProduct : product) + "\\Settings";
    auto folder = CSettingsStore::GetString(CSettingsStore::Hive::CurrentUser, key,
                                            "PROJECT_FOLDER");
    if (folder && !folder->empty() && folder->back() != '/')
        *folder += '/';
    return folder;
}
