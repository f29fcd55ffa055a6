#include "storage/legendfiles.h"

#include "platform/cfilefacts.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"
#include "platform/cufilename.h"
#include "platform/cutext.h"

#include <algorithm>

namespace {

// Of the look-up-table kinds the search knows, only legends are listed.
struct CSearchExtension {
    const char* extension;
    bool enabled;
};
constexpr CSearchExtension SearchExtensions[] = {
    {"lut", false}, {"tbl", false}, {"clr", false}, {"leg", true}};

void SplitInto(std::vector<std::string>& out, const std::string& list)
{
    size_t start = 0;
    while (start <= list.size()) {
        size_t end = list.find(';', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start)
            out.push_back(list.substr(start, end - start));
        start = end + 1;
    }
}

struct CFoundFile {
    std::string path;
    std::string title;
};

// A folder as the search resolves it: '\\' read as '/', "//" as "/", made
// absolute and without "." or ".." parts. Empty when it cannot be resolved.
std::string ResolveFolder(const std::string& folder)
{
    return CFileFacts::AbsoluteNormal(
        CUText::ReplaceAll(CUText::ReplaceAll(folder, "\\", "/"), "//", "/"));
}

// The files of one folder with the given extension (any case), in name order
// without regard to case, each with its absolute path.
std::vector<CFoundFile> FindFiles(const std::string& folder, const std::string& extension)
{
    std::vector<CFoundFile> found;
    const std::string dir = ResolveFolder(folder);
    std::vector<std::string> names;
    if (dir.empty() ||
        !CFileFacts::FilesWithExtension(dir, "." + extension, CFileFacts::Case::Ignored, names))
        return found;
    const std::string prefix = CUFilename::WithTrailingSlash(dir);
    for (const std::string& name : names)
        found.push_back({prefix + name, name.substr(0, name.size() - extension.size() - 1)});
    std::sort(found.begin(), found.end(), [](const CFoundFile& a, const CFoundFile& b) {
        if (!CUText::EqualNoCase(a.title, b.title))
            return CUText::LessNoCase(a.title, b.title);
        return a.title < b.title;
    });
    return found;
}

} // namespace

std::vector<std::string> LegendSearchFolders(const std::string& product,
                                             const std::string& extraFolders,
                                             bool skipStandardFolders)
{
    std::vector<std::string> folders;
    if (!skipStandardFolders) {
        if (auto project = GetProjectFolder(product); project && !project->empty())
            SplitInto(folders, *project);
        if (auto lut = GetCommonSetting("LUT_PATH"))
            SplitInto(folders, *lut);
        SplitInto(folders, CSettingsStore::GetProfileString("Path", "ColourLUT"));
    }
    SplitInto(folders, extraFolders);
    return folders;
}

void CollectLegendFiles(std::vector<std::string>& paths, std::vector<std::string>& names,
                        const std::string& product, const std::string& extraFolders,
                        bool skipStandardFolders)
{
    std::vector<std::string> searched;
    for (const std::string& folder : LegendSearchFolders(product, extraFolders, skipStandardFolders)) {
        // A folder reached again, by another spelling or through a link, is the
        // same directory (device and inode): its files are listed already. File
        // names are never compared without case, for a.leg and A.LEG may be two
        // files.
        const std::string dir = ResolveFolder(folder);
        if (std::any_of(searched.begin(), searched.end(),
                        [&](const std::string& p) { return CFileFacts::SameFile(p, dir); }))
            continue;
        searched.push_back(dir);
        for (const CSearchExtension& kind : SearchExtensions) {
            if (!kind.enabled)
                continue;
            for (const CFoundFile& file : FindFiles(folder, kind.extension)) {
                bool listed = false;
                int sameTitle = 0;
                for (size_t i = 0; i < names.size() && !listed; ++i) {
                    if (paths[i] == file.path)
                        listed = true;
                    else if (CUText::EqualNoCase(names[i], file.title))
                        ++sameTitle;
                }
                if (listed)
                    continue;
                names.push_back(sameTitle == 0
                                    ? file.title
                                    : file.title + "[" + std::to_string(sameTitle) + "]");
                paths.push_back(file.path);
            }
        }
    }
}

std::string GetFolderOfPath(const std::string& path)
{
    for (char separator : {'\\', '/', ':'}) {
        const size_t at = path.rfind(separator);
        if (at != std::string::npos)
            return path.substr(0, at + 1);
    }
    return {};
}

CLegendGroups GroupLegendFiles(const std::vector<std::string>& paths,
                               const std::vector<std::string>& names,
                               const std::string& projectFolder)
{
    CLegendGroups groups;
    // The collected paths are resolved; the project folder is compared in the
    // same form, or a folder written with "//" or ".." would lose its group.
    std::string project;
    if (!projectFolder.empty()) {
        const std::string resolved = ResolveFolder(projectFolder);
        project = resolved.empty() ? projectFolder : CUFilename::WithTrailingSlash(resolved);
    }
    const size_t n = std::min(paths.size(), names.size());
    for (size_t i = 0; i < n; ++i) {
        const bool inProject = !project.empty() &&
                               CUText::EqualNoCase(GetFolderOfPath(paths[i]), project);
        (inProject ? groups.project : groups.system).push_back({names[i], paths[i]});
    }
    return groups;
}

std::vector<CLegendListItem> BuildLegendList(const CLegendGroups& groups, bool withHeadings)
{
    std::vector<CLegendListItem> items;
    auto addGroup = [&](const std::vector<CLegendListEntry>& entries, int heading, int marker) {
        if (entries.empty())
            return;
        if (withHeadings)
            items.push_back({true, CStringTable::Load(heading), CStringTable::Load(marker), {}});
        for (const CLegendListEntry& e : entries)
            items.push_back({false, e.name, {}, e.path});
    };
    if (withHeadings)
        addGroup(groups.project, Str::ProjectHeading, Str::ProjectHeader);
    addGroup(groups.system, Str::SystemHeading, Str::SystemHeader);
    return items;
}
