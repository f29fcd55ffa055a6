#include "cli/clirun.h"

#include <QColor>
#include <QImage>

const std::string kAssets = " --patterns @patterns --pen @CARTORAW.PEN";

// The lithology sample as painted: the bundled pattern in the fill colour, the
// line samples drawn from the bundled pen file.
TEST(CliPreview, DrawsSwatchesPatternsAndLineSamples)
{
    CCliSandbox cli;
    ASSERT_EQ(cli.Run("preview @lithology.leg %/lithology.png" + kAssets), "0||");
    const QImage image = QImage(QString::fromStdString(cli.File("lithology.png")));
    ASSERT_EQ(image.size(), QSize(520, 271));
    const struct {
        const char* what;
        int x, y;
        const char* colour;
    } pixels[] = {
        {"granite cross in the red fill colour", 18, 92, "#ff0000"},
        {"transparent background: a white checker square", 21, 232, "#ffffff"},
        {"solid line sample in the red line colour", 100, 101, "#ff0000"},
        {"a dash of the shale row (8 on, 4 off)", 85, 185, "#000000"},
        {"the gap after it", 87, 185, "#ffffff"},
    };
    for (const auto& p : pixels)
        EXPECT_EQ(image.pixelColor(p.x, p.y).name().toStdString(), p.colour) << p.what;
}

// Without the options the patterns and pen file come from the common
// settings, and give the very same picture; --width sets the width.
TEST(CliPreview, TakesItsAssetsFromTheSettingsAndItsWidthFromTheOption)
{
    CCliSandbox cli;
    const std::string settings = cli.Dir("config/Ferrolin") + "/Common.conf";
    WriteTextFile(settings,
                  "[General]\nBRUSH_PATH=" + Samples("patterns/") + "\nPEN_FILE=" + Samples("CARTORAW.PEN\n"));
    WriteTextFile(cli.File("bad.pen"), "PENX----");
    WriteTextFile(cli.File("none.pen"), std::string("PEN2\0\0\0\0", 8));
    cli.Expect({{"preview @stratigraphy.leg %/given.png" + kAssets, "0||"},
                {"preview @stratigraphy.leg %/set.png", "0||"},
                {"XDG_CONFIG_HOME=%/none preview @stratigraphy.leg %/bare.png", "0||"},
                {"preview @stratigraphy.leg %/narrow.png --width 300" + kAssets, "0||"}});
    EXPECT_EQ(ReadTextFile(cli.File("set.png")), ReadTextFile(cli.File("given.png")));
    EXPECT_NE(ReadTextFile(cli.File("bare.png")), ReadTextFile(cli.File("given.png")));
    // 14 rows of 28 under the heading (87) and above the margin (16).
    EXPECT_EQ(QImage(QString::fromStdString(cli.File("narrow.png"))).size(), QSize(300, 495));
    // A PEN_FILE setting that is no pen file only leaves the line samples out,
    // and a pen file that declares no styles is a pen file all the same.
    WriteTextFile(settings, "[General]\nPEN_FILE=" + cli.File("bad.pen") + "\n");
    cli.Expect({{"preview @stratigraphy.leg %/unset.png", "0||"},
                {"preview @stratigraphy.leg %/count0.png --pen %/none.pen", "0||"}});
}

TEST(CliPreview, RefusesWhatItCannotReadOrWriteAndKeepsTheOldFile)
{
    CCliSandbox cli;
    WriteTextFile(cli.File("old.png"), "old bytes");
    std::string rows = "LegendTable Begin\n\tName = \"Long\"\n\tDataType = TEXT\n\tLEG = {\n";
    for (int i = 0; i < 1168; ++i)
        rows += "\t\t\"R\"\t\"Row\"\t255\t0\t1\t0\t2\t1\n";
    WriteTextFile(cli.File("long.leg"), rows + "\t}\nLegendTable End\n");
    WriteTextFile(cli.File("short.pen"), std::string("PEN2\0\0", 6));
    WriteTextFile(cli.File("bad.pen"), "PENX----");
    const std::string e = "1||tessarin-cli preview: ", width = "2||tessarin-cli preview: --width takes a number of "
                                                               "pixels from 240 to 4000, not ";
    const std::pair<std::string, std::string> cases[] = {
        {"preview %/none.leg %/old.png", e + "cannot read %/none.leg: ENOENT\n"},
        {"preview @lithology.leg %", e + "Could not save %: EISDIR\n"},
        {"preview @lithology.leg %/no/such.png", e + "Could not create %/no/such.png: ENOENT\n"},
        {"preview @lithology.leg %/old.png --patterns %/none", e + "cannot read the pattern folder %/none: ENOENT\n"},
        {"preview @lithology.leg %/old.png --pen %/none.pen", e + "cannot read the pen file %/none.pen: ENOENT\n"},
        {"preview @lithology.leg %/old.png --pen %/short.pen",
         e + "cannot use the pen file %/short.pen: not a pen file (header shorter than 8 bytes)\n"},
        {"preview @lithology.leg %/old.png --pen %/bad.pen",
         e + "cannot use the pen file %/bad.pen: not a pen file (no PEN2 signature)\n"},
        {"preview %/long.leg %/old.png",
         e + "cannot draw %/long.leg: it has 1168 rows, and a picture holds at most 1167 (32767 pixels high)\n"},
        {"preview @lithology.leg %/old.png --width 239", width + "\"239\"\n"},
        {"preview @lithology.leg %/old.png --width 12x", width + "\"12x\"\n"},
        {"preview @lithology.leg %/old.png --width ' 300'", width + "\" 300\"\n"},
        {"preview @lithology.leg %/old.png --width +300", width + "\"+300\"\n"},
    };
    // Nothing is left or changed, no temporary file beside the old picture.
    const auto before = Snapshot(cli.Path());
    for (const auto& [line, shown] : cases) {
        EXPECT_EQ(cli.Run(line), shown);
        EXPECT_EQ(Snapshot(cli.Path()), before) << line;
    }
    // A write that fails part-way (the disk full) leaves the old picture as it was.
    const CFileSizeLimit limit(512);
    EXPECT_EQ(cli.Run("preview @lithology.leg %/old.png"), e + "Could not save %/old.png: EFBIG\n");
    EXPECT_EQ(Snapshot(cli.Path()), before);
}
