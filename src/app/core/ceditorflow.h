#pragma once
// The rules of the editor's main window without the window: which legend is
// shown, when it is read and written, what the list holds, and every question
// asked on the way. The window implements CEditorView, forwards its buttons and
// list selections here, and lends the dialogs through small interfaces; the
// flow talks to the user only through the CUserPrompt it was given.

#include "app/core/editorhostflags.h"
#include "legend/cllegend.h"
#include "platform/cfileio.h"
#include "platform/cuserprompt.h"
#include "storage/legendfiles.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CEditorView;
class CLegendEdit;

// Where the flow's changes go for undo and redo (the window keeps the stack).
class CEditorHistory {
public:
    virtual ~CEditorHistory() = default;
    // A change of the current legend, already made.
    virtual void Recorded(CLegendEdit edit) = 0;
    // Another legend (or none) is shown, or the shown one was read again from disk.
    virtual void Reset() = 0;
    // The legend was written: the state now shown is the unmodified one.
    virtual void Saved() = 0;
};
class CHostNotifier;
class CImportTABDialog;
class CNewLegendDialog;
class CSaveFileDialog;
class CSettingsDialog;

// The dialogs the window lends the flow; any may be null while the window has
// none, and its command then does nothing.
struct CEditorDialogs {
    CNewLegendDialog* newLegend = nullptr;
    CImportTABDialog* importTAB = nullptr;
    CSettingsDialog* settings = nullptr;
    CSaveFileDialog* saveFile = nullptr;
    CHostNotifier* hostNotifier = nullptr;
};

class CEditorFlow {
public:
    using Dialogs = CEditorDialogs;

    CEditorFlow(CUserPrompt& prompt, CEditorView& view, const CEditorHostFlags& flags,
                const Dialogs& dialogs = {});

    // The start-up options that are not host flags: the legend to select
    // ("-name"), the TAB table kept for the hosts, and the product whose project
    // folder is listed ("" for the program's own).
    // A relative path counts from the working folder, as on the command line.
    void SetLegendToSelect(const std::string& path);
    void SetTABPath(const std::string& path) { m_TABPath = path; }
    void SetProduct(const std::string& product) { m_Product = product; }
    // A legend given by its path (a file manager opening it): it becomes the
    // legend to select, and its folder is listed too when no listed folder holds it.
    void OpenFile(const std::string& path);

    // When the window opens: the pattern folder and pen file from the common
    // settings, then the list and the starting legend.
    void Open();

    // The one way the current legend changes: a typed description, a cell
    // written back from the spreadsheet, a chooser's result, a row command.
    // The change must do all its work on the legend it is handed: no view
    // calls, no questions, nothing read from outside. Then it can be undone
    // and redone from copies of the legend taken around it. Marks the legend
    // modified when the change changed something.
    void ChangeLegend(const std::function<void(CLLLegend&)>& change);
    // The modified flag has two writers, each for its own reason: the flow sets
    // and clears it around loads, saves and changes, and the window's undo
    // stack sets it from whether the stack is back at its saved state
    // (SetModified). The commands that deliberately mark the legend modified
    // without changing it (stepping the patterns of a single row, say) leave
    // nothing to undo, so they bypass the stack: an undo back to the saved
    // state may then clear their mark, which loses no data, since the legend
    // is then exactly what is on disk.
    void MarkModified() { m_Modified = true; }
    void SetHistory(CEditorHistory* history) { m_History = history; }
    // Undo or redo of a recorded change; the history decides the modified flag
    // afterwards (SetModified), since only it knows where the saved state is.
    void ApplyEdit(const CLegendEdit& edit, bool undo);
    void SetModified(bool modified) { m_Modified = modified; }
    // The user typed in the description field.
    void DescriptionEdited(const std::string& text);

    // The list's selection moved to `index` (-1 for none); a heading moves it on.
    void ChooseLegend(int index);
    // True when the file was read; a file that cannot be read is reported (109)
    // and the legend shown stays.
    bool Load(const std::string& path);
    void RefillList();
    // Another program added or removed legend files: the list follows, the
    // legend shown and its selection stay (no question, no reload).
    void FollowFolders();
    // The folders the list is made from, for watching.
    std::vector<std::string> ListedFolders() const;
    // True when written; false when refused, cancelled or failed (reported).
    bool Save(const std::string& path, bool checkRows);

    // The window's buttons.
    void SaveButton();
    void SaveAs();
    // True when the window may close.
    bool Close();
    void New();
    void Import();
    void Delete();
    void Settings();
    void NotifyHost();
    // Writes every listed legend into the TAB table at path; reports a failure.
    void ExportAllToTAB(const std::string& path);

    // What the window and the tests look at.
    const CLLLegend& Legend() const { return m_Legend; }
    bool IsModified() const { return m_Modified; }
    bool IsReadOnly() const { return m_ReadOnly; }
    const std::string& CurrentFolder() const { return m_CurrentFolder; }
    const std::string& FileName() const { return m_FileName; }
    const std::string& NameField() const { return m_NameField; }
    const std::string& LegendToSelect() const { return m_LegendToSelect; }
    const std::string& LegendFolder() const { return m_LegendFolder; }
    const std::string& ProjectFolder() const { return m_ProjectFolder; }
    const std::string& PatternFolder() const { return m_PatternFolder; }
    const std::string& PenFile() const { return m_PenFile; }
    const std::vector<CLegendListItem>& ListItems() const { return m_Items; }
    // The listed paths in list order, "" for headings.
    std::vector<std::string> ListedPaths() const;
    int Selection() const { return m_LastValidIndex; }

private:
    // The window's UpdateData: the fields into the members and back.
    void CopyControlsIntoMembers();
    void CopyMembersToControls();
    // Empties the spreadsheet and disables the editing controls.
    void ClearShown();
    // Asks message 134 when the legend is modified: Yes/No, or Yes/No/Cancel
    // when `cancel`; false when the user cancelled, or said Yes and the save
    // did not happen. A reload instead of the save (the file had changed on
    // disk) leaves nothing unsaved, so the command goes on.
    bool SaveChangesFirst(bool cancel = false);
    // What became of a save: written, or the file read again instead (the user
    // chose the other program's version), or neither.
    enum class SaveOutcome { Written, Reloaded, NotWritten };
    SaveOutcome SaveChecked(const std::string& path, bool checkRows);
    // The save's question when the file changed on disk since it was loaded:
    // Written to go on writing, Reloaded when the user took the file on disk,
    // NotWritten when the user went on editing or the reload failed.
    SaveOutcome MayOverwrite(const std::string& path);
    // Empties the header, the legend and the spreadsheet: nothing is shown, so
    // nothing of the legend shown before can be saved anywhere.
    void ShowNoLegend();
    // Message 109 for a legend that cannot be read, with the reader's reason.
    void ShowCouldNotLoad(const std::string& path, const CFileResult& read);
    void Show(int stringId, const std::vector<std::string>& args = {});
    CUserPrompt::Answer Ask(int stringId, const std::vector<std::string>& args,
                            CUserPrompt::Buttons buttons, const std::string& title = {});
    int FindListedPath(const std::string& path) const;
    std::vector<CLegendListItem> CollectItems() const;
    std::string CurrentPath() const { return m_CurrentFolder + m_FileName; }
    static std::string DataTypeText(int32_t dataType);
    // A folder as the settings give it, held with one trailing '/'; empty stays
    // empty rather than becoming the root folder.
    static std::string AsFolder(const std::string& folder);

    CEditorHistory* m_History = nullptr;
    bool m_ReloadAfterSave = false; // the list refill after a save reads the legend again
    std::string m_SavedPath;
    CUserPrompt& m_Prompt;
    CEditorView& m_View;
    CEditorHostFlags m_Flags;
    Dialogs m_Dialogs;

    CLLLegend m_Legend;
    // The header fields as the window shows them.
    std::string m_NameField;
    std::string m_FileName;
    std::string m_Description;
    std::string m_DataTypeField;
    bool m_ReadOnly = false;
    bool m_Modified = false;

    std::string m_CurrentFolder;
    std::vector<CLegendListItem> m_Items;
    std::string m_LegendToSelect;
    int m_LastValidIndex = -1;

    std::string m_LegendFolder;
    std::string m_ProjectFolder;
    std::string m_PatternFolder;
    std::string m_PenFile;
    std::string m_TABPath;
    std::string m_Product;
    std::string m_ExtraFolder; // the folder of a legend opened by its path, when not listed otherwise

    // The file the shown legend was read from, as it was then: a save over it
    // asks first when someone else has changed it since.
    std::string m_LoadedPath;
    std::optional<CFileStamp> m_LoadedStamp;
};
