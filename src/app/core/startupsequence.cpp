#include "app/core/startupsequence.h"

#include "platform/cfileio.h"
#include "platform/csettingsstore.h"
#include "platform/cstringtable.h"
#include "platform/cuserprompt.h"

namespace {

std::string FolderOf(const std::string& path)
{
    const size_t cut = path.find_last_of('/');
    return cut == std::string::npos ? std::string() : path.substr(0, cut + 1);
}

} // namespace

CStartupResources PrepareStartup(const CStartupOptions& options, const std::string& programPath, CUserPrompt& prompt)
{
    CStartupResources resources;
    // The conversion runs before the list is filled, so its legends are listed.
    if (options.tab2leg && !options.tabPath.empty())
        resources.conversion = ConvertTABToLEG(options.tabPath, true, prompt);

    if (options.Quarvex() || options.Quarvex3D() || options.Strativ() || options.Strativ3D()) {
        const std::optional<std::string> configured = GetCommonSetting("PEN_FILE");
        resources.penFile = configured ? *configured : FolderOf(programPath) + "CARTORAW.PEN";
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
