#include "platform/csettingsstore.h"

#include "platform/cfileio.h"
#include "platform/cfilefacts.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>

#include <unistd.h>

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
    if (CFileFacts::Exists(QFile::encodeName(path).toStdString()))
        return path;
    const QFileInfo folder(file.path());
    const QString org = FindEntryNoCase(folder.path(), folder.fileName());
    if (org.isEmpty())
        return path;
    const QString found = FindEntryNoCase(org, file.fileName());
    return found.isEmpty() ? path : found;
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
    // QSettings would wait forever on a FIFO, read a device without end, and
    // show a file it may not read as an empty one (a setting would then look
    // unset and its default be used without a word): only a regular file we can
    // read, or none yet, is handed to it.
    CFileResult opened;
    if (const int fd = CFileIO::OpenForReading(QFile::encodeName(path).toStdString(), opened);
        fd >= 0)
        ::close(fd);
    else if (!opened.Missing()) {
        if (why)
            *why = QFile::encodeName(path).toStdString() + ": " + opened.Reason();
        return nullptr;
    }
    auto settings = std::make_unique<QSettings>(path, QSettings::NativeFormat);
    settings->setFallbacksEnabled(false);
    return settings;
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
                                     const std::string& name, std::string* why = nullptr)
{
    auto s = Open(hive, at, why);
    if (!s || !EnterExistingGroup(*s, at.group))
        return std::nullopt;
    const QString key = FindKey(*s, name);
    if (key.isEmpty())
        return std::nullopt;
    return ToBytes(s->value(key));
}

// One line of a settings file and what ended it: "\n", "\r\n", "\r" or nothing
// for a last line without an end.
struct CTextLine {
    std::string text;
    std::string end;
};

std::vector<CTextLine> SplitLines(const std::string& text)
{
    std::vector<CTextLine> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t stop = std::min(text.find_first_of("\r\n", pos), text.size());
        CTextLine line{text.substr(pos, stop - pos), {}};
        pos = stop;
        if (pos < text.size()) {
            const size_t length = text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
            line.end = text.substr(pos, length);
            pos += length;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string Trimmed(const std::string& s)
{
    const char* blanks = " \t\f\v";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

bool IsSectionLine(const std::string& trimmed)
{
    return !trimmed.empty() && trimmed.front() == '[' && trimmed.back() == ']';
}

// The key of a setting line as written in the file, or empty.
std::string KeyOfLine(const std::string& trimmed)
{
    if (trimmed.empty() || trimmed[0] == ';' || trimmed[0] == '#' || IsSectionLine(trimmed))
        return {};
    const size_t eq = trimmed.find('=');
    return eq == std::string::npos ? std::string() : Trimmed(trimmed.substr(0, eq));
}

// The section line and the setting line QSettings writes for one value: its
// own escaping and quoting of keys and values are then exactly what it reads.
bool FormatSetting(const QString& group, const QString& key, const QVariant& value,
                   std::string& section, std::string& line)
{
    const QTemporaryDir dir;
    if (!dir.isValid())
        return false;
    const QString path = dir.filePath(QStringLiteral("one.conf"));
    {
        QSettings s(path, QSettings::NativeFormat);
        if (!group.isEmpty())
            s.beginGroup(group);
        s.setValue(key, value);
        s.sync();
        if (s.status() != QSettings::NoError)
            return false;
    }
    std::string text;
    if (!CFileIO::ReadAllChecked(QFile::encodeName(path).toStdString(), text).Ok())
        return false;
    section.clear();
    line.clear();
    for (const CTextLine& l : SplitLines(text)) {
        const std::string t = Trimmed(l.text);
        if (IsSectionLine(t) && section.empty())
            section = t;
        else if (!KeyOfLine(t).empty() && line.empty())
            line = t;
    }
    return !section.empty() && !line.empty();
}

// Puts `line` (the setting of `key` in `section`) into the file's text in place
// of the setting it replaces, or after the last line of its section, or in a
// new section at the end; an empty `line` removes the setting. Every other byte
// stays: comments, order, the byte-order mark and the line ends. False when
// nothing changes.
bool Splice(std::string& text, const std::string& section, const std::string& key,
            const std::string& line)
{
    static const std::string Bom = "\xEF\xBB\xBF";
    const bool bom = text.compare(0, Bom.size(), Bom) == 0;
    std::vector<CTextLine> lines = SplitLines(bom ? text.substr(Bom.size()) : text);
    std::string eol = "\n";
    for (const CTextLine& l : lines)
        if (!l.end.empty()) {
            eol = l.end;
            break;
        }
    // Settings above the first section line belong to [General].
    std::string current = "[General]";
    std::vector<size_t> matches;
    std::optional<size_t> lastOfSection;
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string t = Trimmed(lines[i].text);
        if (IsSectionLine(t)) {
            current = t;
            if (current == section)
                lastOfSection = i;
            continue;
        }
        if (current != section || t.empty())
            continue;
        lastOfSection = i;
        if (KeyOfLine(t) == key)
            matches.push_back(i);
    }
    if (matches.empty() && line.empty())
        return false;
    if (!matches.empty()) {
        // A key written twice is read as its last value: the new value replaces
        // all of them, in the place of the first.
        const size_t kept = line.empty() ? 0 : 1;
        if (kept)
            lines[matches.front()].text = line;
        for (size_t k = matches.size(); k-- > kept;)
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(matches[k]));
    } else {
        auto endLast = [&](size_t i) {
            if (lines[i].end.empty())
                lines[i].end = eol;
        };
        if (lastOfSection) {
            endLast(*lastOfSection);
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*lastOfSection) + 1,
                         CTextLine{line, eol});
        } else {
            if (!lines.empty()) {
                endLast(lines.size() - 1);
                if (!Trimmed(lines.back().text).empty())
                    lines.push_back({"", eol});
            }
            lines.push_back({section, eol});
            lines.push_back({line, eol});
        }
    }
    text = bom ? Bom : std::string();
    for (const CTextLine& l : lines)
        text += l.text + l.end;
    return true;
}

// Changes one value in the file of a key (removes it when value is null) and
// keeps the rest of the file byte for byte: QSettings would write the whole file
// back from what it understood, losing comments, quoting and order.
bool WriteValue(CSettingsStore::Hive hive, const CSettingsStore::Location& at,
                const std::string& name, const QVariant& value, std::string* why = nullptr)
{
    auto s = Open(hive, at, why);
    if (!s)
        return false;
    const QString file = s->fileName();
    const std::string path = QFile::encodeName(file).toStdString();
    // Group and key keep the spelling they already have in the file.
    EnterGroupForWrite(*s, at.group);
    const QString group = s->group();
    QString key = FindKey(*s, name);
    if (key.isEmpty()) {
        if (!value.isValid())
            return true;
        key = FromBytes(name);
    }
    s.reset();
    auto fail = [&](const std::string& reason) {
        if (why)
            *why = path + ": " + reason;
        return false;
    };
    std::string text;
    if (const CFileResult read = CFileIO::ReadAllChecked(path, text); !read.Ok() && !read.Missing())
        return fail(read.Reason());
    std::string section, line, keyLine;
    if (!FormatSetting(group, key, value.isValid() ? value : QVariant(QString()), section, keyLine))
        return fail("cannot be written");
    if (value.isValid())
        line = keyLine;
    if (!Splice(text, section, KeyOfLine(keyLine), line))
        return true;
    QDir().mkpath(QFileInfo(file).path());
    CAtomicFileWriter writer(path);
    if (!writer.IsOpen() || !writer.Write(text) || !writer.Commit())
        return fail(writer.Result().Reason());
    return true;
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
                                                     const std::string& name, std::string* why)
{
    const auto at = ParseKey(registryKey);
    if (!at)
        return std::nullopt;
    return ReadValue(hive, *at, name, why);
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
    return at && WriteValue(hive, *at, name, QVariant());
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

std::optional<std::string> GetCommonSetting(const std::string& name, std::string* why)
{
    // A user's file that cannot be read may hold the value: the machine's would
    // silently stand in for it.
    std::string problem;
    auto v = CSettingsStore::GetString(CSettingsStore::Hive::CurrentUser, CommonSettingsKey, name,
                                       &problem);
    if (!v && problem.empty())
        v = CSettingsStore::GetString(CSettingsStore::Hive::LocalMachine, CommonSettingsKey, name,
                                      &problem);
    if (why)
        *why = problem;
    return problem.empty() ? v : std::nullopt;
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
