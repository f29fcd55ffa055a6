#include "app/core/tabconversion.h"

#include "app/core/tablegendnames.h"
#include "legend/cllegend.h"
#include "legend/tabtable.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"
#include "platform/cuserprompt.h"
#include "platform/cutext.h"
#include "platform/tabkit.h"
#include "storage/cllegendfinder.h"

#include <sys/stat.h>

namespace {

using Hive = CSettingsStore::Hive;

// True when the table has not changed since the stored stamp. Refreshes the
// stamp whenever one is stored and the file's time can be read.
bool UnchangedSinceStamp(const std::string& tabPath)
{
    const auto stored = CSettingsStore::GetString(Hive::CurrentUser, TabStampKey, TabStampValue);
    if (!stored)
        return false;
    struct stat st;
    if (::stat(tabPath.c_str(), &st) != 0)
        return false;
    const std::string now = FormatStampTime(st.st_mtime);
    CSettingsStore::SetString(Hive::CurrentUser, TabStampKey, TabStampValue, now);
    const auto before = ParseStampTime(*stored);
    const auto after = ParseStampTime(now);
    return before && after && *before == *after;
}

} // namespace

std::string FormatStampTime(std::time_t t)
{
    std::tm local{};
    if (!::localtime_r(&t, &local))
        return {};
    char text[64];
    const size_t n = std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
    return std::string(text, n);
}

std::optional<std::time_t> ParseStampTime(const std::string& text)
{
    std::tm local{};
    const char* end = ::strptime(text.c_str(), "%Y/%m/%d %H:%M:%S", &local);
    if (!end)
        return std::nullopt;
    local.tm_isdst = -1;
    const std::time_t t = std::mktime(&local);
    if (t == static_cast<std::time_t>(-1))
        return std::nullopt;
    return t;
}

std::optional<std::vector<std::string>> CollectTABLegendRuns(const std::string& tabPath,
                                                             bool* fieldsMissing)
{
    TabKitTable* table = tabkit_c_open(tabPath.c_str(), 1);
    if (!table) {
        CUserPrompt::Show(Str::CouldNotOpen, {TabKitFailure(tabPath)});
        return std::nullopt;
    }
    bool allFound = true;
    for (int f = 0; f < TabField::StandardCount; ++f)
        allFound = FindTabField(table, TabField::Names[f]) >= 0 && allFound;
    if (!allFound)
        CUserPrompt::Current().Ask(
            {Str::ChooseInputTab,
             tabPath + ": " + CStringTable::FormatId(Str::ChooseInputTab, {}),
             {},
             CUserPrompt::Buttons::Ok});
    if (fieldsMissing)
        *fieldsMissing = !allFound;
    const int nameField = FindTabField(table, TabField::Names[TabField::Name]);

    std::vector<std::string> names;
    std::optional<std::string> previous;
    // Without "P_Name" there are no legend names, not one empty name.
    for (int id = nameField < 0 ? -1 : tabkit_c_next_feature_id(table, -1); id >= 0;
         id = tabkit_c_next_feature_id(table, id)) {
        TabKitFeature* feature = tabkit_c_read_feature(table, id);
        if (tabkit_c_get_type(feature) != -1) {
            const std::string name = tabkit_c_get_field_as_string(feature, nameField);
            if (!previous || !CUText::EqualNoCase(name, *previous))
                names.push_back(name);
            previous = name;
        }
        tabkit_c_destroy_feature(feature);
    }
    tabkit_c_close(table);
    return names;
}

CTabConversion ConvertTABToLEG(const std::string& tabPath, bool checkTimeStamp)
{
    CTabConversion result;
    if (checkTimeStamp && UnchangedSinceStamp(tabPath)) {
        result.outcome = CTabConversion::Outcome::Unchanged;
        return result;
    }
    const auto names = CollectTABLegendRuns(tabPath, &result.fieldsMissing);
    if (!names) {
        result.outcome = CTabConversion::Outcome::OpenFailed;
        return result;
    }
    CLLLegendFinder finder;
    finder.Init();
    result.folder = finder.GetFolder();
    for (const std::string& name : *names) {
        // Names come from data: one must never lead out of the folder, nor
        // make a hidden ".leg" (an empty name would also take every row).
        if (!IsLegendFileName(name)) {
            result.skipped.push_back(name);
            continue;
        }
        CLLLegend legend;
        legend.ImportTAB(tabPath, name, 0);
        const std::string path = result.folder + name + ".leg";
        (legend.WriteLEG(path) ? result.written : result.failed).push_back(path);
    }
    return result;
}

std::string DefaultTABPath(bool quarvex, bool quarvex3D, const std::string& givenPath)
{
    if (!givenPath.empty() || !(quarvex || quarvex3D))
        return givenPath;
    auto folder = CSettingsStore::GetString(Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Setup\\",
                                            "ConfigDir");
    if (!folder)
        return {};
    if (folder->empty() || (folder->back() != '/' && folder->back() != '\\'))
        *folder += '/';
    return *folder + "xs_colr.tab";
}
