#pragma once
// A scripted stand-in for the editor's window and its dialogs: the view writes
// every call down as a line, so that a test asserts the exact sequence the
// flow drives; each dialog answers what the test put in it.

#include "app/core/ceditorflow.h"
#include "app/core/ceditorview.h"
#include "app/core/chostnotifier.h"
#include "app/core/cimporttabdialog.h"
#include "app/core/cnewlegenddialog.h"
#include "app/core/csavefiledialog.h"
#include "app/core/csettingsdialog.h"
#include "app/core/legendtables.h"
#include "platform/settingssandbox.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CFakeEditorView : public CEditorView {
public:
    void SetHeader(const std::string& name, const std::string& fileName,
                   const std::string& description, const std::string& dataType) override
    {
        m_Description = description;
        Log("header " + name + "|" + fileName + "|" + description + "|" + dataType);
    }
    std::string Description() const override { return m_Description; }
    void ShowReadOnly(bool readOnly) override { Log(readOnly ? "read-only" : "writable"); }
    void EnableEditing(bool enable) override { Log(enable ? "editing on" : "editing off"); }
    void EnableAutoPopulate(bool enable) override { Log(enable ? "auto on" : "auto off"); }
    void FillSpreadsheet(const CLLLegend& legend) override
    {
        Log("fill " + legend.m_Name + " " + std::to_string(legend.GetRowCount()));
    }
    void ClearSpreadsheet() override { Log("clear"); }
    void SetListItems(const std::vector<CLegendListItem>& items) override
    {
        std::string line = "list";
        for (const auto& item : items)
            line += (item.heading ? " #" : " ") + item.text;
        Log(line);
    }
    void SelectListItem(int index) override { Log("select " + std::to_string(index)); }
    void CommitPendingEdits() override
    {
        if (m_Pending) {
            auto edit = std::move(m_Pending);
            m_Pending = nullptr;
            edit();
        }
    }
    void ReloadPatterns(const std::string& folder) override { Log("patterns " + folder); }

    // The calls since the last look, which starts the record afresh.
    std::vector<std::string> Take()
    {
        std::vector<std::string> calls;
        calls.swap(m_Calls);
        return calls;
    }

    std::string m_Description;
    std::function<void()> m_Pending; // a cell still being typed in
    std::vector<std::string> m_Calls;

private:
    void Log(std::string line) { m_Calls.push_back(std::move(line)); }
};

struct CFakeDialogs : CNewLegendDialog, CImportTABDialog, CSettingsDialog, CSaveFileDialog,
                      CHostNotifier {
    std::optional<CNewLegendDialog::Result> Run(const CNewLegendDialog::Request& r) override
    {
        newRequest = r;
        if (newLegend && writeNew)
            writeNew(newLegend->folder + newLegend->name + ".leg");
        return newLegend;
    }
    std::optional<CImportTABDialog::Result> Run(const std::string& product) override
    {
        importProduct = product;
        return imported;
    }
    std::optional<Values> Run(const Values& current, const std::string&, bool hostRows) override
    {
        settingsShown = current;
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

    CEditorDialogs All() { return {this, this, this, this, this}; }

    std::optional<CNewLegendDialog::Result> newLegend;
    std::function<void(const std::string&)> writeNew;
    CNewLegendDialog::Request newRequest;
    std::optional<CImportTABDialog::Result> imported;
    std::string importProduct;
    std::optional<Values> settings;
    Values settingsShown;
    bool settingsHostRows = false;
    std::optional<std::string> savePath;
    CSaveFileDialog::Request saveRequest;
    bool running = true, connects = true;
    std::vector<std::string> asked;
    int reloads = 0;
};

// A project folder and a system (LUT_PATH) folder of legends in a settings
// sandbox, with the flow over the fake window.
struct CEditorBench {
    explicit CEditorBench(CEditorHostFlags flags = {}) : m_Flags(flags)
    {
        project = sandbox.Work("project") + "/";
        system = sandbox.Work("system") + "/";
        CSettingsStore::SetString(CSettingsStore::Hive::CurrentUser,
                                  "Software\\Ferrolin\\Tessarin\\Settings", "PROJECT_FOLDER",
                                  project);
        SetCommonSetting("LUT_PATH", system);
    }
    // A numeric legend of `rows` rows named after its file.
    static std::string Write(const std::string& folder, const std::string& title, int rows,
                             const std::string& description = "")
    {
        std::vector<std::string> labels;
        for (int i = 0; i < rows; ++i)
            labels.push_back("r" + std::to_string(i));
        CLLLegend l = LegendWithLabels(labels);
        l.m_Name = title;
        l.m_Description = description;
        const std::string path = folder + title + ".leg";
        l.WriteLEG(path);
        return path;
    }
    CEditorFlow& Open(const std::string& legendToSelect = "")
    {
        flow.SetLegendToSelect(legendToSelect);
        flow.Open();
        return flow;
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
    std::string project, system;
    CRecordingPrompt prompt;
    CFakeEditorView view;
    CFakeDialogs dialogs;
    CEditorFlow flow{prompt, view, m_Flags, dialogs.All()};
};
