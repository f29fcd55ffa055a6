#pragma once
// A scripted window and dialogs for the editor's flow, and a bench that runs scripts of user actions
// ("write S/a 2; open; type x; answer no; close") on them, each script's result one line (see Run).

#include "app/core/ceditorflow.h"
#include "app/core/ceditorview.h"
#include "app/core/chostnotifier.h"
#include "app/core/cimporttabdialog.h"
#include "app/core/cnewlegenddialog.h"
#include "app/core/csavefiledialog.h"
#include "app/core/csettingsdialog.h"
#include "app/core/legendtables.h"
#include "app/core/tabexport.h"
#include "platform/ctextcodec.h"
#include "platform/cstringtable.h"
#include "platform/settingssandbox.h"
#include "support/tabrows.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
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
    void FillSpreadsheet(const CLLLegend& l) override
    {
        Log("fill " + l.m_Name + " " + std::to_string(l.GetRowCount()));
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
        std::exchange(m_Pending, [] {})();
    }
    void CancelPendingEdits() override
    {
        m_Pending = [] {}, Log("cancel");
    }
    void ReloadPatterns(const std::string& folder) override { Log("patterns " + folder); }
    // The calls since the last look.
    std::vector<std::string> Take() { return std::exchange(m_Calls, {}); }
    std::string m_Description;
    std::function<void()> m_Pending = [] {}; // a cell still being typed in
    std::vector<std::string> m_Calls;

private:
    void Log(std::string line) { m_Calls.push_back(std::move(line)); }
};

struct CFakeDialogs : CNewLegendDialog, CImportTABDialog, CSettingsDialog, CSaveFileDialog, CHostNotifier {
    std::optional<CNewLegendDialog::Result> Run(const CNewLegendDialog::Request& r) override
    {
        newRequest = r;
        if (newLegend && newRows >= 0)
            LegendWithLabels(std::vector<std::string>(newRows, "x"))
                .WriteLEG(newLegend->folder + newLegend->name + ".leg");
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
    int newRows = -1; // the rows of the legend the dialog writes; none written when negative
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
    // The view's calls since the last look, joined by '|'.
    std::string Calls()
    {
        std::string joined;
        for (const std::string& call : view.Take())
            joined += (joined.empty() ? "" : "|") + call;
        return joined;
    }
    // "P/", "S/" and "W/name/" stand for the project, system and a work folder.
    std::string Path(const std::string& p)
    {
        if (p.rfind("P/", 0) == 0 || p.rfind("S/", 0) == 0)
            return (p[0] == 'P' ? project : system) + p.substr(2);
        if (p.rfind("W/", 0) == 0) {
            const size_t slash = p.find('/', 2);
            return sandbox.Work(p.substr(2, slash - 2)) + p.substr(slash);
        }
        return p;
    }
    std::string Short(std::string text) const
    {
        for (const auto& [folder, tag] : {std::pair{project, "P/"}, {system, "S/"}, {sandbox.Work(""), "W/"}})
            for (size_t at; (at = text.find(folder)) != std::string::npos;)
                text.replace(at, folder.size(), tag);
        return text;
    }
    // Runs "; "-separated actions; a word is followed by arguments, the last taking the rest of the
    // action. Probes add to the result, which ends with the state: file field, legend name, rows,
    // '*' when modified, the description shown, "@" the selection, and the messages by tag.
    std::string Run(const std::string& script)
    {
        std::string out;
        const auto add = [&](const std::string& s) { out += s + " "; };
        for (size_t start = 0; start < script.size();) {
            const size_t end = std::min(script.find("; ", start), script.size());
            const std::string action = script.substr(start, end - start);
            start = end + 2;
            const size_t space = std::min(action.find(' '), action.size());
            const std::string word = action.substr(0, space), rest = action.substr(std::min(space + 1, action.size()));
            const size_t gap = rest.find(' ');
            const std::string arg = rest.substr(0, gap), tail = gap == std::string::npos ? "" : rest.substr(gap + 1);
            if (word == "write") { // write S/name rows [description]: a numeric legend named after its file
                const size_t cut = tail.find(' ');
                CLLLegend l = LegendWithLabels(std::vector<std::string>(std::stoul(tail.substr(0, cut)), "r"));
                l.m_Name = std::filesystem::path(Path(arg)).filename();
                l.m_Description = cut == std::string::npos ? "" : tail.substr(cut + 1);
                l.WriteLEG(Path(arg) + ".leg");
            } else if (word == "huge") // larger than any legend may be
                WriteTextFile(Path(arg), ""), std::filesystem::resize_file(Path(arg), 300u << 20);
            else if (word == "chmod") // chmod 444 S/name.leg
                std::filesystem::permissions(Path(tail),
                                             static_cast<std::filesystem::perms>(std::stoi(arg, nullptr, 8)));
            else if (word == "export") // export W/t/all.tab S/a.leg
                ::ExportAllToTAB(Path(arg), {Path(tail)});
            else if (word == "import") { // import W/t/all.tab legend output.leg
                const size_t cut = tail.find(' ');
                dialogs.imported = CImportTABDialog::Result{Path(arg), tail.substr(0, cut), tail.substr(cut + 1)};
                flow.Import();
            } else if (word == "new") { // new name rows, the dialog writing the file unless rows is "-"
                if (arg != "-")
                    dialogs.newLegend = CNewLegendDialog::Result{system, arg};
                dialogs.newRows = tail == "-" ? -1 : std::stoi(tail);
                flow.New();
                const auto& r = dialogs.newRequest;
                add(Short(r.legendFolder + "|" + r.projectFolder + "|") + std::to_string(r.flags.gisHostProcessId));
            } else if (word == "fills") { // fill/pattern/line style per row
                CLLLegend l;
                l.ReadLEG(Path(rest));
                std::ostringstream s;
                for (size_t i = 0; i < l.m_Patterns.size(); ++i)
                    s << std::hex << l.m_FillColours.m_Colours[i].GetPacked() << "/" << l.m_Patterns[i] << "/"
                      << l.m_LineStyles[i] << ",";
                add(s.str());
            } else if (word == "settings") { // settings W/folder/: the new legend folder, its patterns, a pen
                dialogs.settings = CSettingsDialog::Values{Path(rest), Path(rest) + "patterns/", "/x/a.pen", "t"};
                flow.Settings();
                add(std::to_string(dialogs.settingsHostRows) + Short(" " + GetCommonSetting("LUT_PATH").value_or("-")) +
                    " " + GetCommonSetting("PEN_FILE").value_or("-") + " " +
                    Short(GetCommonSetting("BRUSH_PATH").value_or("-") + " " + flow.PatternFolder()));
            } else if (word == "notify") { // notify 1 0: the host runs, does not connect; asked, reloads
                dialogs.running = arg == "1";
                dialogs.connects = tail == "1";
                flow.NotifyHost();
                for (const std::string& name : dialogs.asked)
                    add(name);
                add(std::to_string(dialogs.reloads));
            } else if (word == "mv") // mv S/a.leg S/b c.leg
                std::filesystem::rename(Path(arg), Path(tail));
            else if (word == "rm")
                std::filesystem::remove(Path(arg));
            else if (word == "tab")
                flow.SetTABPath(Path(arg));
            else if (word == "start" || word == "open") { // the window opens [on a legend]; start adds its calls
                flow.SetLegendToSelect(Path(rest));
                flow.Open();
                if (word == "start")
                    add("[" + Calls() + "]");
                view.Take();
            } else if (word == "choose")
                flow.ChooseLegend(std::stoi(arg));
            else if (word == "type") {
                view.m_Description = rest;
                flow.DescriptionEdited(rest);
            } else if (word == "cell") // a first label still being typed in when the action comes
                view.m_Pending = [this, rest] { flow.ChangeLegend([&](CLLLegend& l) { l.m_Labels[0] = rest; }); };
            else if (word == "answer") { // yes, no or cancel, one word for each question to come
                std::istringstream answers(rest);
                prompt.m_Answers.clear();
                for (std::string a; answers >> a;)
                    prompt.m_Answers.push_back(static_cast<Answer>(std::string("oync").find(a[0])));
            } else if (word == "save")
                flow.SaveButton();
            else if (word == "saveas") {
                dialogs.savePath = Path(rest);
                flow.SaveAs();
                add("from=" + Short(dialogs.saveRequest.folder + dialogs.saveRequest.fileName) +
                    " to=" + Short(CSettingsStore::GetProfileString("Settings", "SavePath")));
            } else if (word == "close")
                add(flow.Close() ? "closes" : "stays");
            else if (word == "follow") {
                view.Take();
                flow.FollowFolders();
                add("[" + Calls() + "]");
            } else if (word == "delete")
                flow.Delete();
            else if (word == "calls")
                add("[" + Calls() + "]");
            else if (word == "disk") { // name|description|label,label on disk, or "none" when unreadable
                CLLLegend l;
                const bool read = l.ReadLEG(Path(rest)).Ok();
                std::string labels;
                for (const std::string& label : l.m_Labels)
                    labels += (labels.empty() ? "" : ",") + label;
                add(read ? l.m_Name + "|" + l.m_Description + "|" + labels : "none");
            } else if (word == "rows")
                add(std::to_string(TableRows(Path(rest)).size()));
            else if (word == "texts")
                for (const std::string& text : prompt.Texts())
                    add("\"" + Short(text) + "\"");
            else
                ADD_FAILURE() << "unknown action " << action;
        }
        return out + State();
    }
    // "name rows['*' when modified] ['description shown'] @selection" and the messages by tag ('?': Yes and
    // No, "?c": and Cancel); the file name field leads when it is not the legend's name.
    std::string State() const
    {
        static const std::map<int, std::string> tags = {
            {Str::SaveChanges, "save"},    {Str::CouldNotLoad, "noload"},       {Str::NumericNeedsTwoRows, "tworows"},
            {Str::ChangedOnDisk, "disk"},  {Str::NonStandardFolder, "folder"},  {Str::ReplaceLegend, "replace"},
            {Str::DeleteLegend, "delete"}, {Str::NoWritePermission, "nowrite"}, {Str::ExportTableFailed, "noexport"}};
        const CLLLegend& l = flow.Legend();
        std::string out = flow.FileName() == l.m_Name + ".leg" ? "" : "file=" + flow.FileName() + " ";
        out += l.m_Name + " " + std::to_string(l.GetRowCount()) + (flow.IsModified() ? "*" : "");
        out += (view.m_Description.empty() ? "" : " '" + view.m_Description + "'") + " @" +
               std::to_string(flow.Selection());
        for (const auto& m : prompt.m_Messages) {
            const auto tag = tags.find(m.stringId);
            out += " " + (tag == tags.end() ? std::to_string(m.stringId) : tag->second);
            out += m.buttons == CUserPrompt::Buttons::YesNoCancel ? "?c"
                   : m.buttons == CUserPrompt::Buttons::YesNo     ? "?"
                                                                  : "";
        }
        return out;
    }
    using Answer = CUserPrompt::Answer;
    CSettingsSandbox sandbox;
    CEditorHostFlags m_Flags;
    std::string project = sandbox.Work("project") + "/", system = sandbox.Work("system") + "/";
    CRecordingPrompt prompt;
    CFakeEditorView view;
    CFakeDialogs dialogs;
    CEditorFlow flow{prompt, view, m_Flags, {&dialogs, &dialogs, &dialogs, &dialogs, &dialogs}};
};
