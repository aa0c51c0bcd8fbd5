#pragma once
#include <QByteArray>
#include <vector>

// Where the picker's folders come from on a Linux desktop. Paths and names are
// bytes as the file system gives them, so any folder name can be chosen.
namespace shell {

// The user's desktop folder; the home folder when the desktop folder does not exist.
QByteArray DesktopFolder();
QByteArray HomeFolder();

QByteArray JoinPath(const QByteArray& folder, const QByteArray& name);

// The names of a folder's subfolders, links to folders included and hidden ones
// (names starting with ".") left out. A folder that cannot be read has none.
std::vector<QByteArray> Subfolders(const QByteArray& folder);
bool HasSubfolders(const QByteArray& folder);

// Mount points a user opens as volumes of their own: removable media, manual
// mounts and mounts inside the home folder, but none below a hidden folder.
std::vector<QByteArray> UserVolumes();
bool IsUserVolume(const QByteArray& mountPoint, const QByteArray& home);

} // namespace shell
