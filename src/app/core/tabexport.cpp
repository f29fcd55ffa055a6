#include "app/core/tabexport.h"

#include "legend/cllegend.h"
#include "legend/tabtable.h"
#include "platform/cfileio.h"
#include "platform/cfilefacts.h"
#include "platform/cnumberformat.h"
#include "platform/cutext.h"
#include "platform/tabkit.h"

#include <cstring>

std::string ReplaceExtension(const std::string& path, const std::string& extension)
{
    const size_t slash = path.find_last_of("/\\");
    const size_t dot = path.rfind('.');
    const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + extension;
}

CExportAllResult ExportAllToTAB(const std::string& path,
                                const std::vector<std::string>& legendPaths)
{
    CExportAllResult result;
    if (path.empty()) {
        result.outcome = CExportAllResult::Outcome::NoPath;
        return result;
    }
    std::vector<CLLLegend> legends;
    legends.reserve(legendPaths.size());
    for (const std::string& legendPath : legendPaths) {
        if (legendPath.empty())
            continue;
        legends.emplace_back();
        const CFileResult read = legends.back().ReadLEG(legendPath);
        // Deleted since it was listed: the reader's default legend is no legend.
        if (read.Missing()) {
            legends.pop_back();
            continue;
        }
        if (!read.Ok()) {
            result.outcome = CExportAllResult::Outcome::LegendUnreadable;
            result.file = legendPath;
            result.reason = read.Reason();
            return result;
        }
    }
    TabKitTable* table = CreateLegendTable(path);
    if (!table) {
        result.outcome = CExportAllResult::Outcome::TableNotWritten;
        result.reason = tabkit_c_last_error();
        return result;
    }
    CCLocaleScope cLocale;
    bool ok = true;
    for (const CLLLegend& legend : legends) {
        for (int i = 0; i < legend.GetRowCount(); ++i) {
            std::string values[TabField::Count];
            FormatLegendRow(legend, i, TabRowRules::AllLegends, values);
            // The first failure is the one that says why; closing clears it.
            if (!WriteLegendFeature(table, values) && ok) {
                ok = false;
                result.reason = tabkit_c_last_error();
            }
        }
    }
    // The hosts keep reading the previous table when this one failed part-way.
    const bool closed = tabkit_c_close(table) != 0;
    if (!closed || !ok) {
        result.outcome = CExportAllResult::Outcome::TableNotWritten;
        if (!closed)
            result.reason = tabkit_c_last_error();
        return result;
    }
    CFileFacts::Remove(ReplaceExtension(path, ".id"));
    CFileFacts::Remove(ReplaceExtension(path, ".map"));
    return result;
}

std::vector<CFolderProblem> FoldersNotEntered(const std::vector<std::string>& folders)
{
    std::vector<CFolderProblem> problems;
    for (const std::string& folder : folders) {
        const std::string cleaned = CUText::ReplaceAll(folder, "\\", "/");
        if (int error = 0; !CFileFacts::CanList(cleaned, error))
            problems.push_back({folder, std::strerror(error)});
    }
    return problems;
}
