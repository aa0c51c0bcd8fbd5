#include "ShellNamespace.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStorageInfo>

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

namespace shell {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// Calls visit(name) for each listed subfolder until visit returns false.
template <class Visit>
void forEachSubfolder(const QByteArray& folder, Visit visit)
{
    const std::unique_ptr<DIR, DirCloser> dir(opendir(folder.constData()));
    if (!dir)
        return;
    while (const dirent* entry = readdir(dir.get())) {
        const QByteArray name(entry->d_name);
        if (name.startsWith('.'))
            continue;
        bool isFolder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat target {};
            isFolder = stat(JoinPath(folder, name).constData(), &target) == 0 && S_ISDIR(target.st_mode);
        }
        if (isFolder && !visit(name))
            return;
    }
}

} // namespace

QByteArray HomeFolder() { return QFile::encodeName(QDir::cleanPath(QDir::homePath())); }

QByteArray DesktopFolder()
{
    const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.isEmpty() && QFileInfo(desktop).isDir())
        return QFile::encodeName(QDir::cleanPath(desktop));
    return HomeFolder();
}

QByteArray JoinPath(const QByteArray& folder, const QByteArray& name)
{
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

std::vector<QByteArray> Subfolders(const QByteArray& folder)
{
    std::vector<QByteArray> names;
    forEachSubfolder(folder, [&](const QByteArray& name) {
        names.push_back(name);
        return true;
    });
    return names;
}

bool HasSubfolders(const QByteArray& folder)
{
    bool found = false;
    forEachSubfolder(folder, [&](const QByteArray&) {
        found = true;
        return false;
    });
    return found;
}

bool IsUserVolume(const QByteArray& mountPoint, const QByteArray& home)
{
    QByteArray below;
    for (const char* place : {"/media/", "/run/media/", "/mnt/"}) {
        if (mountPoint.startsWith(place)) {
            below = mountPoint.mid(qstrlen(place));
            break;
        }
    }
    if (below.isEmpty() && home.size() > 1 && mountPoint.startsWith(home + '/'))
        below = mountPoint.mid(home.size() + 1);
    if (below.isEmpty())
        return false;
    const QList<QByteArray> parts = below.split('/');
    return std::none_of(parts.begin(), parts.end(), [](const QByteArray& part) { return part.startsWith('.'); });
}

std::vector<QByteArray> UserVolumes()
{
    const QByteArray home = HomeFolder();
    std::vector<QByteArray> volumes;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        const QByteArray mountPoint = QFile::encodeName(volume.rootPath());
        if (!volume.isValid() || !volume.isReady() || !IsUserVolume(mountPoint, home)
            || !QFileInfo(volume.rootPath()).isDir())
            continue;
        if (std::find(volumes.begin(), volumes.end(), mountPoint) == volumes.end())
            volumes.push_back(mountPoint);
    }
    return volumes;
}

} // namespace shell
