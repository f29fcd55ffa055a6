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
    for (const std::string& legendPath : legendPaths) {
        if (legendPath.empty())
            continue;
        CLLLegend legend;
        legend.ReadLEG(legendPath);
        const bool text = legend.m_DataType == DataText;
        for (int i = 0; i < legend.GetRowCount(); ++i) {
            CLLRow row;
            legend.GetRow(i, row);
            std::string comment = row.comment;
            if (comment.size() > TabField::CommentChars)
                comment.resize(TabField::CommentChars);
            auto colour = [](const CGColor& c) {
                return CNumberFormat::Format("%ld", static_cast<long>(SwapRedBlue(c.GetPacked())));
            };
            // Unlike a single legend's export, pattern 0 is left empty here: the
            // hosts read the shared table that way.
            const std::string values[TabField::Count] = {
                legend.m_FileTitle,
                CNumberFormat::Format("%g", text ? 0.0 : row.from),
                CNumberFormat::Format("%g", text ? 0.0 : row.to),
                text ? row.text : std::string(),
                row.pattern < 1 ? std::string()
                                : CNumberFormat::Format("%ld", static_cast<long>(row.pattern)),
                colour(row.fillColour),
                row.backTransparent ? std::string("-1") : colour(row.backColour),
                CNumberFormat::Format("%.10g", static_cast<double>(row.thickness)),
                CNumberFormat::Format("%ld", static_cast<long>(row.lineStyle)),
                colour(row.lineColour),
                comment,
            };
            WriteLegendFeature(table, values);
        }
    }
    tabkit_c_close(table);
    std::remove(ReplaceExtension(path, ".id").c_str());
    std::remove(ReplaceExtension(path, ".map").c_str());
    return true;
}
