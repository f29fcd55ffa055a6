#include "platform/cinifile.h"

#include "platform/cfileio.h"
#include "platform/cutext.h"

namespace {

std::string Trim(const std::string& s)
{
    const char* blanks = " \t\r\n\f\v";
    const size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    const size_t last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

} // namespace

bool CIniFile::Load(const std::string& path)
{
    m_Sections.clear();
    std::string text;
    if (!CFileIO::ReadAll(path, text))
        return false;
    Parse(text);
    return true;
}

void CIniFile::Parse(const std::string& text)
{
    m_Sections.clear();
    size_t pos = 0;
    // Files saved by some editors start with a UTF-8 byte order mark.
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        pos = 3;
    // Keys before the first section belong to no section and cannot be read.
    Section* current = nullptr;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = Trim(text.substr(pos, end - pos));
        pos = end + 1;
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            const size_t close = line.find(']');
            m_Sections.push_back(
                {Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1)),
                 {}});
            current = &m_Sections.back();
            continue;
        }
        const size_t eq = line.find('=');
        if (!current || eq == std::string::npos)
            continue;
        current->entries.push_back({Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))});
    }
}

std::optional<std::string> CIniFile::Get(const std::string& section, const std::string& key) const
{
    const std::string wantedSection = Trim(section);
    const std::string wantedKey = Trim(key);
    for (const Section& s : m_Sections) {
        if (!CUText::EqualNoCase(s.name, wantedSection))
            continue;
        for (const Entry& e : s.entries) {
            if (!CUText::EqualNoCase(e.key, wantedKey))
                continue;
            std::string v = e.value;
            if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
                v = v.substr(1, v.size() - 2);
            return v;
        }
        // Only the first section of a name is looked at.
        return std::nullopt;
    }
    return std::nullopt;
}

std::string CIniFile::ReadString(const std::string& path, const std::string& section,
                                 const std::string& key, const std::string& defaultValue,
                                 size_t maxChars)
{
    CIniFile ini;
    std::string value = defaultValue;
    if (ini.Load(path))
        value = ini.Get(section, key).value_or(defaultValue);
    if (maxChars > 0 && value.size() > maxChars - 1)
        value.resize(maxChars - 1);
    return value;
}
