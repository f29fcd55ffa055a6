#include "app/core/startupoptions.h"

#include "app/core/tabconversion.h"
#include "platform/cutext.h"

#include <climits>
#include <string_view>

namespace {

struct CHostSwitch {
    const char* text;
    int code;
};

constexpr CHostSwitch kHostSwitches[] = {
    {"-Vyrn", HostVyrn},         {"-Quar", HostQuarvex},      {"-Quarvex", HostQuarvex},
    {"-Q3D", HostQuarvex3D},     {"-Quarvex3D", HostQuarvex3D}, {"-Strativ", HostStrativ},
    {"-ST3D", HostStrativ3D},    {"-Strativ3D", HostStrativ3D}, {"-FV", HostFormvue},
    {"-FVPro", HostFormvue},     {"-Zorbinfo", HostZorbinfo}, {"-MS", HostMagsprint},
    {"-MSPro", HostMagsprint},   {"-DL", HostDelictor},       {"-Delictor", HostDelictor},
};

bool Is(const std::string& arg, std::string_view word)
{
    return CUText::EqualNoCase(arg, word);
}

bool BeginsWith(const std::string& arg, std::string_view prefix)
{
    return arg.size() >= prefix.size() && CUText::EqualNoCase(std::string_view(arg).substr(0, prefix.size()), prefix);
}

bool EndsWithLeg(const std::string& arg)
{
    return arg.size() > 4 && CUText::EndsWithNoCase(arg, ".leg");
}

} // namespace

int32_t ParseSwitchNumber(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT32_MAX) + 1)
            break; // already past either bound
    }
    if (negative)
        value = -value;
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return static_cast<int32_t>(value);
}

void ApplyWindowPass(const std::vector<std::string>& args, CStartupOptions& options)
{
    // Values are not skipped: a number is looked at again as a switch and matches nothing.
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (Is(arg, "-PID")) {
            if (hasValue) {
                options.hostProcessId = static_cast<uint32_t>(ParseSwitchNumber(args[i + 1]));
                options.processIdGiven = true;
            }
        } else if (Is(arg, "-LeftPos")) {
            if (hasValue) {
                options.left = ParseSwitchNumber(args[i + 1]);
                options.leftGiven = true;
            }
        } else if (Is(arg, "-TopPos")) {
            if (hasValue) {
                options.top = ParseSwitchNumber(args[i + 1]);
                options.topGiven = true;
            }
        } else if (Is(arg, "-cartora")) {
            options.gisHostMode = true;
        } else {
            for (const CHostSwitch& host : kHostSwitches) {
                if (Is(arg, host.text)) {
                    options.hostCode = host.code; // the last host switch decides
                    options.startedBy[host.code] = true;
                    break;
                }
            }
        }
    }
}

void ApplyEditorPass(const std::vector<std::string>& args, CStartupOptions& options)
{
    for (int code = HostVyrn; code <= HostStrativ3D; ++code)
        options.startedBy[code] = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (Is(arg, "-CAPID")) {
            if (hasValue) {
                options.gisHostProcessId = ParseSwitchNumber(args[i + 1]);
                options.gisHost = true;
            }
        } else if (Is(arg, "-Vyrn")) {
            options.startedBy[HostVyrn] = true;
        } else if (BeginsWith(arg, "-Quar")) {
            options.startedBy[HostQuarvex] = true;
            options.gisHost = true;
        } else if (Is(arg, "-Q3D")) {
            options.startedBy[HostQuarvex3D] = true;
            options.startedBy[HostVyrn] = true;
        } else if (BeginsWith(arg, "-ST3D") || BeginsWith(arg, "-Strativ3D")) {
            options.startedBy[HostStrativ3D] = true;
            options.startedBy[HostVyrn] = true;
        } else if (BeginsWith(arg, "-Strativ")) {
            options.startedBy[HostStrativ] = true;
            options.gisHost = true;
        } else if (BeginsWith(arg, "-Cartora")) {
            options.gisHost = true;
        } else if (Is(arg, "-PID")) {
            ++i; // the window pass's value
        } else if (Is(arg, "-name") && hasValue) {
            options.legendToSelect = args[++i];
        } else if (Is(arg, "-TABPath") && hasValue) {
            options.tabPath = args[++i];
        } else if (Is(arg, "-edit")) {
            options.editMode = true;
        }
        // Looked at after the rules, so a skipped value of "-tab2leg" counts too.
        if (i < args.size() && Is(args[i], "-tab2leg"))
            options.tab2leg = true;
    }
}

void ApplyOwnSwitches(const std::vector<std::string>& args, CStartupOptions& options)
{
    const CScreenshotSwitch screenshot = FindScreenshot(args);
    if (screenshot.given && !screenshot.path.empty())
        options.screenshotPath = screenshot.path;
    // The values of the hosts' switches are never a legend to open.
    static constexpr std::string_view kTakesValue[] = {"-PID", "-LeftPos", "-TopPos", "-CAPID", "-name", "-TABPath"};
    const std::vector<std::string>& rest = screenshot.hostArgs;
    for (size_t i = 1; i < rest.size(); ++i) {
        const std::string& arg = rest[i];
        bool valueSwitch = false;
        for (std::string_view s : kTakesValue)
            valueSwitch = valueSwitch || Is(arg, s);
        if (valueSwitch) {
            ++i;
            continue;
        }
        if (arg.starts_with("--") && arg != "--help" && options.unknownSwitch.empty())
            options.unknownSwitch = arg;
        if (!arg.empty() && arg[0] != '-' && EndsWithLeg(arg) && options.openLegendPath.empty())
            options.openLegendPath = arg;
    }
}

std::string HostProduct(int hostCode)
{
    static const char* const kProducts[] = {"Tessarin", "Quarvex Vyrn", "Quarvex",  "Quarvex 3D", "Strativ",
                                            "Strativ3D", "Formvue",     "Zorbinfo", "Magsprint",  "Delictor"};
    return hostCode >= 0 && hostCode <= 9 ? kProducts[hostCode] : kProducts[0];
}

CScreenshotSwitch FindScreenshot(const std::vector<std::string>& args)
{
    CScreenshotSwitch found;
    found.hostArgs.reserve(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        static constexpr std::string_view kJoined = "--screenshot=";
        if (i > 0 && args[i].starts_with(kJoined)) {
            found.given = true;
            found.path = args[i].substr(kJoined.size());
            continue;
        }
        if (i == 0 || args[i] != "--screenshot") {
            found.hostArgs.push_back(args[i]);
            continue;
        }
        found.given = true;
        if (i + 1 < args.size())
            found.path = args[++i]; // whatever it looks like
    }
    return found;
}

std::optional<std::string> RefuseScreenshotPath(const std::string& path)
{
    if (path.empty() || CUText::EndsWithNoCase(path, ".png"))
        return std::nullopt;
    return "tessarin: the screenshot is a PNG picture, so its file name must end in .png: " + path;
}

CStartupOptions ParseStartupArguments(const std::vector<std::string>& args)
{
    CStartupOptions options;
    // Our picture switch is no host's: neither pass sees it or its value, so
    // "--screenshot -edit" names a file and sets no mode.
    const std::vector<std::string> hostArgs = FindScreenshot(args).hostArgs;
    ApplyWindowPass(hostArgs, options);
    ApplyEditorPass(hostArgs, options);
    ApplyOwnSwitches(args, options);
    options.tabPath = DefaultTABPath(options.Quarvex(), options.Quarvex3D(), options.tabPath);
    return options;
}
