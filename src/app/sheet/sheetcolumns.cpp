#include "app/sheet/sheetcolumns.h"

#include "legend/cllegend.h"
#include "platform/cstringtable.h"

CSheetColumns CSheetColumns::For(int dataType)
{
    if (dataType != DataText)
        return {};
    return {.from = 1,
            .to = -1,
            .label = 2,
            .fg = 3,
            .bg = 4,
            .pattern = 5,
            .lcol = 6,
            .lstyle = 7,
            .lthick = 8,
            .comment = 9,
            .count = 10};
}

std::vector<CSheetColumns::Heading> CSheetColumns::Headings(int dataType, bool quarvexOrStrativ)
{
    auto text = [](int id) { return CStringTable::Load(id); };
    std::vector<Heading> headings{{text(Str::HeadRow), 32}};
    if (dataType == DataText) {
        headings.push_back({text(Str::HeadString), 80});
    } else {
        headings.push_back({text(Str::HeadFrom), 64});
        headings.push_back(
            {text(dataType == DataNumericDiscrete ? Str::HeadToDiscrete : Str::HeadToContinuous),
             48});
    }
    headings.insert(headings.end(), {{text(Str::HeadLabel), quarvexOrStrativ ? 0 : 72},
                                     {text(Str::HeadFg), 24},
                                     {text(Str::HeadBg), 24},
                                     {text(Str::HeadPattern), 48},
                                     {text(Str::HeadLCol), 40},
                                     {text(Str::HeadLStyle), quarvexOrStrativ ? 48 : 0},
                                     {text(Str::HeadLThick), 48},
                                     {text(Str::HeadComment), 240}});
    return headings;
}
