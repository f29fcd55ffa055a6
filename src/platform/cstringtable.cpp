#include "platform/cstringtable.h"

#include <map>

namespace {

const std::map<int, std::string>& Table()
{
    static const std::map<int, std::string> table = {
        {Str::AboutMenu, "&About Tessarin..."},
        {Str::CouldNotOpen, "Could not open %1!s!"},
        {Str::NotAColourMapTable,
         "This file is not a valid Quarvex/Strativ3D colour map table or drillhole colour table."},
        {Str::ChooseInputTab, "You must choose an input TAB file"},
        {Str::SelectLegendName, "You must select a legend name"},
        {Str::EnterOutputFile, "You must enter an output file name"},
        {Str::CouldNotLoad, "Could not load %1!s!"},
        {Str::ProjectHeading, "Project"},
        {Str::ProjectHeader, "Project Header"},
        {Str::SystemHeading, "System"},
        {Str::SystemHeader, "System Header"},
        {Str::Custom, "Custom"},
        {Str::TypeText, "Text"},
        {Str::TypeNumericDiscrete, "Numeric discrete"},
        {Str::TypeNumericContinuous, "Numeric continuous"},
        {Str::HeadRow, "Row"},
        {Str::HeadFrom, "From (>=)"},
        {Str::HeadString, "String"},
        {Str::HeadToContinuous, "To (<)"},
        {Str::HeadToDiscrete, "To (<=)"},
        {Str::HeadLabel, "Label"},
        {Str::HeadFg, "Fg"},
        {Str::HeadBg, "Bg"},
        {Str::HeadPattern, "Pattern"},
        {Str::HeadLCol, "LCol"},
        {Str::HeadLStyle, "LStyle"},
        {Str::HeadLThick, "LThick"},
        {Str::HeadComment, "Comment"},
        {Str::SaveChanges, "Would you like to save your changes to the current legend?"},
        {Str::NoConnectQuarvex3D, "Could not connect to Quarvex 3D!"},
        {Str::NoConnectStrativ3D, "Could not connect to Strativ3D!"},
        {Str::NoConnectQuarvexVyrn, "Could not connect to Quarvex Vyrn!"},
        {Str::DeleteLegend, "Would you like to delete %1!s!?"},
        {Str::NoWritePermission, "%1!s! does not have write-permission!"},
        {Str::SelectSingleColumn, "You must select a single column"},
        {Str::SelectColourColumn, "Please select a colour column"},
        {Str::NoRowSelected, "No row selected"},
        {Str::DeleteRowsTitle, "Delete rows"},
        {Str::DeleteRowsMany, "You are about to delete %1!d! rows. Are you sure?"},
        {Str::DeleteRowsOne, "You are about to delete %1!d! row. Are you sure?"},
        {Str::SelectPatternColumn, "Please select the pattern column"},
        {Str::PatternTwoRows, "You must selected at least two rows in the pattern column"},
        {Str::AppTitle, "Tessarin"},
        {Str::NonStandardFolder,
         "Warning: You are about to save this legend file to a non-standard folder. Doing so "
         "will make it inaccessible.\nDo you wish to proceed?"},
        {Str::NothingSelected, "You have not selected any rows or columns"},
        {Str::DuplicateUnsupported,
         "Your selection contains some columns for which duplication is not supported. Only the "
         "foreground colour (Fg) through to line style (LStyle) columns can be duplicated."},
        {Str::InvalidPenFile, "Invalid pen file: %1!s!"},
        {Str::Transparent, "Transparent"},
        {Str::NumericNeedsTwoRows,
         "A numeric legend requires two or more rows/ranges before it can be saved. If you are "
         "trying to create a single range spanning the entire\ndataset (e.g. 0-115ppm), simply "
         "subdivide this into two ranges e.g. 0-50 & 50-115"},
        {Str::InsertNeedsRowSort,
         "Sorry, but you cannot insert a row unless the spreadsheet is sorted by row number"},
        {Str::AddNeedsRowSort,
         "Sorry, but you cannot add a row unless the spreadsheet is sorted by row number"},
        {Str::DeleteNeedsRowSort,
         "Sorry, but you cannot delete rows unless the spreadsheet is sorted by row number"},
        {Str::ChangedOnDisk,
         "%1!s! has been changed by another program since it was loaded.\nDo you want to "
         "overwrite it with your changes? Choose No to reload it and drop your changes, or "
         "Cancel to go on editing."},
        {Str::SaveFailed, "Could not save %1!s!: %2!s!"},
        {Str::ConversionSkipped,
         "These legends of %1!s! were not converted, because their names cannot be file names:\n%2!s!"},
        {Str::ConversionNotWritten, "These legends of %1!s! could not be written:\n%2!s!"},
        {Str::DeleteFailed, "Could not delete %1!s!: %2!s!"},
        {Str::ExportLegendUnreadable,
         "The TAB legend table %1!s! was not updated: could not read %2!s!: %3!s!"},
        {Str::ExportTableFailed, "Could not write the TAB legend table %1!s!: %2!s!"},
        {Str::SettingNotStored, "Could not store %1!s!: %2!s!"},
        {Str::OutputNameLeavesFolder,
         "\"%1!s!\" cannot be the output file name: it must be a plain file name in the legend "
         "folder, without a folder separator, a leading dot or control characters."},
        {Str::ReplaceLegend, "%1!s! already exists.\nDo you want to replace it?"},
    };
    return table;
}

} // namespace

const std::string& CStringTable::Load(int id)
{
    static const std::string empty;
    const auto& table = Table();
    auto it = table.find(id);
    return it == table.end() ? empty : it->second;
}

std::string CStringTable::Format(const std::string& pattern, const std::vector<std::string>& args)
{
    std::string out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        // "%<n>!<type>!"
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '9') {
            size_t j = i + 1;
            size_t n = 0;
            while (j < pattern.size() && pattern[j] >= '0' && pattern[j] <= '9')
                n = n * 10 + static_cast<size_t>(pattern[j++] - '0');
            if (j < pattern.size() && pattern[j] == '!') {
                const size_t close = pattern.find('!', j + 1);
                if (close != std::string::npos) {
                    if (n >= 1 && n <= args.size())
                        out += args[n - 1];
                    i = close;
                    continue;
                }
            }
        }
        out += pattern[i];
    }
    return out;
}
