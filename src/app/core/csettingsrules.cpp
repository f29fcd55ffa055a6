#include "app/core/csettingsrules.h"

#include "app/core/loadpath.h"

CSettingsRules::CSettingsRules(CSettingsDialog::Values values, bool hostRows, std::string productText)
    : m_Values(std::move(values)), m_HostRows(hostRows), m_ProductText(std::move(productText))
{
}

bool CSettingsRules::Shows(Row row) const
{
    return m_HostRows || row == Row::LegendFolder || row == Row::PatternFolder;
}

bool CSettingsRules::Browse(Row row, const CFileChooser& choose)
{
    std::string* value = nullptr;
    CFileChooserRequest request;
    request.productText = m_ProductText;
    switch (row) {
    case Row::LegendFolder:
    case Row::PatternFolder:
        value = row == Row::LegendFolder ? &m_Values.legendFolder : &m_Values.patternFolder;
        request.kind = CFileChooserRequest::Kind::Folder;
        request.start = *value;
        break;
    case Row::PenFile:
        value = &m_Values.penFile;
        request.kind = CFileChooserRequest::Kind::OpenFile;
        request.start = m_Values.penFile.empty() ? LoadPathFolder() : m_Values.penFile;
        request.extension = "pen";
        request.filter = "Cartora Pen files (*.pen)|*.pen||";
        break;
    case Row::TABLocation:
        return false;
    }
    const std::optional<std::string> chosen = choose(request);
    if (!chosen)
        return false;
    *value = *chosen;
    if (row == Row::PenFile)
        RememberLoadPath(*chosen);
    return true;
}
