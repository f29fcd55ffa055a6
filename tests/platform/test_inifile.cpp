#include "platform/cinifile.h"
#include "platform/cfileio.h"

#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <sys/stat.h>

TEST(IniFileParse, SectionsAndKeysIgnoreCaseAndValuesKeepBackslashes)
{
    CIniFile ini;
    ini.Parse("[Directories]\r\n"
              "Quarvex Temp Directory = C:\\Temp\\quarvex\\  \r\n"
              "Share=\\\\server\\share\\n\r\n"
              "[Other]\r\n"
              "key=value\r\n");
    EXPECT_EQ(ini.Get("directories", "QUARVEX TEMP DIRECTORY"), "C:\\Temp\\quarvex\\");
    EXPECT_EQ(ini.Get("Directories", "share"), "\\\\server\\share\\n");
    EXPECT_EQ(ini.Get("OTHER", "Key"), "value");
    EXPECT_FALSE(ini.Get("Other", "Share"));
    EXPECT_FALSE(ini.Get("Missing", "key"));
}

TEST(IniFileParse, QuotesCommentsAndOddLines)
{
    CIniFile ini;
    ini.Parse("\xEF\xBB\xBF"
              "orphan=before any section\n"
              "[ Quotes ]\n"
              "double=\"  spaced  \"\n"
              "single='x'\n"
              "mismatched=\"x'\n"
              "inner=a \"b\" c\n"
              "; comment=no\n"
              "no equals sign\n"
              "eq=a=b=c\n"
              "empty=\n"
              "semi=value ; not a comment\n"
              "[quotes]\n"
              "later=in a second section of the same name\n");
    EXPECT_EQ(ini.Get("Quotes", "double"), "  spaced  ");
    EXPECT_EQ(ini.Get("Quotes", "single"), "x");
    EXPECT_EQ(ini.Get("Quotes", "mismatched"), "\"x'");
    EXPECT_EQ(ini.Get("Quotes", "inner"), "a \"b\" c");
    EXPECT_FALSE(ini.Get("Quotes", "; comment"));
    EXPECT_FALSE(ini.Get("Quotes", "no equals sign"));
    EXPECT_EQ(ini.Get("Quotes", "eq"), "a=b=c");
    EXPECT_EQ(ini.Get("Quotes", "empty"), "");
    EXPECT_EQ(ini.Get("Quotes", "semi"), "value ; not a comment");
    EXPECT_FALSE(ini.Get("", "orphan"));
    // Only the first section of a name is searched.
    EXPECT_FALSE(ini.Get("Quotes", "later"));
}

TEST(IniFileParse, FirstOfTwoEqualKeysWins)
{
    CIniFile ini;
    ini.Parse("[S]\nk=first\nK=second\n");
    EXPECT_EQ(ini.Get("s", "k"), "first");
}

TEST(IniFileRead, ReadStringGivesDefaultForMissingFileAndCutsLongValues)
{
    CTempDir dir;
    const std::string path = dir.File("Quarvex.ini");
    EXPECT_EQ(CIniFile::ReadString(path, "S", "k", "dflt"), "dflt");
    CIniFile none;
    EXPECT_FALSE(none.Load(path));

    WriteTextFile(path, "[S]\nk=" + std::string(2000, 'x') + "\nshort=abc\n");
    EXPECT_EQ(CIniFile::ReadString(path, "S", "k", "", 1024), std::string(1023, 'x'));
    EXPECT_EQ(CIniFile::ReadString(path, "S", "short", "", 1024), "abc");
    EXPECT_EQ(CIniFile::ReadString(path, "S", "missing", "dflt"), "dflt");
    EXPECT_EQ(CIniFile::ReadString(path, "S", "k").size(), 2000u);
}

// A FIFO would block, a device or a huge sparse file fill memory: all are
// refused at once and read as no file.
TEST(IniFileRead, OnlyRegularFilesOfSaneSizeAreRead)
{
    CTempDir dir;
    const std::string fifo = dir.File("fifo.ini"), huge = dir.File("huge.ini");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    WriteTextFile(huge, "[S]\nk=v\n");
    std::filesystem::resize_file(huge, CFileIO::MaxTextFileSize + 1);
    for (const std::string& path : {fifo, huge, dir.Path(), std::string("/dev/zero")}) {
        CIniFile ini;
        EXPECT_FALSE(ini.Load(path)) << path;
        EXPECT_EQ(CIniFile::ReadString(path, "S", "k", "dflt"), "dflt") << path;
    }
}
