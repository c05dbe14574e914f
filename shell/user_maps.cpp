#include "shell/user_maps.h"

#include "base/user_folders.h"

#include <dirent.h>

#include <algorithm>

namespace {
constexpr const char* kMapExtension = ".fmp";
}

std::string userMapsFolder()
{
    const std::string data = userDataFolder();
    return data.empty() ? "" : data + "/maps";
}

std::vector<std::string> listUserMaps(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = folder.empty() ? nullptr : opendir(folder.c_str());
    if (!dir) {
        return names;
    }
    const std::string extension = kMapExtension;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.size() > extension.size() &&
            name.compare(name.size() - extension.size(), extension.size(), extension) == 0) {
            names.push_back(name);
        }
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    for (std::string& name : names) {
        name = folder + "/" + name;
    }
    return names;
}
