#pragma once
// Reads INI files the way the host products' own installers and tools expect
// them to be read: section and key names without regard to case, values taken
// as written (backslashes are path separators, not escapes), CR LF or LF line
// ends. QSettings' INI dialect unescapes backslashes and so cannot be used.

#include <optional>
#include <string>
#include <vector>

class CIniFile {
public:
    // False when the file cannot be read; the object is then empty.
    bool Load(const std::string& path);
    void Parse(const std::string& text);

    // The value of the first key of that name in the first section of that name.
    // Blanks around the value are dropped, and so is one pair of matching quotes
    // (single or double) around all of it.
    std::optional<std::string> Get(const std::string& section, const std::string& key) const;

    // One read of a value straight from a file, with a default; what a private
    // profile read returns. maxChars counts the terminating zero of a buffer, so
    // at most maxChars - 1 characters come back (0 means no limit).
    static std::string ReadString(const std::string& path, const std::string& section,
                                  const std::string& key, const std::string& defaultValue = {},
                                  size_t maxChars = 0);

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };
    std::vector<Section> m_Sections;
};
