#include "app/core/tabexport.h"

#include "legend/cllegend.h"
#include "legend/tabtable.h"
#include "platform/cnumberformat.h"

#include <cstdio>

std::string ReplaceExtension(const std::string& path, const std::string& extension)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

bool ExportAllToTAB(const std::string& path, const std::vector<std::string>& legendPaths)
{
    if (path.empty())
        return false;
    TabKitTable* table = CreateLegendTable(path);
    if (!table)
        return false;
    CCLocaleScope cLocale;
    bool ok = true;
    for (const std::string& legendPath : legendPaths) {
        if (legendPath.empty())
            continue;
        CLLLegend legend;
        legend.ReadLEG(legendPath);
        for (int i = 0; i < legend.GetRowCount(); ++i) {
            std::string values[TabField::Count];
            FormatLegendRow(legend, i, TabRowRules::AllLegends, values);
            ok = WriteLegendFeature(table, values) && ok;
        }
    }
    // The hosts keep reading the previous table when this one failed part-way.
    if (tabkit_c_close(table) == 0 || !ok)
        return false;
    std::remove(ReplaceExtension(path, ".id").c_str());
    std::remove(ReplaceExtension(path, ".map").c_str());
    return true;
}
