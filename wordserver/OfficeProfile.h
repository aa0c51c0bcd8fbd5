#pragma once
#include <string>

namespace wordengine {

// The office's user profile: a folder of the program's own in the user's cache
// folder, never the user's own LibreOffice profile. A profile serves one office
// at a time, so every running program takes a free slot and keeps it locked for
// its lifetime; a second program (or a test running beside another) gets the next.
struct OfficeProfile {
    std::string cacheFolder;   // ~/.cache/quorvel
    std::string profileFolder; // ~/.cache/quorvel/office-profile-N
    std::string logFile;       // the office's output
};

// Takes a slot and seeds a new profile so that the first start skips LibreOffice's
// first-start work. Raises std::runtime_error when no folder can be made.
const OfficeProfile& AcquireOfficeProfile();

} // namespace wordengine
