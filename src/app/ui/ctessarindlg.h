#pragma once
// The main window: the legend list on the left, the header fields top right, the
// spreadsheet filling the rest, the row commands and the file commands below.
// It builds controls and forwards what the user does; the rules live in the
// Qt-free flows of app/core.
//
// Every control carries its dialog id in the property "controlId" (and a plain
// object name), so tests and the edit-mode layout find it by what the host
// applications' documentation calls it.

#include "app/core/ceditorflow.h"
#include "app/core/ceditorview.h"
#include "app/core/csavefiledialog.h"
#include "app/core/startupoptions.h"
#include "app/sheet/cchooserhost.h"
#include "app/ui/cmessageboxprompt.h"

#include <QDialog>
#include <QPointer>

#include <map>
#include <memory>

class QAction;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QWidget;
class CGridWidget;
class CMyGridCtrl;
class CRowCommands;
class CImportTABDlg;
class CLineStyleChooserDlg;
class CPenFileSampler;
class CSettingsDlg;

namespace ControlId {
enum : int {
    Save = 1,
    Close = 2,
    SaveAs = 3,
    Help = 4,
    Settings = 6,
    LegendList = 1000,
    New = 1001,
    Delete = 1002,
    Name = 1003,
    Filename = 1004,
    Description = 1005,
    DataType = 1006,
    Import = 1007,
    Spreadsheet = 1008,
    RgbInterp = 1024,
    HslInterp = 1025,
    InsertRow = 1026,
    DeleteRows = 1027,
    StepPatterns = 1028,
    Duplicate = 1029,
    ReadOnly = 1030,
    LegendsGroup = 1031,
    NameLabel = 1032,
    DescriptionLabel = 1033,
    FilenameLabel = 1034,
    DataTypeLabel = 1035,
    AddRow = 1036,
    AutoPopulate = 1055,
    // Ours: the perceptual interpolation beside RGB and HSL.
    OklabInterp = 5024,
};
}

class QUndoStack;
class CPatternChooserDlg;

class CTessarinDlg : public QDialog,
                     public CEditorView,
                     private CSaveFileDialog,
                     private CEditorHistory,
                     private CChooserHost {
public:
    // Questions go to message boxes unless a prompt is given (tests script the answers).
    explicit CTessarinDlg(const CStartupOptions& options, CUserPrompt* prompt = nullptr, QWidget* parent = nullptr);
    ~CTessarinDlg() override;

    const CStartupOptions& Options() const { return m_options; }
    QWidget* Control(int id) const;
    CGridWidget* Spreadsheet() const { return m_spreadsheet; }
    CMyGridCtrl& Sheet() { return *m_sheet; }
    CEditorFlow& Flow() { return *m_flow; }
    CUserPrompt& Prompt() { return *m_prompt; }
    QUndoStack& UndoStack() { return *m_undo; }

    // Fills the list and shows the starting legend: the last step of opening.
    void OpenLegends();
    // The host has gone: close now, asking nothing.
    void CloseWithoutAsking();

    // Esc, the window's close button and "Close" all ask about unsaved changes.
    void reject() override;

    // CEditorView
    void SetHeader(const std::string& name, const std::string& fileName, const std::string& description,
                   const std::string& dataType) override;
    std::string Description() const override;
    void ShowReadOnly(bool readOnly) override;
    void EnableEditing(bool enable) override;
    void EnableAutoPopulate(bool enable) override;
    void FillSpreadsheet(const CLLLegend& legend) override;
    void ClearSpreadsheet() override;
    void SetListItems(const std::vector<CLegendListItem>& items) override;
    void SelectListItem(int index) override;
    void CommitPendingEdits() override;
    void CancelPendingEdits() override;
    void ReloadPatterns(const std::string& patternFolder) override;

    // The host's help file, or nothing for hosts without one.
    void OpenHelp();
    void ShowAbout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <class T>
    T* Make(int id, const char* name, T* widget);
    void FitCommentColumn();
    void EnableLegendCommands(bool legendShown);
    QPushButton* MakeButton(int id, const char* name, const QString& caption);
    void BuildNormalLayout();
    void ConnectCommands();
    // Save, keeping the rows in view: the save reads the legend back and
    // fills the spreadsheet anew, which would scroll to the top.
    void SaveKeepingView();
    // Watches the folders the list comes from, so files another program adds
    // or removes appear or go without a Refill.
    void WatchListedFolders();
    // CEditorHistory
    void Recorded(CLegendEdit edit) override;
    void Reset() override;
    void Saved() override;
    // CChooserHost
    CGridPoint ClientOrigin() const override;
    void CloseStyleChoosers() override;
    void OpenColourPicker(const CColourPickerRequest& request) override;
    void OpenPatternChooser(const CPatternChooserRequest& request) override;
    void OpenLineStyleChooser(const CLineStyleChooserRequest& request) override;
    void Redraw() override;
    // CSaveFileDialog
    std::optional<std::string> Run(const Request& request) override;
    // Hides the list and its buttons, puts the file buttons beside the header
    // fields, and makes the window 184 pixels narrower: a host that opens one
    // legend for editing has no use for the list.
    void ApplyEditModeLayout();

    CStartupOptions m_options;
    CMessageBoxPrompt m_messageBoxes{this};
    CUserPrompt* m_prompt;
    std::unique_ptr<CEditorFlow> m_flow;
    QUndoStack* m_undo = nullptr;
    // The open pattern chooser, forgotten when it closes.
    QPointer<CPatternChooserDlg> m_patternChooser;
    class QFileSystemWatcher* m_watcher = nullptr;
    class QTimer* m_followTimer = nullptr;
    bool m_closingWithoutAsking = false;
    bool m_settingList = false; // the flow moves the selection: no choosing then
    std::map<int, QWidget*> m_controls;
    QGroupBox* m_legendsGroup = nullptr;
    QListWidget* m_list = nullptr;
    QLineEdit* m_name = nullptr;
    QLineEdit* m_description = nullptr;
    QLineEdit* m_filename = nullptr;
    QLineEdit* m_dataType = nullptr;
    QCheckBox* m_autoPopulate = nullptr;
    QLabel* m_readOnly = nullptr;
    CGridWidget* m_spreadsheet = nullptr;
    CMyGridCtrl* m_sheet = nullptr; // owned by m_spreadsheet
    std::unique_ptr<CRowCommands> m_rowCommands;
    CImportTABDlg* m_importDlg = nullptr;  // children of the window
    CSettingsDlg* m_settingsDlg = nullptr;
    QAction* m_aboutAction = nullptr;
    QPointer<CLineStyleChooserDlg> m_lineStyleChooser; // deletes itself when closed
    int m_commentWidth = 0; // the Comment column's own width, before it takes the spare room
    std::unique_ptr<CPenFileSampler> m_lineStyleSampler;
    class QMenu* m_editMenu = nullptr;
};
