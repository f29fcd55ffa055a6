#include "cli/clirun.h"

#include <QImage>

// The sample painted with the bundled patterns and pen file, named by option or by the settings: the same picture.
TEST(CliPreview, DrawsTheSampleWithTheGivenOrSetAssetsAndRefusesWhatItCannotReadOrWrite)
{
    CCliSandbox cli;
    const std::string settings = cli.Dir("config/Ferrolin") + "/Common.conf";
    WriteTextFile(settings,
                  "[General]\nBRUSH_PATH=" + Samples("patterns/") + "\nPEN_FILE=" + Samples("CARTORAW.PEN\n"));
    WriteTextFile(cli.File("bad.pen"), "PENX----");
    cli.Expect({
        {"preview @lithology.leg %/given.png --width 300 --patterns @patterns --pen @CARTORAW.PEN", "0||"},
        {"preview @lithology.leg %/set.png --width 300", "0||"},
        {"XDG_CONFIG_HOME=%/none preview @lithology.leg %/bare.png --width 300", "0||"},
    });
    EXPECT_EQ(ReadTextFile(cli.File("set.png")), ReadTextFile(cli.File("given.png")));
    EXPECT_NE(ReadTextFile(cli.File("bare.png")), ReadTextFile(cli.File("given.png")));
    const QImage image = QImage(QString::fromStdString(cli.File("given.png")));
    ASSERT_EQ(image.size(), QSize(300, 271));

    // What it cannot read or write is refused and the old picture kept.
    WriteTextFile(cli.File("old.png"), "old bytes");
    std::string rows = "LEG = {\n";
    for (int i = 0; i < 1168; ++i)
        rows += "\"R\" \"Row\" 255 0 1\n";
    WriteTextFile(cli.File("long.leg"), "LegendTable Begin\nDataType = TEXT\n" + rows);
    const std::string e = "1||tessarin-cli preview: ", lith = "preview @lithology.leg %/old.png";
    std::vector<std::pair<std::string, std::string>> cases = {
        {"preview %/none.leg %/old.png", e + "cannot read %/none.leg: ENOENT\n"},
        {lith + " --patterns %/none", e + "cannot read the pattern folder %/none: ENOENT\n"},
        {lith + " --pen %/none.pen", e + "cannot read the pen file %/none.pen: ENOENT\n"},
        {lith + " --pen %/bad.pen", e + "cannot use the pen file %/bad.pen: not a pen file (no PEN2 signature)\n"},
        {"preview %/long.leg %/old.png",
         e + "cannot draw %/long.leg: it has 1168 rows, and a picture holds at most 1167 (32767 pixels high)\n"},
    };
    for (const std::string width : {"239", "12x", " 300", "+300"})
        cases.push_back(
            {lith + " --width '" + width + "'",
             "2||tessarin-cli preview: --width takes a number of pixels from 240 to 4000, not \"" + width + "\"\n"});
    // Nothing is left or changed, no temporary file beside the old picture.
    const auto before = Snapshot(cli.Path());
    for (const auto& [line, shown] : cases) {
        EXPECT_EQ(cli.Run(line), shown);
        EXPECT_EQ(Snapshot(cli.Path()), before) << line;
    }
    // A write that fails part-way (the disk full) leaves the old picture as it was.
    const CFileSizeLimit limit(512);
    EXPECT_EQ(cli.Run(lith), e + "Could not save %/old.png: EFBIG\n");
    EXPECT_EQ(Snapshot(cli.Path()), before);
}
