#include "app/core/startupsequence.h"

#include "platform/cfileio.h"
#include "storage/legendfiles.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"
#include "platform/cuserprompt.h"

namespace {

// A name from the table as a message can show it: control characters as \xNN.
std::string Visible(const std::string& name)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F)
            out += std::string("\\x") + hex[c >> 4] + hex[c & 15];
        else
            out += static_cast<char>(c);
    }
    return out;
}

} // namespace

CStartupResources PrepareStartup(const CStartupOptions& options, const std::string& programPath, CUserPrompt& prompt)
{
    CStartupResources resources;
    // The conversion runs before the list is filled, so its legends are listed.
    if (options.tab2leg && !options.tabPath.empty()) {
        resources.conversion = ConvertTABToLEG(options.tabPath, true, prompt);
        // What the conversion left out is said once, in one list each.
        auto report = [&](int stringId, const std::vector<std::string>& items, bool quoted) {
            if (items.empty())
                return;
            std::string list;
            for (const std::string& item : items)
                list += (list.empty() ? "" : "\n") + (quoted ? "\"" + Visible(item) + "\"" : item);
            prompt.Ask({stringId, CStringTable::FormatId(stringId, {options.tabPath, list}), {}, CUserPrompt::Buttons::Ok});
        };
        report(Str::ConversionSkipped, resources.conversion->skipped, true);
        std::vector<std::string> failed;
        for (const CFailedWrite& f : resources.conversion->failed)
            failed.push_back(f.path + ": " + f.reason);
        report(Str::ConversionNotWritten, failed, false);
    }

    // The pattern folder (read before the pen file in the original order) is
    // read by the editor flow when it fills the list, because Settings can
    // change it later and the flow then reads it again. Reading the setting
    // shows nothing, so the order cannot be seen: the only step here that can
    // say something is the pen file check below.
    if (options.Quarvex() || options.Quarvex3D() || options.Strativ() || options.Strativ3D()) {
        const std::optional<std::string> configured = GetCommonSetting("PEN_FILE");
        resources.penFile = configured ? *configured : GetFolderOfPath(programPath) + "CARTORAW.PEN";
        // Read whole: the line-style samples need it anyway, and a file that opens
        // but cannot be read is as unusable as one that does not open.
        std::string bytes;
        resources.penFileReadable = CFileIO::ReadAllChecked(resources.penFile, bytes).Ok();
        if (!resources.penFileReadable)
            prompt.Ask({Str::CouldNotLoad, CStringTable::FormatId(Str::CouldNotLoad, {resources.penFile}), {},
                        CUserPrompt::Buttons::Ok});
    }
    return resources;
}

CHelpDecision DecideHelp(int hostCode, const CInstallationLookup& installation, const std::string& programFolder,
                         const std::function<bool(const std::string&)>& readable)
{
    const std::optional<CHelpTarget> target = HelpTargetFor(hostCode, installation, programFolder);
    if (!target)
        return {};
    return {readable(target->path) ? CHelpDecision::Action::Open : CHelpDecision::Action::CannotOpen, target->path};
}
