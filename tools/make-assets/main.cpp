// make-assets: writes the bundled fill patterns (pattern_<n>.bmp) and the pen
// file of line styles. The checked-in copies in samples/ are this program's
// output; remake them with
//   build/bin/make-assets samples/patterns samples/CARTORAW.PEN
// and `make-assets --list` prints what each pattern and style is.

#include "assets.h"
#include "platform/cfileio.h"

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

void PrintList()
{
    std::printf("Fill patterns\n");
    for (const CPatternAsset& p : PatternAssets())
        std::printf("  %3d  %2zux%-2zu  %s\n", p.number, p.rows[0].size(), p.rows.size(),
                    p.name.c_str());
    std::printf("Line styles\n");
    int n = 0;
    for (const CPenStyleAsset& s : PenStyleAssets())
        std::printf("  %3d  %s\n", n++, s.name.c_str());
}

// A pattern whose rows are not one square of 8 or 16 pixels is a mistake in
// the table, not something to write.
bool IsSquareTile(const CPatternAsset& p)
{
    const size_t size = p.rows.size();
    if (size != 8 && size != 16)
        return false;
    for (const std::string& row : p.rows)
        if (row.size() != size || row.find_first_not_of("#.") != std::string::npos)
            return false;
    return true;
}

// A failure names the file and why, as the command-line tool's writes do.
bool Write(const std::string& path, const std::string& bytes)
{
    CAtomicFileWriter writer(path);
    if (writer.IsOpen() && writer.Write(bytes) && writer.Commit())
        return true;
    std::fprintf(stderr, "make-assets: cannot write %s: %s\n", path.c_str(),
                 writer.Result().Reason().c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
        PrintList();
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "Usage: make-assets PATTERN_FOLDER PEN_FILE\n"
                             "       make-assets --list\n"
                             "Writes pattern_<n>.bmp into the existing PATTERN_FOLDER and the pen\n"
                             "file of line styles to PEN_FILE.\n");
        return 2;
    }
    const std::string folder = argv[1];
    int patterns = 0;
    for (const CPatternAsset& p : PatternAssets()) {
        if (!IsSquareTile(p)) {
            std::fprintf(stderr, "make-assets: pattern %d (%s) is not 8x8 or 16x16 of '#' and '.'\n",
                         p.number, p.name.c_str());
            return 1;
        }
        if (!Write(folder + "/pattern_" + std::to_string(p.number) + ".bmp",
                   EncodeMonochromeBmp(p.rows)))
            return 1;
        ++patterns;
    }
    const std::vector<CPenStyleAsset> styles = PenStyleAssets();
    const std::string pen = EncodePenFile(styles);
    if (pen.empty()) {
        std::fprintf(stderr, "make-assets: the line styles do not fit in a pen file\n");
        return 1;
    }
    if (!Write(argv[2], pen))
        return 1;
    std::printf("%d patterns in %s, %zu line styles in %s\n", patterns, folder.c_str(),
                styles.size(), argv[2]);
    return 0;
}
