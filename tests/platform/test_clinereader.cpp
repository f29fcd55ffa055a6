#include "platform/clinereader.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(CLineReader, WholeLinesWhateverTheChunkSize)
{
    const std::string longLine(3000, 'x');
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"one\ntwo\n", {"one", "two"}},
        {"one\r\ntwo", {"one", "two"}},
        {"\n\na\r\n\r\n", {"", "", "a", ""}},
        {"ab\rc\n" + longLine + "\nz", {"ab\rc", longLine, "z"}},
    };
    CTempDir dir;
    const std::string path = dir.File("lines.txt");
    for (const auto& c : cases) {
        WriteTextFile(path, c.text);
        for (size_t chunk : {size_t(0), size_t(1), size_t(2), size_t(3), size_t(7), size_t(1) << 20}) {
            CLineReader reader(path, chunk);
            ASSERT_TRUE(reader.IsOpen());
            std::vector<std::string> lines;
            std::string_view line;
            while (reader.Next(line))
                lines.emplace_back(line);
            EXPECT_EQ(lines, c.lines) << "chunk " << chunk << ": " << c.text.substr(0, 20);
            EXPECT_FALSE(reader.Failed());
            EXPECT_EQ(reader.FileSize(), c.text.size());
        }
    }
}

TEST(CLineReader, ReadErrorsAndFoldersAreReported)
{
    CTempDir dir;
    EXPECT_FALSE(CLineReader(dir.Path()).IsOpen());
    EXPECT_FALSE(CLineReader(dir.File("missing")).IsOpen());
    // The address space's first page is never mapped: reading it fails.
    CLineReader mem("/proc/self/mem", 1);
    ASSERT_TRUE(mem.IsOpen());
    std::string_view line;
    EXPECT_FALSE(mem.Next(line));
    EXPECT_TRUE(mem.Failed());
}
