#pragma once
#include <QTemporaryDir>
#include <dirent.h>
#include <ftw.h>
#include <stdio.h>
#include <set>
#include <string>

// A temporary folder per test, and what it holds.
class TestFolder {
public:
    // Removed byte-wise: Qt cannot name files whose names are not UTF-8.
    ~TestFolder()
    {
        nftw(path().c_str(), [](const char* p, const struct stat*, int, FTW*) { return remove(p); }, 16,
             FTW_DEPTH | FTW_PHYS);
    }

    std::string path(const std::string& name = {}) const
    {
        return dir_.path().toStdString() + (name.empty() ? "" : "/" + name);
    }
    std::set<std::string> entries() const
    {
        std::set<std::string> names;
        if (DIR* d = opendir(path().c_str())) {
            while (dirent* e = readdir(d))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                    names.insert(e->d_name);
            closedir(d);
        }
        return names;
    }

private:
    QTemporaryDir dir_;
};
