#include "app/core/tabconversion.h"

#include "app/core/tablegendnames.h"
#include "legend/cllegend.h"
#include "legend/tabtable.h"
#include "platform/cfilefacts.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"
#include "platform/cuserprompt.h"
#include "platform/cutext.h"
#include "platform/tabkit.h"
#include "storage/cllegendfinder.h"

#include <unordered_map>

namespace {

using Hive = CSettingsStore::Hive;

// True when the table has not changed since the stored stamp. Refreshes the
// stamp whenever one is stored and the file's time can be read.
bool UnchangedSinceStamp(const std::string& tabPath)
{
    const auto stored = CSettingsStore::GetString(Hive::CurrentUser, TabStampKey, TabStampValue);
    if (!stored)
        return false;
    const CFileFacts::Facts table = CFileFacts::Of(tabPath);
    if (!table.Exists())
        return false;
    // The stamp holds whole seconds.
    const std::string now = FormatStampTime(static_cast<std::time_t>(table.modified.seconds));
    CSettingsStore::SetString(Hive::CurrentUser, TabStampKey, TabStampValue, now);
    const auto before = ParseStampTime(*stored);
    const auto after = ParseStampTime(now);
    return before && after && *before == *after;
}


// "P_Name" of every row an import of the whole table gives, in the same order
// (features 1 to count, those without a type left out as the import leaves
// them), so that names[i] belongs to row i of that import.
std::optional<std::vector<std::string>> ReadRowNames(const std::string& tabPath,
                                                     CUserPrompt& prompt, bool* fieldsMissing)
{
    TabKitTable* table = tabkit_c_open(tabPath.c_str(), 1);
    if (!table) {
        prompt.ShowString(Str::CouldNotOpen, {TabKitFailure(tabPath)});
        return std::nullopt;
    }
    bool allFound = true;
    for (int f = 0; f < TabField::StandardCount; ++f)
        allFound = FindTabField(table, TabField::Names[f]) >= 0 && allFound;
    if (!allFound)
        prompt.Ask(
            {Str::ChooseInputTab,
             tabPath + ": " + CStringTable::FormatId(Str::ChooseInputTab, {}),
             {},
             CUserPrompt::Buttons::Ok});
    if (fieldsMissing)
        *fieldsMissing = !allFound;
    const int nameField = FindTabField(table, TabField::Names[TabField::Name]);

    std::vector<std::string> names;
    // Without "P_Name" there are no legend names, not one empty name.
    const int count = nameField < 0 ? 0 : tabkit_c_get_feature_count(table);
    for (int id = 1; id <= count; ++id) {
        TabKitFeature* feature = tabkit_c_read_feature(table, id);
        if (tabkit_c_get_type(feature) != -1)
            names.push_back(LegendNameOf(tabkit_c_get_field_as_string(feature, nameField)));
        tabkit_c_destroy_feature(feature);
    }
    tabkit_c_close(table);
    return names;
}

// One entry per run of equal names (case ignored), a leading run of empty
// names included.
std::vector<std::string> Runs(const std::vector<std::string>& rowNames)
{
    std::vector<std::string> runs;
    for (size_t i = 0; i < rowNames.size(); ++i)
        if (i == 0 || !CUText::EqualNoCase(rowNames[i], rowNames[i - 1]))
            runs.push_back(rowNames[i]);
    return runs;
}

std::string CaseKey(const std::string& name)
{
    std::string key = name;
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return key;
}

} // namespace

std::optional<std::vector<std::string>> CollectTABLegendRuns(const std::string& tabPath,
                                                             CUserPrompt& prompt,
                                                             bool* fieldsMissing)
{
    const auto rowNames = ReadRowNames(tabPath, prompt, fieldsMissing);
    if (!rowNames)
        return std::nullopt;
    return Runs(*rowNames);
}

CTabConversion ConvertTABToLEG(const std::string& tabPath, bool checkTimeStamp,
                               CUserPrompt& prompt)
{
    CTabConversion result;
    if (checkTimeStamp && UnchangedSinceStamp(tabPath)) {
        result.outcome = CTabConversion::Outcome::Unchanged;
        return result;
    }
    const auto rowNames = ReadRowNames(tabPath, prompt, &result.fieldsMissing);
    if (!rowNames) {
        result.outcome = CTabConversion::Outcome::OpenFailed;
        return result;
    }
    CLLLegendFinder finder;
    finder.Init();
    result.folder = finder.GetFolder();

    // The whole table is read once and its rows grouped by legend name (case
    // ignored, as the import of one name compares): importing name by name
    // read the table again for every legend.
    std::vector<std::string> runs = Runs(*rowNames);
    CLLLegend all;
    if (!runs.empty())
        all.ImportTAB(tabPath, "", 0, prompt);
    const bool aligned = all.GetRowCount() == static_cast<int>(rowNames->size());
    std::unordered_map<std::string, std::vector<int>> rowsOf;
    if (aligned)
        for (size_t i = 0; i < rowNames->size(); ++i)
            rowsOf[CaseKey((*rowNames)[i])].push_back(static_cast<int>(i));

    for (const std::string& name : runs) {
        // Names come from data: one must never lead out of the folder, nor
        // make a hidden or unreadable file (an empty name would also take
        // every row).
        if (!IsLegendFileName(name)) {
            result.skipped.push_back(name);
            continue;
        }
        CLLLegend legend;
        if (aligned) {
            legend.Clear(); // a new document starts with colours of its own
            bool text = false;
            CLLRow row;
            for (const int i : rowsOf[CaseKey(name)]) {
                all.GetRow(i, row);
                text = text || !row.text.empty();
                legend.AddRow(row);
            }
            legend.FinishRead(tabPath);
            legend.m_Name = name;
            legend.m_DataType = text ? DataText : DataNumericContinuous;
        } else {
            // The table changed between the two reads: import this name alone.
            legend.ImportTAB(tabPath, name, 0, prompt);
        }
        const std::string path = result.folder + name + ".leg";
        if (const CFileResult saved = legend.SaveLEG(path); saved.Ok())
            result.written.push_back(path);
        else
            result.failed.push_back({path, saved.Reason()});
    }
    return result;
}

std::string DefaultTABPath(bool quarvex, bool quarvex3D, const std::string& givenPath)
{
    if (!givenPath.empty() || !(quarvex || quarvex3D))
        return givenPath;
    auto folder = CSettingsStore::GetString(Hive::CurrentUser, "Software\\Ferrolin\\Quarvex\\Setup\\",
                                            "ConfigDir");
    // An empty value names no folder; taken literally it would put the table
    // at the root of the file system.
    if (!folder || folder->empty())
        return {};
    if (folder->back() != '/' && folder->back() != '\\')
        *folder += '/';
    return *folder + "xs_colr.tab";
}
