#include "platform/cinifile.h"

#include "platform/cfileio.h"
#include "platform/scratchfiles.h"

TEST(IniFileParse, SectionsKeysQuotesCommentsAndOddLines)
{
    CIniFile ini;
    ini.Parse("\xEF\xBB\xBF"
              "orphan=before any section\n"
              "[Directories]\r\nQuarvex Temp Directory = C:\\Temp\\quarvex\\  \r\nShare=\\\\server\\share\\n\r\n"
              "[ Quotes ]\ndouble=\"  spaced  \"\nsingle='x'\nmismatched=\"x'\ninner=a \"b\" c\n; comment=no\n"
              "no equals sign\neq=a=b=c\nempty=\nsemi=value ; not a comment\nk=first\nK=second\n"
              "[quotes]\nlater=in a second section of the same name\n");
    // Section, key; the value ("-": none). Names ignore case; backslashes stay.
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"directories", "QUARVEX TEMP DIRECTORY", "C:\\Temp\\quarvex\\"},
        {"Directories", "share", "\\\\server\\share\\n"},
        {"Directories", "Double", "-"},
        {"Missing", "k", "-"},
        {"Quotes", "double", "  spaced  "},
        {"Quotes", "single", "x"},
        {"Quotes", "mismatched", "\"x'"},
        {"Quotes", "inner", "a \"b\" c"},
        {"Quotes", "; comment", "-"},
        {"Quotes", "no equals sign", "-"},
        {"Quotes", "eq", "a=b=c"},
        {"Quotes", "empty", ""},
        {"Quotes", "semi", "value ; not a comment"},
        {"", "orphan", "-"},
        {"quotes", "K", "first"}, // the first of two equal keys
        {"Quotes", "later", "-"}, // only the first section of a name is searched
    };
    for (const auto& [section, key, value] : cases)
        EXPECT_EQ(ini.Get(section, key).value_or("-"), value) << section << "/" << key;
}

TEST(IniFileRead, DefaultsLongValuesAndOnlyRegularFilesOfSaneSize)
{
    CTempDir dir;
    const std::string path = dir.File("Quarvex.ini");
    EXPECT_EQ(CIniFile::ReadString(path, "S", "k", "dflt"), "dflt");
    WriteTextFile(path, "[S]\nk=" + std::string(2000, 'x') + "\nshort=abc\n");
    EXPECT_EQ(CIniFile::ReadString(path, "S", "k", "", 1024), std::string(1023, 'x'));
    EXPECT_EQ(CIniFile::ReadString(path, "S", "short", "", 1024) + CIniFile::ReadString(path, "S", "missing", "dflt"),
              "abcdflt");
    EXPECT_EQ(CIniFile::ReadString(path, "S", "k").size(), 2000u);
    // A huge sparse file would fill memory: it reads as no file.
    WriteTextFile(path, "[S]\nk=v\n");
    std::filesystem::resize_file(path, CFileIO::MaxTextFileSize + 1);
    EXPECT_EQ(CIniFile::ReadString(path, "S", "k", "dflt"), "dflt");
}
