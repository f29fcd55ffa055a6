#include "support/runprocess.h"
#include "support/testfiles.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>

// The committed assets are exactly what the program writes, so the two never drift.
TEST(MakeAssets, RewritesTheCommittedSamplesByteForByte)
{
    const std::string samples = std::string(std::getenv("TESSARIN_SOURCE_DIR")) + "/samples";
    CTempDir dir;
    std::filesystem::create_directory(dir.File("patterns"));
    const CProcessResult r = RunProcess(ProjectBinary("make-assets"), {dir.File("patterns"), dir.File("CARTORAW.PEN")});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(r.out,
              "45 patterns in " + dir.File("patterns") + ", 43 line styles in " + dir.File("CARTORAW.PEN") + "\n");
    size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(samples + "/patterns")) {
        const std::string name = "/patterns/" + entry.path().filename().string();
        EXPECT_EQ(ReadTextFile(dir.Path() + name), ReadTextFile(samples + name)) << name;
        ++files;
    }
    EXPECT_EQ(files, 45u);
    EXPECT_EQ(ReadTextFile(dir.File("CARTORAW.PEN")), ReadTextFile(samples + "/CARTORAW.PEN"));
    // A file that cannot be written stops the program with its name and the reason.
    EXPECT_EQ(Show(RunProcess(ProjectBinary("make-assets"), {dir.File("none"), dir.File("none/x.pen")})),
              "1||make-assets: cannot write " + dir.File("none") + "/pattern_1.bmp: " + std::strerror(ENOENT) + "\n");
    // A folder where the pen file goes: the reason is the writer's own, not a stale errno.
    EXPECT_EQ(Show(RunProcess(ProjectBinary("make-assets"), {dir.File("patterns"), dir.File("patterns")})),
              "1||make-assets: cannot write " + dir.File("patterns") + ": " + std::strerror(EISDIR) + "\n");
}
