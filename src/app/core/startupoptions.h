#pragma once
// What the command line says at start-up. A host starts us with switches; two
// passes read the same arguments with different rules, and both rule sets are
// kept as they are because hosts in the field depend on each one's quirks:
//
// - the window pass (exact, case-free matches) learns the host code, the host's
//   process id and a requested position;
// - the editor pass (first matching rule, some by prefix) learns the host flags
//   the editor acts on, the legend to select, the TAB path and the modes.
//
// A third, our own, finds what neither pass knows: "--screenshot OUT.png" and a
// bare "FILE.leg" given by a file manager.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum EHostCode : int {
    HostNone = 0,
    HostVyrn = 1,
    HostQuarvex = 2,
    HostQuarvex3D = 3,
    HostStrativ = 4,
    HostStrativ3D = 5,
    HostFormvue = 6,
    HostZorbinfo = 7,
    HostMagsprint = 8,
    HostDelictor = 9,
};

inline constexpr uint32_t NoProcessId = 0xFFFFFFFFu;

struct CStartupOptions {
    // Window pass.
    int hostCode = HostNone;
    // Indexed by host code; [0] is unused. The editor pass owns codes 1-5:
    // [HostVyrn] is the flag that asks for the 3D host refresh after a save.
    std::array<bool, 10> startedBy{};
    bool gisHostMode = false; // "-cartora"
    uint32_t hostProcessId = NoProcessId;
    bool processIdGiven = false;
    int32_t left = 0;
    bool leftGiven = false;
    int32_t top = 0;
    bool topGiven = false;

    // Editor pass.
    bool gisHost = false; // started from inside Cartora
    int32_t gisHostProcessId = -1;
    std::string legendToSelect; // "-name"
    std::string tabPath;        // "-TABPath", or the Quarvex default
    bool editMode = false;
    bool tab2leg = false;

    // Our own switches.
    std::string screenshotPath; // "--screenshot"
    std::string openLegendPath; // a bare argument ending in ".leg"
    // The first "--" argument that is none of ours ("--help", "--screenshot"):
    // hosts use one dash, so it is a typing error, and running on would start
    // an editor a script waits for in vain.
    std::string unknownSwitch;

    bool Notify3D() const { return startedBy[HostVyrn]; }
    bool Quarvex() const { return startedBy[HostQuarvex]; }
    bool Quarvex3D() const { return startedBy[HostQuarvex3D]; }
    bool Strativ() const { return startedBy[HostStrativ]; }
    bool Strativ3D() const { return startedBy[HostStrativ3D]; }
};

// args[0] is the program path and is never read as a switch.
void ApplyWindowPass(const std::vector<std::string>& args, CStartupOptions& options);
void ApplyEditorPass(const std::vector<std::string>& args, CStartupOptions& options);
void ApplyOwnSwitches(const std::vector<std::string>& args, CStartupOptions& options);

// The product key of a host: its profile and its project folder live under it
// ("Tessarin" when no host started us).
std::string HostProduct(int hostCode);

// All three passes, then the default TAB path, in the order the window is built.
CStartupOptions ParseStartupArguments(const std::vector<std::string>& args);

// Where "--screenshot" is, decided here alone so that every reader agrees: each
// one after the program takes the next argument as its value, whatever it
// looks like ("-name --screenshot out.png" asks for a picture, and "-name" has
// no value); "--screenshot=OUT.png" is the same. The last value given counts.
struct CScreenshotSwitch {
    bool given = false;
    std::string path;                  // empty when no value followed
    std::vector<std::string> hostArgs; // the rest, for the hosts' passes
};
CScreenshotSwitch FindScreenshot(const std::vector<std::string>& args);
// Why a "--screenshot" file name is refused (it must end in ".png", in any
// case: the picture written is PNG); nothing when it is fine or none was given.
std::optional<std::string> RefuseScreenshotPath(const std::string& path);

// The hosts' numeric switch values read as the C runtime's atol did where they were
// written: leading blanks, a sign, digits up to the first other character, 0 when
// there are none, clamped to 32 bits.
int32_t ParseSwitchNumber(const std::string& text);
