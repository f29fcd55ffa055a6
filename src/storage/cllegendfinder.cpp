#include "storage/cllegendfinder.h"

#include "platform/cfilefacts.h"
#include "platform/csettingsstore.h"
#include "platform/cufilename.h"
#include "platform/cutext.h"

#include <algorithm>
#include <numeric>

void CLLLegendFinder::Init()
{
    m_Folder.clear();
    m_Paths.clear();
    m_Names.clear();
    m_SettingsProblem.clear();
    if (auto lut = GetCommonSetting("LUT_PATH", &m_SettingsProblem)) {
        m_Folder = CUFilename::WithTrailingSlash(*lut);
        Scan();
        return;
    }
    // The folder the user set may be another one than the library's.
    if (!m_SettingsProblem.empty())
        return;
    if (auto base = CSettingsStore::GetString(CSettingsStore::Hive::LocalMachine, ImageLibraryKey,
                                              ImageLibraryBaseValue)) {
        m_Folder = *base + "/lut/";
        Scan();
    }
}

int CLLLegendFinder::Scan()
{
    m_Paths.clear();
    m_Names.clear();
    if (m_Folder.empty())
        return 0;
    // The files come in byte order, so that which of two names that trim to
    // the same one wins does not vary.
    std::vector<std::string> files;
    if (!CFileFacts::FilesWithExtension(m_Folder, ".leg", CFileFacts::Case::Ignored, files))
        return 0;

    const std::string folder = CUFilename::WithTrailingSlash(m_Folder);
    const char* blanks = " \t\r\n\f\v";
    for (const std::string& file : files) {
        const size_t first = file.find_first_not_of(blanks);
        const size_t last = file.find_last_not_of(blanks);
        const std::string name = file.substr(first, last - first + 1);
        const std::string path = folder + name;
        // Names that differ only in case are two files here; only names that
        // trim to the same one meet.
        const bool known = std::find(m_Paths.begin(), m_Paths.end(), path) != m_Paths.end();
        if (known)
            continue;
        m_Paths.push_back(path);
        m_Names.push_back(name.size() >= 4 ? name.substr(0, name.size() - 4) : std::string());
    }

    std::vector<size_t> order(m_Names.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return CUText::LessNoCase(m_Names[a], m_Names[b]); });
    std::vector<std::string> paths, names;
    for (size_t i : order) {
        paths.push_back(m_Paths[i]);
        names.push_back(m_Names[i]);
    }
    m_Paths = std::move(paths);
    m_Names = std::move(names);
    return 1;
}
