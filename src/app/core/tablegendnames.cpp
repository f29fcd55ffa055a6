#include "app/core/tablegendnames.h"

#include "legend/tabtable.h"
#include "platform/cstringtable.h"
#include "platform/cufilename.h"
#include "platform/cutext.h"
#include "platform/cuserprompt.h"
#include "platform/tabkit.h"

#include <algorithm>
#include <unordered_set>

CTABLegendNames ReadTABLegendNames(const std::string& tabPath, CUserPrompt& prompt)
{
    CTABLegendNames result;
    TabKitTable* table = tabkit_c_open(tabPath.c_str(), 1);
    if (!table) {
        prompt.ShowString(Str::CouldNotOpen, {TabKitFailure(tabPath)});
        return result;
    }
    result.opened = true;
    const int nameField = FindTabField(table, TabField::Names[TabField::Name]);
    result.mapCode = FindTabField(table, TabMapField::Names[TabMapField::MapCode]) >= 0;
    result.hasNameField = nameField >= 0;
    if (!result.mapCode && !result.hasNameField) {
        prompt.Ask(
            {Str::NotAColourMapTable,
             tabPath + ": " + CStringTable::FormatId(Str::NotAColourMapTable, {}),
             {},
             CUserPrompt::Buttons::Ok});
    } else if (!result.mapCode) {
        std::unordered_set<std::string> seen;
        const int count = tabkit_c_get_feature_count(table);
        for (int id = 1; id <= count; ++id) {
            TabKitFeature* feature = tabkit_c_read_feature(table, id);
            if (tabkit_c_get_type(feature) != -1) {
                const std::string name = tabkit_c_get_field_as_string(feature, nameField);
                if (seen.insert(name).second)
                    result.names.push_back(name);
            }
            tabkit_c_destroy_feature(feature);
        }
    }
    tabkit_c_close(table);
    return result;
}

bool IsLegendFileName(const std::string& name)
{
    // A leading dot makes a hidden file, and covers "." and "..".
    if (name.empty() || name[0] == '.')
        return false;
    for (const char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        // Tables come from Windows as often as not, where '\\' separates folders.
        if (c == '/' || c == '\\' || byte < 0x20 || byte == 0x7F)
            return false;
    }
    return true;
}

std::string LegendNameOf(const std::string& field)
{
    const bool blank = field.find_first_not_of(" \t\r\n\v\f") == std::string::npos;
    return blank ? std::string() : field;
}

std::string ImportOutputFileName(const std::string& tabPath, const std::string& legendName,
                                 bool mapCode)
{
    std::string name = mapCode ? CUFilename::FileTitle(tabPath) : LegendNameOf(legendName);
    std::replace_if(name.begin(), name.end(), [](char c) { return c == ' ' || c == '\t'; }, '_');
    return IsLegendFileName(name) ? name + ".leg" : std::string();
}

std::string WithLegendSuffix(const std::string& name)
{
    const bool has = name.size() > 4 && CUText::EqualNoCase(name.substr(name.size() - 4), ".leg");
    return has ? name : name + ".leg";
}
