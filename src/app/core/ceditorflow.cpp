// The editor's flows around the current legend: choosing, loading, listing,
// saving and closing. The commands that make, import or delete legend files
// and change the settings are in ceditorcommands.cpp.
#include "app/core/ceditorflow.h"

#include "platform/cfilefacts.h"

#include "app/core/ceditorview.h"
#include "app/core/clegendedit.h"
#include "app/core/csavefiledialog.h"
#include "app/core/findnonheading.h"
#include "app/core/legendtext.h"
#include "app/core/tablegendnames.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"
#include "platform/ctextcodec.h"
#include "platform/cufilename.h"
#include "platform/cutext.h"

#include <map>


using Answer = CUserPrompt::Answer;
using Buttons = CUserPrompt::Buttons;

CEditorFlow::CEditorFlow(CUserPrompt& prompt, CEditorView& view, const CEditorHostFlags& flags,
                         const Dialogs& dialogs)
    : m_Prompt(prompt), m_View(view), m_Flags(flags), m_Dialogs(dialogs)
{
    m_Legend.Clear();
}

void CEditorFlow::Open()
{
    m_PatternFolder = AsFolder(GetCommonSetting("BRUSH_PATH").value_or(""));
    m_PenFile = GetCommonSetting("PEN_FILE").value_or("");
    m_View.ReloadPatterns(m_PatternFolder);
    RefillList();
}

void CEditorFlow::SetLegendToSelect(const std::string& path)
{
    m_LegendToSelect = path.empty() ? path : CFileFacts::AbsoluteNormal(path);
}

void CEditorFlow::OpenFile(const std::string& path)
{
    m_LegendToSelect = CFileFacts::AbsoluteNormal(path);
    const std::string folder = AsFolder(GetFolderOfPath(m_LegendToSelect));
    // Compared with links resolved: a legend named through a link to a listed
    // folder is that folder's entry, not a second folder of the same files.
    const std::string real = AsFolder(CFileFacts::Canonical(folder));
    m_ExtraFolder.clear();
    for (const std::string& listed : LegendSearchFolders(m_Product, "", false))
        if (!listed.empty() && AsFolder(CFileFacts::Canonical(listed)) == real)
            return;
    m_ExtraFolder = folder;
}

void CEditorFlow::ChangeLegend(const std::function<void(CLLLegend&)>& change)
{
    const CLLLegend before = m_Legend;
    change(m_Legend);
    // Ending an edit without changing the text, or sorting by a column already
    // in order, is no change: leaving the legend then asks nothing.
    CLegendEdit edit = CLegendEdit::Between(before, m_Legend);
    if (edit.IsEmpty())
        return;
    m_Modified = true;
    if (m_History)
        m_History->Recorded(std::move(edit));
}

void CEditorFlow::ApplyEdit(const CLegendEdit& edit, bool undo)
{
    // A cell still open would land its text on the rows refilled below.
    m_View.CancelPendingEdits();
    edit.Apply(m_Legend, undo);
    m_NameField = m_Legend.m_Name;
    m_Description = m_Legend.m_Description;
    m_DataTypeField = DataTypeText(m_Legend.m_DataType);
    m_View.FillSpreadsheet(m_Legend);
    CopyMembersToControls();
}

void CEditorFlow::DescriptionEdited(const std::string& text)
{
    m_Description = TypedLegendText(text, m_Legend.m_Description, IsWindows1252Legend(m_Legend));
    ChangeLegend([this](CLLLegend& legend) { legend.m_Description = m_Description; });
}

std::vector<std::string> CEditorFlow::ListedPaths() const
{
    std::vector<std::string> paths;
    paths.reserve(m_Items.size());
    for (const CLegendListItem& item : m_Items)
        paths.push_back(item.path);
    return paths;
}

void CEditorFlow::ChooseLegend(int index)
{
    CopyControlsIntoMembers();
    const bool modified = m_Modified;
    const bool listed = index >= 0 && index < static_cast<int>(m_Items.size());
    const std::string chosen = listed && !m_Items[static_cast<size_t>(index)].heading
                                   ? m_Items[static_cast<size_t>(index)].path
                                   : std::string();
    if (!SaveChangesFirst()) {
        // The legend that could not be saved stays shown, and so does its entry.
        m_View.SelectListItem(m_LastValidIndex);
        return;
    }
    // The save refilled the list and selected the legend it wrote: the chosen
    // entry is found again by its path, and selected once it is loaded.
    const bool refilled = modified && !m_Modified;
    if (refilled && !chosen.empty())
        index = FindListedPath(chosen);
    const int count = static_cast<int>(m_Items.size());
    if (index >= count)
        index = -1;
    if (index >= 0 && m_Items[static_cast<size_t>(index)].heading) {
        std::vector<bool> headings;
        for (const CLegendListItem& item : m_Items)
            headings.push_back(item.heading);
        index = FindNonHeading(headings, index, m_LastValidIndex);
        if (index >= count || (index >= 0 && m_Items[static_cast<size_t>(index)].heading))
            index = -1;
        m_View.SelectListItem(index);
    }
    const int previousIndex = m_LastValidIndex;
    m_LastValidIndex = index;
    if (index >= 0) {
        const std::string previousFolder = m_CurrentFolder, previousFile = m_FileName, previousToSelect = m_LegendToSelect;
        const std::string& path = m_Items[static_cast<size_t>(index)].path;
        m_CurrentFolder = GetFolderOfPath(path);
        m_FileName = path.substr(m_CurrentFolder.size());
        m_LegendToSelect = path;
        if (Load(CurrentPath())) {
            m_NameField = m_Legend.m_Name;
            m_Modified = false;
            if (refilled)
                m_View.SelectListItem(index);
        } else {
            // The legend shown stays, and with it the file it belongs to.
            m_CurrentFolder = previousFolder;
            m_FileName = previousFile;
            m_LegendToSelect = previousToSelect;
            m_LastValidIndex = previousIndex;
            m_View.SelectListItem(previousIndex);
        }
    } else {
        ShowNoLegend();
        return;
    }
    CopyMembersToControls();
}

void CEditorFlow::ShowNoLegend()
{
    m_NameField.clear();
    m_FileName.clear();
    m_Description.clear();
    m_DataTypeField.clear();
    m_Legend = CLLLegend();
    m_Legend.Clear();
    m_LoadedPath.clear();
    m_LoadedStamp.reset();
    m_Modified = false;
    ClearShown();
    CopyMembersToControls();
}

void CEditorFlow::ShowCouldNotLoad(const std::string& path, const CFileResult& read)
{
    Show(Str::CouldNotLoad, {read.Ok() ? path : path + ": " + read.Reason()});
}

bool CEditorFlow::Load(const std::string& path)
{
    // Stamped before reading: a change that lands while we read makes the
    // next save ask, rather than slip through.
    const std::optional<CFileStamp> stamp = CFileIO::Stamp(path);
    CLLLegend read;
    if (const CFileResult result = read.ReadLEG(path); !result.Ok()) {
        // Nothing of the shown legend changes, its read-only state included:
        // the caller puts back the file it came from, so no save can write
        // these rows over the file that failed.
        ShowCouldNotLoad(path, result);
        return false;
    }
    m_ReadOnly = !CFileIO::IsWritable(path);
    m_View.ShowReadOnly(m_ReadOnly);
    m_View.EnableEditing(!m_ReadOnly);
    m_Legend = std::move(read);
    // Reading back the file just written keeps the history; any other read starts afresh.
    if (m_History && !(m_ReloadAfterSave && path == m_SavedPath))
        m_History->Reset();
    m_LoadedPath = path;
    m_LoadedStamp = stamp;
    m_Description = m_Legend.m_Description;
    m_DataTypeField = DataTypeText(m_Legend.m_DataType);
    m_View.EnableAutoPopulate(m_Legend.m_DataType != DataText);
    m_View.FillSpreadsheet(m_Legend);
    return true;
}

void CEditorFlow::RefillList()
{
    m_LegendFolder.clear();
    m_ProjectFolder.clear();
    m_CurrentFolder.clear();
    m_Items.clear();
    if (std::optional<std::string> lut = GetCommonSetting("LUT_PATH"))
        m_LegendFolder = AsFolder(*lut);
    const bool withHeadings = !m_Flags.UnderQuarvexOrStrativ();
    if (withHeadings)
        m_ProjectFolder = GetProjectFolder(m_Product).value_or("");

    m_Items = CollectItems();
    m_View.SetListItems(m_Items);

    if (m_LegendToSelect.empty()) {
        const int first = m_Items.empty() ? -1 : 0;
        m_View.SelectListItem(first);
        m_LastValidIndex = -1;
        ChooseLegend(first);
        return;
    }
    const int index = FindListedPath(m_LegendToSelect);
    m_View.SelectListItem(index);
    m_LastValidIndex = index;
    // A legend the list does not show (one named on the command line in a
    // folder that is not listed) is loaded all the same, with no entry
    // selected: the user asked for that file. One that cannot be read (a
    // FIFO, a folder, a device) is reported with the reader's reason.
    m_CurrentFolder = GetFolderOfPath(m_LegendToSelect);
    m_FileName = m_LegendToSelect.substr(m_CurrentFolder.size());
    if (Load(m_LegendToSelect)) {
        m_NameField = m_Legend.m_Name;
        m_Modified = false;
    } else {
        m_FileName.clear();
        ClearShown();
    }
    CopyMembersToControls();
}

bool CEditorFlow::Save(const std::string& path, bool checkRows)
{
    return SaveChecked(path, checkRows) == SaveOutcome::Written;
}

CEditorFlow::SaveOutcome CEditorFlow::SaveChecked(const std::string& path, bool checkRows)
{
    CopyControlsIntoMembers();
    if (checkRows && m_Flags.UnderQuarvexOrStrativ() && m_Legend.m_DataType != DataText &&
        m_Legend.GetRowCount() < 2) {
        Ask(Str::NumericNeedsTwoRows, {}, Buttons::Ok, CStringTable::Load(Str::AppTitle));
        return SaveOutcome::NotWritten;
    }
    if (const SaveOutcome overwrite = MayOverwrite(path); overwrite != SaveOutcome::Written)
        return overwrite;
    m_Legend.m_Description = m_Description;
    // The file title is UTF-8 as the file system shows it; in a Windows-1252
    // legend it becomes Windows-1252 like every other text the user gave.
    m_Legend.m_Name = TypedLegendText(CTextCodec::ToUtf8(CUFilename::FileTitle(m_FileName)),
                                      m_Legend.m_Name, IsWindows1252Legend(m_Legend));
    const CFileResult written = m_Legend.SaveLEG(path);
    if (!written.Ok()) {
        Show(Str::SaveFailed, {path, written.Reason()});
        return SaveOutcome::NotWritten;
    }
    m_Modified = false;
    m_ReloadAfterSave = true;
    m_SavedPath = path;
    RefillList();
    m_ReloadAfterSave = false;
    if (m_History)
        m_History->Saved();
    if (m_Flags.UnderQuarvexOrStrativ())
        ExportAllToTAB(m_TABPath);
    return SaveOutcome::Written;
}

CEditorFlow::SaveOutcome CEditorFlow::MayOverwrite(const std::string& path)
{
    if (!m_LoadedStamp || (path != m_LoadedPath && !CFileIO::SameFile(path, m_LoadedPath)))
        return SaveOutcome::Written;
    const std::optional<CFileStamp> now = CFileIO::Stamp(path);
    // A file deleted meanwhile loses nothing by being written again.
    if (!now || *now == *m_LoadedStamp)
        return SaveOutcome::Written;
    switch (
        Ask(Str::ChangedOnDisk, {path}, Buttons::YesNoCancel, CStringTable::Load(Str::AppTitle))) {
    case Answer::Yes: return SaveOutcome::Written;
    case Answer::No:
        // A file the other program left unreadable cannot replace the edits.
        if (!Load(m_LoadedPath))
            return SaveOutcome::NotWritten;
        m_NameField = m_Legend.m_Name;
        m_Modified = false;
        CopyMembersToControls();
        return SaveOutcome::Reloaded;
    default: return SaveOutcome::NotWritten;
    }
}

void CEditorFlow::SaveButton()
{
    if (!Save(CurrentPath(), true))
        return;
    CopyMembersToControls();
    NotifyHost();
}

void CEditorFlow::SaveAs()
{
    if (!m_Dialogs.saveFile)
        return;
    CopyControlsIntoMembers();
    CSaveFileDialog::Request request;
    request.folder = m_CurrentFolder.empty()
                         ? CSettingsStore::GetProfileString("Settings", "SavePath")
                         : m_CurrentFolder;
    request.fileName = m_FileName;
    const std::optional<std::string> picked = m_Dialogs.saveFile->Run(request);
    if (!picked)
        return;
    // "x.LEG" is a legend file already; "x" becomes one.
    const std::string chosen = WithLegendSuffix(*picked);
    const std::string folder = GetFolderOfPath(chosen);
    CSettingsStore::WriteProfileString("Settings", "SavePath", folder);
    // The dialog asked about replacing the name it returned; a name that
    // became another by its ".leg" is asked about here.
    if (chosen != *picked && CFileIO::Stamp(chosen) &&
        Ask(Str::ReplaceLegend, {chosen}, Buttons::YesNo, CStringTable::Load(Str::AppTitle)) != Answer::Yes)
        return;
    // Folder names differ by case on this system: /data/Legends/ is not /data/legends/.
    if (folder != m_CurrentFolder &&
        Ask(Str::NonStandardFolder, {}, Buttons::YesNo, CStringTable::Load(Str::AppTitle)) !=
            Answer::Yes)
        return;
    m_NameField = CUFilename::FileTitle(chosen);
    m_Legend.m_Name = m_NameField;
    CopyMembersToControls();
    if (!Save(chosen, true))
        return;
    CopyMembersToControls();
    RefillList();
    NotifyHost();
}

bool CEditorFlow::Close()
{
    CopyControlsIntoMembers();
    const bool selected =
        m_LastValidIndex >= 0 && m_LastValidIndex < static_cast<int>(m_Items.size());
    CSettingsStore::WriteProfileString(
        "Settings", "LastLegend",
        selected ? m_Items[static_cast<size_t>(m_LastValidIndex)].text : "");
    if (!m_Modified)
        return true;
    switch (Ask(Str::SaveChanges, {}, Buttons::YesNoCancel)) {
    case Answer::Yes: return SaveChecked(CurrentPath(), true) != SaveOutcome::NotWritten;
    case Answer::No: return true;
    default: return false;
    }
}

void CEditorFlow::CopyControlsIntoMembers()
{
    m_Description = TypedLegendText(m_View.Description(), m_Description, IsWindows1252Legend(m_Legend));
    m_View.CommitPendingEdits();
}

void CEditorFlow::CopyMembersToControls()
{
    m_View.SetHeader(m_NameField, m_FileName, m_Description, m_DataTypeField);
}

void CEditorFlow::ClearShown()
{
    if (m_History)
        m_History->Reset();
    m_View.ClearSpreadsheet();
    m_View.EnableEditing(false);
}

bool CEditorFlow::SaveChangesFirst(bool cancel)
{
    if (!m_Modified)
        return true;
    switch (Ask(Str::SaveChanges, {}, cancel ? Buttons::YesNoCancel : Buttons::YesNo)) {
    case Answer::Yes: return SaveChecked(CurrentPath(), true) != SaveOutcome::NotWritten;
    case Answer::No: return true;
    default: return false;
    }
}

void CEditorFlow::Show(int stringId, const std::vector<std::string>& args)
{
    Ask(stringId, args, Buttons::Ok);
}

CUserPrompt::Answer CEditorFlow::Ask(int stringId, const std::vector<std::string>& args,
                                     CUserPrompt::Buttons buttons, const std::string& title)
{
    CUserPrompt::Message message;
    message.stringId = stringId;
    message.text = CStringTable::FormatId(stringId, args);
    message.title = title;
    message.buttons = buttons;
    return m_Prompt.Ask(message);
}

std::vector<CLegendListItem> CEditorFlow::CollectItems() const
{
    std::vector<std::string> paths, names;
    CollectLegendFiles(paths, names, m_Product, m_ExtraFolder, false);
    return BuildLegendList(GroupLegendFiles(paths, names, m_ProjectFolder), !m_Flags.UnderQuarvexOrStrativ());
}

void CEditorFlow::FollowFolders()
{
    std::vector<CLegendListItem> items = CollectItems();
    const auto same = [](const CLegendListItem& a, const CLegendListItem& b) {
        return a.heading == b.heading && a.text == b.text && a.path == b.path && a.marker == b.marker;
    };
    if (std::equal(items.begin(), items.end(), m_Items.begin(), m_Items.end(), same))
        return;
    m_Items = std::move(items);
    m_View.SetListItems(m_Items);
    // The legend shown stays shown, changes and all, even when its file went.
    const int index = m_FileName.empty() ? -1 : FindListedPath(CurrentPath());
    m_LastValidIndex = index;
    m_View.SelectListItem(index);
}

std::vector<std::string> CEditorFlow::ListedFolders() const
{
    std::vector<std::string> folders;
    for (const std::string& folder : LegendSearchFolders(m_Product, m_ExtraFolder, false))
        if (!folder.empty())
            folders.push_back(AsFolder(folder));
    return folders;
}

int CEditorFlow::FindListedPath(const std::string& path) const
{
    // The exact path first: two files may differ only by case here.
    for (size_t i = 0; i < m_Items.size(); ++i)
        if (!m_Items[i].heading && m_Items[i].path == path)
            return static_cast<int>(i);
    for (size_t i = 0; i < m_Items.size(); ++i)
        if (!m_Items[i].heading && CUText::EqualNoCase(m_Items[i].path, path))
            return static_cast<int>(i);
    // The same file named through a link to its folder (or to a folder above). Each
    // listed folder is resolved once, not each of its thousand entries.
    const std::string target = CFileFacts::Canonical(path);
    std::map<std::string, std::string> realFolders;
    for (size_t i = 0; i < m_Items.size(); ++i) {
        const std::string& listed = m_Items[i].path;
        const size_t cut = listed.rfind('/');
        if (m_Items[i].heading || cut == std::string::npos)
            continue;
        const std::string folder = listed.substr(0, cut + 1);
        auto [known, fresh] = realFolders.try_emplace(folder);
        if (fresh)
            known->second = AsFolder(CFileFacts::Canonical(folder));
        if (known->second + listed.substr(cut + 1) == target)
            return static_cast<int>(i);
    }
    return -1;
}

std::string CEditorFlow::DataTypeText(int32_t dataType)
{
    switch (dataType) {
    case DataText: return CStringTable::Load(Str::TypeText);
    case DataNumericDiscrete: return CStringTable::Load(Str::TypeNumericDiscrete);
    default: return CStringTable::Load(Str::TypeNumericContinuous);
    }
}

std::string CEditorFlow::AsFolder(const std::string& folder)
{
    return folder.empty() ? folder : CUText::ReplaceAll(folder + "/", "//", "/");
}
