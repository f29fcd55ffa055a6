#pragma once
// Runs the real tessarin-cli in a private folder and renders each run as one string, so that a case is one row: a
// command line and what it must give.

#include "support/runprocess.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace fs = std::filesystem;

// A bundled sample ("lithology.leg", "patterns", ...).
inline std::string Samples(const std::string& name = "")
{
    return std::string(std::getenv("TESSARIN_SOURCE_DIR")) + "/samples/" + name;
}

inline std::string Replaced(std::string s, const std::string& from, const std::string& to)
{
    for (size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + to.size()))
        s.replace(at, from.size(), to);
    return s;
}

// Every name under a folder with the bytes of each file: what a failed command must leave.
inline std::map<std::string, std::string> Snapshot(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        files[e.path().string()] = e.is_regular_file() ? ReadTextFile(e.path().string())
                                                       : "type " + std::to_string(int(e.symlink_status().type()));
    return files;
}

// A private folder; its settings folders are the only ones a run sees.
class CCliSandbox {
public:
    CCliSandbox()
    {
        Dir("config");
        Dir("system");
    }
    std::string File(const std::string& name) const { return m_Dir.File(name); }
    std::string Dir(const std::string& name) const
    {
        fs::create_directories(File(name));
        return File(name);
    }
    // Runs the tool, under a shell that first runs `setup` ("ulimit -f 8", ...) when one is given.
    CProcessResult Exec(std::vector<std::string> args, std::vector<std::string> env = {},
                        const std::string& setup = "") const
    {
        env.insert(env.begin(), {"XDG_CONFIG_HOME=" + File("config"), "XDG_CONFIG_DIRS=" + File("system")});
        if (setup.empty())
            return RunProcess(ProjectBinary("tessarin-cli"), args, env);
        args.insert(args.begin(), {"-c", setup + "; exec \"$0\" \"$@\"", ProjectBinary("tessarin-cli")});
        return RunProcess("/bin/bash", args, env);
    }
    // Runs a command line split at spaces ('...' quotes a word), '%' standing for the folder and '@' for the samples,
    // leading NAME=VALUE words the environment. Gives "exit|out|err" with the folder as '%' and the system's error
    // texts, as the locale words them, by name ("ENOENT").
    std::string Run(const std::string& line, const std::string& setup = "") const
    {
        std::vector<std::string> words, env;
        for (size_t at = 0; at < line.size(); ++at) {
            const bool quoted = line[at] == '\'';
            const size_t end = std::min(line.find(quoted ? '\'' : ' ', at + quoted), line.size());
            const std::string word =
                Replaced(Replaced(line.substr(at + quoted, end - at - quoted), "%", Path()), "@", Samples());
            (words.empty() && !quoted && word.find('=') != std::string::npos ? env : words).push_back(word);
            at = end + quoted;
        }
        std::string shown = Replaced(Show(Exec(words, env, setup)), Path(), "%");
        for (const auto& [error, name] :
             {std::pair{ENOENT, "ENOENT"}, {EISDIR, "EISDIR"}, {EIO, "EIO"}, {EFBIG, "EFBIG"}})
            shown = Replaced(shown, std::strerror(error), name);
        return shown;
    }
    void Expect(const std::vector<std::pair<std::string, std::string>>& runs, const std::string& setup = "") const
    {
        for (const auto& [line, shown] : runs)
            EXPECT_EQ(Run(line, setup), shown) << line;
    }
    const std::string& Path() const { return m_Dir.Path(); }

private:
    CTempDir m_Dir;
};
