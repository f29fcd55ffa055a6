#include "support/runprocess.h"
#include "support/testfiles.h"

#include <QColor>
#include <QImage>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

std::string Samples()
{
    return std::string(std::getenv("TESSARIN_SOURCE_DIR")) + "/samples/";
}

CProcessResult Cli(const std::vector<std::string>& args, const std::vector<std::string>& env = {})
{
    return RunProcess(ProjectBinary("tessarin-cli"), args, env);
}

std::vector<std::string> WithAssets(std::vector<std::string> args)
{
    for (const char* a : {"--patterns", "patterns", "--pen", "CARTORAW.PEN"})
        args.push_back(a[0] == '-' ? a : Samples() + a);
    return args;
}

// The reason as the user's locale words it, and the line's end.
std::string Why(int error)
{
    return std::string(std::strerror(error)) + "\n";
}

std::string Hex(const QImage& image, int x, int y)
{
    return image.pixelColor(x, y).name().toStdString();
}

} // namespace

// The lithology sample: six rows under a title and a description, swatches
// at x 16-63, line samples from x 78, the first row's middle at y 101.
TEST(CliPreview, DrawsSwatchesPatternsAndLineSamples)
{
    CTempDir dir;
    const std::string out = dir.File("lithology.png");
    const CProcessResult r = Cli(WithAssets({"preview", Samples() + "lithology.leg", out}));
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out + r.err, "");
    std::filesystem::copy_file(out, TestOutputDir() + "/preview-lithology.png",
                               std::filesystem::copy_options::overwrite_existing);
    const QImage image(QString::fromStdString(out));
    ASSERT_EQ(image.size(), QSize(520, 271));
    const struct {
        const char* what;
        int x, y;
        const char* colour;
    } pixels[] = {
        {"granite cross in the red fill colour", 18, 92, "#ff0000"},
        {"beside it the pink background", 17, 92, "#ffc8c8"},
        {"swatch frame", 16, 91, "#808080"},
        {"limestone joint in the blue fill colour", 30, 211, "#0080ff"},
        {"inside a limestone block the background", 30, 205, "#ccffff"},
        {"transparent background: grey checker square", 17, 232, "#cccccc"},
        {"transparent background: white checker square", 21, 232, "#ffffff"},
        {"solid line sample in the red line colour", 100, 101, "#ff0000"},
        {"above the line sample", 100, 100, "#ffffff"},
        {"a dash of the shale row (8 on, 4 off)", 85, 185, "#000000"},
        {"the gap after it", 87, 185, "#ffffff"},
        {"the next dash", 90, 185, "#000000"},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(Hex(image, p.x, p.y), p.colour) << p.what;
}

// Without the options the patterns and pen file come from the common
// settings, and give the very same picture; --width sets the width.
TEST(CliPreview, TakesItsAssetsFromTheSettingsAndItsWidthFromTheOption)
{
    CTempDir dir;
    std::filesystem::create_directories(dir.File("config/Ferrolin"));
    WriteTextFile(dir.File("config/Ferrolin/Common.conf"),
                  "[General]\nBRUSH_PATH=" + Samples() + "patterns/\nPEN_FILE=" + Samples() +
                      "CARTORAW.PEN\n");
    const std::vector<std::string> env = {"XDG_CONFIG_HOME=" + dir.File("config")};
    const std::string leg = Samples() + "stratigraphy.leg";
    ASSERT_EQ(Cli(WithAssets({"preview", leg, dir.File("given.png")})).exitCode, 0);
    ASSERT_EQ(Cli({"preview", leg, dir.File("set.png")}, env).exitCode, 0);
    EXPECT_EQ(ReadTextFile(dir.File("set.png")), ReadTextFile(dir.File("given.png")));
    ASSERT_EQ(Cli({"preview", leg, dir.File("bare.png")}, {"XDG_CONFIG_HOME=" + dir.File("none")}).exitCode, 0);
    EXPECT_NE(ReadTextFile(dir.File("bare.png")), ReadTextFile(dir.File("given.png")));
    // A PEN_FILE setting that is no pen file only leaves the line samples out,
    // and a pen file that declares no styles is a pen file all the same.
    WriteTextFile(dir.File("bad.pen"), "PENX----");
    WriteTextFile(dir.File("none.pen"), std::string("PEN2\0\0\0\0", 8));
    WriteTextFile(dir.File("config/Ferrolin/Common.conf"),
                  "[General]\nPEN_FILE=" + dir.File("bad.pen") + "\n");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"preview", leg, dir.File("unset.png")},
          {"preview", leg, dir.File("count0.png"), "--pen", dir.File("none.pen")}}) {
        const CProcessResult r = Cli(args, env);
        EXPECT_EQ(std::to_string(r.exitCode) + " " + r.err, "0 ");
    }

    ASSERT_EQ(Cli(WithAssets({"preview", leg, dir.File("narrow.png"), "--width", "300"})).exitCode, 0);
    // 14 rows of 28 under the heading (87) and above the margin (16).
    EXPECT_EQ(QImage(QString::fromStdString(dir.File("narrow.png"))).size(), QSize(300, 495));
}

TEST(CliPreview, RefusesWhatItCannotReadOrWriteAndKeepsTheOldFile)
{
    CTempDir dir;
    const std::string leg = Samples() + "lithology.leg";
    const std::string old = dir.File("old.png");
    WriteTextFile(old, "old bytes");
    const std::string fifo = dir.File("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string e = "tessarin-cli preview: ";
    std::string leg1168 = "LegendTable Begin\n\tName = \"Long\"\n\tDataType = TEXT\n\tLEG = {\n";
    for (int i = 0; i < 1168; ++i)
        leg1168 += "\t\t\"R\"\t\"Row\"\t255\t0\t1\t0\t2\t1\n";
    WriteTextFile(dir.File("long.leg"), leg1168 + "\t}\nLegendTable End\n");
    WriteTextFile(dir.File("short.pen"), std::string("PEN2\0\0", 6));
    WriteTextFile(dir.File("bad.pen"), std::string("PENX\0\0\1\0\x0A\0\0\0\0", 13));
    const std::string width = e + "--width takes a number of pixels from 240 to 4000, not ";
    const struct {
        std::vector<std::string> args;
        int exitCode;
        std::string err;
    } cases[] = {
        {{"preview", dir.File("none.leg"), old}, 1,
         e + "cannot read " + dir.File("none.leg") + ": " + Why(ENOENT)},
        {{"preview", dir.Path(), old}, 1, e + "cannot read " + dir.Path() + ": " + Why(EISDIR)},
        {{"preview", leg, dir.Path()}, 1, e + "Could not save " + dir.Path() + ": " + Why(EISDIR)},
        {{"preview", leg, fifo}, 1, e + "Could not save " + fifo + ": not a regular file\n"},
        {{"preview", leg, dir.File("no/such.png")}, 1,
         e + "Could not create " + dir.File("no/such.png") + ": " + Why(ENOENT)},
        {{"preview", leg, old, "--patterns", dir.File("none")}, 1,
         e + "cannot read the pattern folder " + dir.File("none") + ": " + Why(ENOENT)},
        {{"preview", leg, old, "--pen", dir.File("none.pen")}, 1,
         e + "cannot read the pen file " + dir.File("none.pen") + ": " + Why(ENOENT)},
        {{"preview", leg, old, "--pen", dir.File("short.pen")}, 1,
         e + "cannot use the pen file " + dir.File("short.pen") +
             ": not a pen file (header shorter than 8 bytes)\n"},
        {{"preview", leg, old, "--pen", dir.File("bad.pen")}, 1,
         e + "cannot use the pen file " + dir.File("bad.pen") + ": not a pen file (no PEN2 signature)\n"},
        {{"preview", dir.File("long.leg"), old}, 1,
         e + "cannot draw " + dir.File("long.leg") +
             ": it has 1168 rows, and a picture holds at most 1167 (32767 pixels high)\n"},
        {{"preview", leg, old, "--width", "239"}, 2, width + "\"239\"\n"},
        {{"preview", leg, old, "--width", "12x"}, 2, width + "\"12x\"\n"},
        {{"preview", leg, old, "--width", " 300"}, 2, width + "\" 300\"\n"},
        {{"preview", leg, old, "--width", "+300"}, 2, width + "\"+300\"\n"},
    };
    for (const auto& c : cases) {
        const CProcessResult r = Cli(c.args);
        EXPECT_EQ(std::to_string(r.exitCode) + " " + r.err, std::to_string(c.exitCode) + " " + c.err);
        EXPECT_EQ(ReadTextFile(old), "old bytes");
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    {
        // A write that fails part-way (the disk full) leaves the old picture as it was.
        const CFileSizeLimit limit(512);
        const CProcessResult r = Cli({"preview", leg, old});
        EXPECT_EQ(std::to_string(r.exitCode) + " " + r.err, "1 " + e + "Could not save " + old + ": " + Why(EFBIG));
    }
    EXPECT_EQ(ReadTextFile(old), "old bytes");
    // No temporary file is left beside it.
    size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 5u); // with the fifo, the legend and the pen files made above
}
