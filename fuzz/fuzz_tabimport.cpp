// Imports legends from damaged TAB legend tables. A good table (a numeric and a
// text legend in the standard layout, plus a map-code table) is made once; each
// input picks a table and one of its files and replaces that file's bytes: cut
// short, grown or overwritten. Besides not crashing, an import never yields a
// legend whose row lists disagree in length, and a table that cannot be read
// is never imported as one that could.

#include "legend/cllegend.h"
#include "legend/tabtable.h"
#include "platform/cuserprompt.h"
#include "support/testfiles.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// The messages of the import are what the test is about, not output.
class CSilentPrompt : public CUserPrompt {
public:
    Answer Ask(const Message&) override { return Answer::Ok; }
};

struct CTables {
    CTempDir dir;
    std::string pristine;
    std::string work;

    CTables()
    {
        pristine = dir.File("pristine");
        work = dir.File("work");
        std::filesystem::create_directories(pristine);
        CLLLegend numeric;
        numeric.SetDefault();
        numeric.m_Name = "grades";
        numeric.m_RowComments[0] = "first";
        numeric.ExportTAB(pristine + "/numeric.tab");
        CLLLegend text;
        text.SetDefault();
        text.m_DataType = DataText;
        for (size_t i = 0; i < text.m_StringValues.size(); ++i)
            text.m_StringValues[i] = "v" + std::to_string(i);
        text.ExportTAB(pristine + "/text.tab");
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static CSilentPrompt silent;
    static CTables tables;
    if (size < 1)
        return 0;
    static const char* const tablesByIndex[] = {"numeric", "text"};
    static const char* const extensions[] = {".tab", ".dat", ".map", ".id"};
    const std::string table = tablesByIndex[data[0] & 1];
    const std::string damaged = extensions[(data[0] >> 1) & 3];

    std::filesystem::remove_all(tables.work);
    std::filesystem::copy(tables.pristine, tables.work);
    WriteTextFile(tables.work + "/" + table + damaged,
                  std::string(reinterpret_cast<const char*>(data) + 1, size - 1));

    const std::string path = tables.work + "/" + table + ".tab";
    const TabLegendLayout layout = InspectLegendTable(path);
    CLLLegend legend;
    legend.ImportTAB(path, "", 1, silent, CNumberSeparators{",", "."});
    if (!legend.RowListsAgree())
        std::abort();
    if (layout == TabLegendLayout::Unreadable && legend.GetRowCount() > 0)
        std::abort();
    return 0;
}
