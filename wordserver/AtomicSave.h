#pragma once
#include <functional>
#include <string>

namespace wordengine {

// Replaces the file at target by what store() writes, never leaving it truncated:
// store() writes a temporary file in the same folder (its name never ends in
// ".doc", so a batch walking the folder passes it over), which gets the
// permission bits (and, where allowed, the owner) of the file it replaces and is
// then renamed over it. On any failure the temporary file is removed and the
// target is left as it was. A read-only target is refused, as Word refuses it.
// A symbolic link is followed: the file it points to is
// replaced and the link stays. Temporary files of saves that a kill ended long
// ago are removed from the folder on the way.
void ReplaceFileAtomically(const std::string& target, const std::function<void(const std::string& temporary)>& store);

} // namespace wordengine
