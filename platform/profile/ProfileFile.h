#pragma once
#include <string>
#include <string_view>

// The profile file on disk: where a name leads, reading it whole, and
// replacing it whole so that no crash or full disk leaves it truncated.
namespace profile {

// A bare name lives in the user's configuration folder: $XDG_CONFIG_HOME when
// it holds an absolute path, else ~/.config. An absolute path is used as it is.
// Empty when no configuration folder can be found.
std::string ProfilePath(std::string_view fileName);

enum class FileState { Missing, Read, Unreadable };

// Reads the whole file. Only a regular file is read; anything else there (a
// folder, a FIFO, a device) is Unreadable.
FileState ReadProfileFile(const std::string& path, std::string& content);

// Writes content to a temporary file beside the file and renames it over the
// file, creating missing folders. A symbolic link is followed and its target
// replaced. A file or folder without any write permission bit counts as
// read-only, also for the superuser. Returns false when refused or failed;
// the file is then as it was.
bool ReplaceProfileFile(const std::string& path, std::string_view content);

} // namespace profile
