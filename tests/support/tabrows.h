#pragma once
// Every feature of a TAB table as text, field by field; empty when the table
// cannot be opened.

#include "platform/tabkit.h"

#include <string>
#include <vector>

inline std::vector<std::vector<std::string>> TableRows(const std::string& path)
{
    std::vector<std::vector<std::string>> rows;
    TabKitTable* t = tabkit_c_open(path.c_str(), 1);
    if (!t)
        return rows;
    for (int id = 1; id <= tabkit_c_get_feature_count(t); ++id) {
        TabKitFeature* f = tabkit_c_read_feature(t, id);
        std::vector<std::string> row;
        for (int i = 0; i < tabkit_c_get_field_count(t); ++i)
            row.emplace_back(tabkit_c_get_field_as_string(f, i));
        rows.push_back(row);
        tabkit_c_destroy_feature(f);
    }
    tabkit_c_close(t);
    return rows;
}
