#pragma once
// A scripted window and dialogs for the editor's flow: the view writes every
// call down as a line, so a test asserts the exact sequence; each dialog
// answers what the test put in it. CEditorBench adds a project and a system
// (LUT_PATH) folder of legends in a settings sandbox.

#include "app/core/ceditorflow.h"
#include "app/core/ceditorview.h"
#include "app/core/chostnotifier.h"
#include "app/core/cimporttabdialog.h"
#include "app/core/cnewlegenddialog.h"
#include "app/core/csavefiledialog.h"
#include "app/core/csettingsdialog.h"
#include "app/core/legendtables.h"
#include "platform/ctextcodec.h"
#include "platform/settingssandbox.h"

#include <functional>
#include <optional>
#include <utility>

class CFakeEditorView : public CEditorView {
public:
    void SetHeader(const std::string& name, const std::string& file, const std::string& description,
                   const std::string& type) override
    {
        m_Description = CTextCodec::ToUtf8(description); // what the field shows
        Log("header " + name + "|" + file + "|" + description + "|" + type);
    }
    std::string Description() const override { return m_Description; }
    void ShowReadOnly(bool on) override { Log(on ? "read-only" : "writable"); }
    void EnableEditing(bool on) override { Log(on ? "editing on" : "editing off"); }
    void EnableAutoPopulate(bool on) override { Log(on ? "auto on" : "auto off"); }
    void FillSpreadsheet(const CLLLegend& l) override { Log("fill " + l.m_Name + " " + std::to_string(l.GetRowCount())); }
    void ClearSpreadsheet() override { Log("clear"); }
    void SetListItems(const std::vector<CLegendListItem>& items) override
    {
        std::string line = "list";
        for (const auto& item : items)
            line += (item.heading ? " #" : " ") + item.text;
        Log(line);
    }
    void SelectListItem(int index) override { Log("select " + std::to_string(index)); }
    void CommitPendingEdits() override { std::exchange(m_Pending, [] {})(); }
    void CancelPendingEdits() override { m_Pending = [] {}, Log("cancel"); }
    void ReloadPatterns(const std::string& folder) override { Log("patterns " + folder); }
    // The calls since the last look.
    std::vector<std::string> Take() { return std::exchange(m_Calls, {}); }

    std::string m_Description;
    std::function<void()> m_Pending = [] {}; // a cell still being typed in
    std::vector<std::string> m_Calls;

private:
    void Log(std::string line) { m_Calls.push_back(std::move(line)); }
};

struct CFakeDialogs : CNewLegendDialog,
                      CImportTABDialog,
                      CSettingsDialog,
                      CSaveFileDialog,
                      CHostNotifier {
    std::optional<CNewLegendDialog::Result> Run(const CNewLegendDialog::Request& r) override
    {
        newRequest = r;
        if (newLegend && writeNew)
            writeNew(newLegend->folder + newLegend->name + ".leg");
        return newLegend;
    }
    std::optional<CImportTABDialog::Result> Run(const std::string&) override { return imported; }
    std::optional<Values> Run(const Values&, const std::string&, bool hostRows) override
    {
        settingsHostRows = hostRows;
        return settings;
    }
    std::optional<std::string> Run(const CSaveFileDialog::Request& r) override
    {
        saveRequest = r;
        return savePath;
    }
    bool IsRunning(const std::string& name) override
    {
        asked.push_back(name);
        return running;
    }
    bool ConnectAndReload() override { return ++reloads, connects; }

    std::optional<CNewLegendDialog::Result> newLegend;
    std::function<void(const std::string&)> writeNew;
    CNewLegendDialog::Request newRequest;
    std::optional<CImportTABDialog::Result> imported;
    std::optional<Values> settings;
    std::optional<std::string> savePath;
    CSaveFileDialog::Request saveRequest;
    bool settingsHostRows = false, running = true, connects = true;
    std::vector<std::string> asked;
    int reloads = 0;
};

struct CEditorBench {
    explicit CEditorBench(CEditorHostFlags flags = {}) : m_Flags(flags)
    {
        CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser, "Software\\Ferrolin\\Tessarin\\Settings",
                                  "PROJECT_FOLDER", project);
        SetCommonSetting("LUT_PATH", system);
    }
    // A numeric legend of `rows` rows named after its file; returns its path.
    static std::string Write(const std::string& folder, const std::string& title, int rows,
                             const std::string& description = "")
    {
        CLLLegend l = LegendWithLabels(std::vector<std::string>(static_cast<size_t>(rows), "r"));
        l.m_Name = title;
        l.m_Description = description;
        l.WriteLEG(folder + title + ".leg");
        return folder + title + ".leg";
    }
    void Open(const std::string& legendToSelect = "")
    {
        flow.SetLegendToSelect(legendToSelect);
        flow.Open();
    }
    // The user typed in the description field.
    void Type(const std::string& description)
    {
        view.m_Description = description;
        flow.DescriptionEdited(description);
    }
    std::vector<int> MessageIds() const
    {
        std::vector<int> ids;
        for (const auto& m : prompt.m_Messages)
            ids.push_back(m.stringId);
        return ids;
    }

    CSettingsSandbox sandbox;
    CEditorHostFlags m_Flags;
    std::string project = sandbox.Work("project") + "/", system = sandbox.Work("system") + "/";
    CRecordingPrompt prompt;
    CFakeEditorView view;
    CFakeDialogs dialogs;
    CEditorFlow flow{prompt, view, m_Flags, {&dialogs, &dialogs, &dialogs, &dialogs, &dialogs}};
};
