#include "platform/clinereader.h"

#include "platform/scratchfiles.h"

#include <fstream>

TEST(CLineReader, WholeLinesWhateverTheChunkSize)
{
    const std::string longLine(3000, 'x');
    const struct {
        std::string text;
        std::vector<std::string> lines;
    } cases[] = {
        {"", {}},
        {"\n\na\r\n\r\n", {"", "", "a", ""}},
        {"ab\rc\n" + longLine + "\nz", {"ab", "c", longLine, "z"}},
        // A lone CR ends a line too, also when it is the last byte of a chunk.
        {"a\rb\r\rc\r", {"a", "b", "", "c"}},
        {"a\r\r\nb\r\n\r", {"a", "", "b", ""}},
        {"x\r" + longLine + "\ry", {"x", longLine, "y"}},
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
            EXPECT_EQ(lines, c.lines) << "chunk " << chunk << ": " << testing::PrintToString(c.text.substr(0, 20));
            EXPECT_TRUE(!reader.Failed() && reader.FileSize() == c.text.size());
        }
    }
}

// A huge file, a line over the limit (end seen late or never) and a failed read are read errors.
TEST(CLineReader, SizeLimitsAndFailedReadsAreReadErrors)
{
    CTempDir dir;
    EXPECT_FALSE(CLineReader(dir.Path()).IsOpen() || CLineReader(dir.File("missing")).IsOpen());
    // The address space's first page is never mapped: reading it fails.
    CLineReader mem("/proc/self/mem", 1);
    std::string_view text;
    EXPECT_TRUE(mem.IsOpen() && !mem.Next(text) && mem.Failed());
    constexpr uintmax_t MiB = 1 << 20;
    const std::string file = Text(CFileResult::TooLarge) + " file larger than the limit of 256 MiB",
                      line = Text(CFileResult::LineTooLong) + " line longer than the limit of 16 MiB";
    // The size of a sparse file (zero bytes, no line end), what is written after them;
    // the lines read and the error with its reason.
    const std::tuple<uintmax_t, std::string, size_t, std::string> cases[] = {
        {256 * MiB + 1, "", 0, file},    {16 * MiB + 1, "", 0, line}, {16 * MiB + 1, "\n", 0, line},
        {20000000, "\nnext\n", 0, line}, {16 * MiB, "", 1, "0"},      {16 * MiB, "\r\nnext", 2, "0"},
    };
    const std::string path = dir.File("sparse.leg");
    for (const auto& [size, tail, lines, result] : cases) {
        WriteTextFile(path, "");
        std::filesystem::resize_file(path, size);
        std::ofstream(path, std::ios::app | std::ios::binary) << tail;
        CLineReader reader(path);
        size_t read = 0;
        while (reader.Next(text))
            ++read;
        const int error = reader.Result().error;
        EXPECT_EQ(Join(read, reader.Failed(), error) + (error ? " " + reader.Result().Reason() : ""),
                  Join(lines, result != "0") + " " + result)
            << size;
    }
}
