#include "app/core/cimporttabrules.h"

#include "app/core/loadpath.h"
#include "app/core/tablegendnames.h"
#include "platform/cstringtable.h"
#include "platform/cuserprompt.h"

CImportTABRules::CImportTABRules(CUserPrompt& prompt, std::string productText)
    : m_Prompt(prompt), m_ProductText(std::move(productText))
{
}

bool CImportTABRules::BrowseTable(const CFileChooser& choose)
{
    CFileChooserRequest request;
    request.kind = CFileChooserRequest::Kind::OpenFile;
    request.start = LoadPathFolder();
    request.extension = "tab";
    request.filter = "Cartora TAB files (*.tab)|*.tab||";
    request.productText = m_ProductText;
    const std::optional<std::string> chosen = choose(request);
    if (!chosen)
        return false;
    TableChosen(*chosen);
    return true;
}

void CImportTABRules::TableChosen(const std::string& path)
{
    m_TabPath = path;
    RememberLoadPath(path);
    const CTABLegendNames read = ReadTABLegendNames(path, m_Prompt);
    m_MapCode = read.mapCode;
    m_Names = read.names;
    SelectLegend(m_Names.empty() ? -1 : 0);
}

void CImportTABRules::SelectLegend(int index)
{
    m_Selected = index >= 0 && index < static_cast<int>(m_Names.size()) ? index : -1;
    m_OutputName = ImportOutputFileName(m_TabPath, SelectedName(), m_MapCode);
}

std::string CImportTABRules::SelectedName() const
{
    return m_Selected >= 0 ? m_Names[static_cast<size_t>(m_Selected)] : std::string();
}

std::optional<CImportTABDialog::Result> CImportTABRules::Accept() const
{
    if (m_TabPath.empty()) {
        m_Prompt.ShowString(Str::ChooseInputTab);
        return std::nullopt;
    }
    if (m_Selected < 0 && !m_MapCode) {
        m_Prompt.ShowString(Str::SelectLegendName);
        return std::nullopt;
    }
    if (m_OutputName.empty()) {
        m_Prompt.ShowString(Str::EnterOutputFile);
        return std::nullopt;
    }
    // The editor writes the output into its current folder: a typed name
    // must not reach another one, nor hide the file from the legend list.
    if (!IsLegendFileName(m_OutputName)) {
        m_Prompt.ShowString(Str::OutputNameLeavesFolder, {m_OutputName});
        return std::nullopt;
    }
    return CImportTABDialog::Result{m_TabPath, SelectedName(), WithLegendSuffix(m_OutputName)};
}
