#pragma once
// Small legends and TAB legend tables for the application tests, made by the program's own writers.

#include "legend/cllegend.h"
#include "support/recordingprompt.h"
#include "platform/tabkit.h"

#include <string>
#include <vector>

// A numeric legend with one row per label; its TAB export holds legends of those names in that order.
inline CLLLegend LegendWithLabels(const std::vector<std::string>& labels)
{
    CLLLegend l;
    l.Clear();
    for (const std::string& label : labels) {
        const double from = l.GetRowCount();
        l.AddRow({.label = label,
                  .from = from,
                  .to = from + 1.0,
                  .fillColour = CGColor(0x00204060u),
                  .backColour = CGColor(0x00FFFFFFu),
                  .pattern = 2,
                  .lineStyle = 1});
    }
    return l;
}

// A table with the given character fields and rows, written through TabKit.
inline bool MakeTextTable(const std::string& path, const std::vector<std::string>& fields,
                          const std::vector<std::vector<std::string>>& rows)
{
    TabKitTable* t = tabkit_c_create(path.c_str(), "tab", 0, 0, 0, 0, 0, 1);
    if (!t)
        return false;
    for (const std::string& f : fields)
        tabkit_c_add_field(t, f.c_str(), TABKIT_FIELD_CHAR, 40, 0, 0, 0);
    tabkit_c_commit_fields(t);
    for (const auto& row : rows) {
        TabKitFeature* feature = tabkit_c_create_feature(t, 0);
        for (size_t i = 0; i < row.size(); ++i)
            tabkit_c_set_field(feature, static_cast<int>(i), row[i].c_str());
        tabkit_c_write_feature(t, feature);
        tabkit_c_destroy_feature(feature);
    }
    return tabkit_c_close(t) == 1;
}
