// The editor's commands that make, import or delete legend files, change the
// settings, and tell the hosts: New, Import, Delete, Settings, the host refresh
// and the export of all legends.
#include "app/core/ceditorflow.h"

#include "app/core/ceditorview.h"
#include "app/core/chostnotifier.h"
#include "app/core/cimporttabdialog.h"
#include "app/core/cnewlegenddialog.h"
#include "app/core/csettingsdialog.h"
#include "app/core/rowinterpolation.h"
#include "app/core/tablegendnames.h"
#include "app/core/tabexport.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"
#include "platform/cufilename.h"

using Answer = CUserPrompt::Answer;
using Buttons = CUserPrompt::Buttons;

void CEditorFlow::New()
{
    if (!m_Dialogs.newLegend)
        return;
    CopyControlsIntoMembers();
    if (!SaveChangesFirst())
        return;
    const std::optional<CNewLegendDialog::Result> made =
        m_Dialogs.newLegend->Run({m_ProjectFolder, m_LegendFolder, m_Flags});
    if (!made)
        return;

    const std::string path = CUFilename::WithTrailingSlash(made->folder) + made->name + ".leg";
    m_LegendToSelect = path;
    m_Modified = false;
    RefillList();
    // Without the file the dialog was to write, a save would put the legend
    // shown before under the new name.
    if (m_LoadedPath != path)
        return;
    // Loaded, so listed: the refill loads only a listed legend.
    const int index = FindListedPath(path);
    m_View.SelectListItem(index);
    ChooseLegend(index);

    CopyControlsIntoMembers();
    Save(path, true);
    if (m_Legend.GetRowCount() > 0) {
        // A blue-to-red ramp over the rows, so that a new legend shows its
        // classes apart at once.
        ChangeLegend([](CLLLegend& legend) {
            const int last = legend.GetRowCount() - 1;
            auto& fill = legend.m_FillColours.m_Colours;
            fill[static_cast<size_t>(last)] = CGColor(255, 0, 0);
            fill[0] = CGColor(0, 0, 255);
            InterpolateColourColumn(legend, 0, last, CColourColumn::Fill, CInterpolationMode::HSL);
            for (int32_t& pattern : legend.m_Patterns)
                pattern = 2;
            for (int32_t& style : legend.m_LineStyles)
                style = 2;
        });
    }
    // Saved again without the minimum-rows rule, so that a legend of fewer
    // rows than a host asks for still lands on disk.
    Save(path, false);
    NotifyHost();
}

void CEditorFlow::Import()
{
    if (!m_Dialogs.importTAB)
        return;
    CopyControlsIntoMembers();
    const std::optional<CImportTABDialog::Result> chosen =
        m_Dialogs.importTAB->Run(m_Flags.ProductText());
    if (!chosen)
        return;

    CLLLegend imported;
    imported.m_DefaultThickness = m_Flags.UnderQuarvexOrStrativ() ? 1.0f : 0.0f;
    imported.ImportTAB(chosen->tabPath, chosen->legendName, 1, m_Prompt);
    // A chosen legend has rows: none means the table could not be read (and
    // said so), and an empty file must not take the legend's name.
    if (imported.GetRowCount() == 0)
        return;
    // With no legend shown there is no current folder: the legend folder is
    // where a new legend is listed.
    const std::string folder = m_CurrentFolder.empty() ? m_LegendFolder : m_CurrentFolder;
    const std::string fileName = WithLegendSuffix(chosen->outputName);
    const std::string path = folder + fileName;
    // The changes are asked about first, so that Cancel leaves before anything
    // else is decided. Replacing the legend shown replaces its changes too:
    // the user who agrees to that is not asked to save them first.
    const bool replacesShown =
        !m_FileName.empty() && (path == CurrentPath() || CFileIO::SameFile(path, CurrentPath()));
    // The list is refilled and the legend shown read again below.
    if (!replacesShown && !SaveChangesFirst(true))
        return;
    if (CFileIO::Stamp(path) &&
        Ask(Str::ReplaceLegend, {path}, Buttons::YesNo, CStringTable::Load(Str::AppTitle)) != Answer::Yes)
        return;
    m_Modified = false; // saved, dropped by the user's No, or replaced
    const CFileResult written = imported.SaveLEG(path);
    if (!written.Ok()) {
        Show(Str::SaveFailed, {path, written.Reason()});
        return;
    }
    m_FileName = fileName;
    m_LegendToSelect = path;
    RefillList();
    CopyMembersToControls();
}

void CEditorFlow::Delete()
{
    CopyControlsIntoMembers();
    const std::string path = CurrentPath();
    if (m_FileName.empty() || !CFileIO::Stamp(path))
        return;
    if (Ask(Str::DeleteLegend, {path}, Buttons::YesNo) != Answer::Yes)
        return;
    if (!CFileIO::IsWritable(path)) {
        Show(Str::NoWritePermission, {path});
        return;
    }
    const CFileResult removed = CFileIO::Remove(path);
    if (!removed.Ok()) {
        Show(Str::DeleteFailed, {path, removed.Reason()});
        return;
    }
    // The unsaved changes belonged to the file the user just deleted; asking
    // to save them would write it back.
    m_Modified = false;
    m_LegendToSelect.clear();
    RefillList(); // an empty list shows no legend at all
    if (m_Flags.UnderQuarvexOrStrativ())
        ExportAllToTAB(m_TABPath);
}

void CEditorFlow::Settings()
{
    if (!m_Dialogs.settings)
        return;
    CopyControlsIntoMembers();
    const bool hostRows = m_Flags.UnderQuarvexOrStrativ();
    const std::optional<CSettingsDialog::Values> values = m_Dialogs.settings->Run(
        {m_LegendFolder, m_PatternFolder, m_PenFile, m_TABPath}, m_Flags.ProductText(), hostRows);
    if (!values || !SaveChangesFirst(true)) // the refill below reads the legend again
        return;
    m_Modified = false; // saved, or dropped by the user's No
    const auto store = [this](const char* name, const std::string& value) {
        std::string why;
        if (!SetCommonSetting(name, value, &why))
            Show(Str::SettingNotStored, {name, why});
    };
    // The legend shown belongs to the old folder: the new list starts at its
    // first legend, and an empty one shows none, without a word about the old.
    const std::string legendFolder = AsFolder(values->legendFolder);
    if (legendFolder != m_LegendFolder)
        m_LegendToSelect.clear();
    m_LegendFolder = legendFolder;
    store("LUT_PATH", m_LegendFolder);
    m_PatternFolder = AsFolder(values->patternFolder);
    store("BRUSH_PATH", m_PatternFolder);
    if (hostRows) {
        m_PenFile = values->penFile;
        store("PEN_FILE", m_PenFile);
    }
    m_View.ReloadPatterns(m_PatternFolder);
    RefillList();
}

void CEditorFlow::NotifyHost()
{
    // Inside the GIS host the 3D views are not ours to tell.
    if (!m_Flags.notify3D || m_Flags.gisHost || !m_Dialogs.hostNotifier)
        return;
    const char* process = "Vyrn";
    int failed = Str::NoConnectQuarvexVyrn;
    if (m_Flags.quarvex3D) {
        process = "Quarvex3D";
        failed = Str::NoConnectQuarvex3D;
    } else if (m_Flags.strativ3D) {
        process = "Strativ3D";
        failed = Str::NoConnectStrativ3D;
    }
    if (!m_Dialogs.hostNotifier->IsRunning(process) || !m_Dialogs.hostNotifier->ConnectAndReload())
        Show(failed);
}

void CEditorFlow::ExportAllToTAB(const std::string& path)
{
    const CExportAllResult result = ::ExportAllToTAB(path, ListedPaths());
    if (result.outcome == CExportAllResult::Outcome::LegendUnreadable)
        Show(Str::ExportLegendUnreadable, {path, result.file, result.reason});
    else if (result.outcome == CExportAllResult::Outcome::TableNotWritten)
        Show(Str::ExportTableFailed, {path, result.reason});
}
