#include "platform/cufilename.h"

std::string CUFilename::FileTitle(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\:");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) // ".leg" alone is a name, not an extension
        name.erase(dot);
    return name;
}

std::string CUFilename::WithTrailingSlash(const std::string& folder)
{
    if (folder.empty() || folder.back() == '/')
        return folder;
    return folder + '/';
}
