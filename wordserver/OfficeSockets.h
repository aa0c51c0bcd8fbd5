#pragma once
#include <string>
#include <sys/types.h>
#include <vector>

namespace wordengine {

// The file-system paths of the unix sockets that process pid has bound and that
// begin with prefix. The office binds its single-instance pipe in /tmp and leaves
// it there when it ends, so the program removes it after the office has gone.
std::vector<std::string> BoundSocketPaths(pid_t pid, const std::string& prefix);

} // namespace wordengine
