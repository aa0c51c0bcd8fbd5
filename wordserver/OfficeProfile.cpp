#include "OfficeProfile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <mutex>
#include <stdexcept>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace wordengine {

namespace {

constexpr int kProfileSlots = 16;

void makeFolder(const std::string& path)
{
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        throw std::runtime_error("Cannot create the folder " + path + ": " + std::strerror(errno));
}

std::string userCacheFolder()
{
    const char* cacheHome = std::getenv("XDG_CACHE_HOME");
    if (cacheHome && cacheHome[0] == '/') {
        makeFolder(cacheHome);
        return cacheHome;
    }
    const char* home = std::getenv("HOME");
    if (!home || home[0] != '/')
        throw std::runtime_error("No home folder to keep the office profile in");
    makeFolder(std::string(home) + "/.cache");
    return std::string(home) + "/.cache";
}

// "7.4" from the installed office's "ProductKey=LibreOffice 7.4".
std::string installedMajorMinor()
{
    std::ifstream in("/usr/lib/libreoffice/program/bootstraprc");
    std::string line;
    const std::string key = "ProductKey=LibreOffice ";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return line.substr(key.size());
    return {};
}

// Settings written before the first start: no first-start notices, no autosave
// or backup copies, no lock files beside the user's documents, macros never run.
void seedProfile(const std::string& profileFolder)
{
    const std::string user = profileFolder + "/user";
    const std::string settings = user + "/registrymodifications.xcu";
    struct stat st {};
    if (stat(settings.c_str(), &st) == 0)
        return;
    makeFolder(user);

    auto item = [](const char* path, const char* prop, const std::string& value) {
        return std::string("<item oor:path=\"") + path + "\"><prop oor:name=\"" + prop
             + "\" oor:op=\"fuse\"><value>" + value + "</value></prop></item>\n";
    };
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<oor:items xmlns:oor=\"http://openoffice.org/2001/registry\" "
        "xmlns:xs=\"http://www.w3.org/2001/XMLSchema\" "
        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">\n";
    if (const std::string version = installedMajorMinor(); !version.empty())
        xml += item("/org.openoffice.Setup/Product", "ooSetupLastVersion", version);
    xml += item("/org.openoffice.Setup/Office", "FirstStartWizardCompleted", "true");
    xml += item("/org.openoffice.Office.Common/Misc", "FirstRun", "false");
    xml += item("/org.openoffice.Office.Common/Misc", "ShowTipOfTheDay", "false");
    xml += item("/org.openoffice.Office.Common/Misc", "UseDocumentSystemFileLocking", "false");
    xml += item("/org.openoffice.Office.Common/Misc", "UseDocumentOOoLockFile", "false");
    xml += item("/org.openoffice.Office.Common/Misc", "UseLocking", "false");
    xml += item("/org.openoffice.Office.Common/Save/Document", "AutoSave", "false");
    xml += item("/org.openoffice.Office.Common/Save/Document", "CreateBackup", "false");
    xml += item("/org.openoffice.Office.Recovery/AutoSave", "Enabled", "false");
    xml += item("/org.openoffice.Office.Recovery/RecoveryInfo", "Enabled", "false");
    xml += item("/org.openoffice.Office.Common/Security/Scripting", "MacroSecurityLevel", "3");
    xml += item("/org.openoffice.Office.Common/Security/Scripting", "DisableMacrosExecution", "true");
    xml += item("/org.openoffice.Office.Common/History", "PickListSize", "0");
    xml += item("/org.openoffice.Office.Common/Misc", "UseOpenCL", "false");
    xml += "</oor:items>\n";

    const std::string temporary = settings + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << xml;
        if (!out.flush())
            throw std::runtime_error("Cannot write the office profile " + settings);
    }
    if (rename(temporary.c_str(), settings.c_str()) != 0)
        throw std::runtime_error("Cannot write the office profile " + settings + ": " + std::strerror(errno));
}

OfficeProfile takeSlot()
{
    OfficeProfile profile;
    profile.cacheFolder = userCacheFolder() + "/quorvel";
    makeFolder(profile.cacheFolder);
    for (int slot = 0; slot < kProfileSlots; ++slot) {
        const std::string base = profile.cacheFolder + "/office-profile-" + std::to_string(slot);
        // Held open (and locked) for the program's lifetime; closed on exec.
        const int lock = open((base + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (lock < 0)
            continue;
        if (flock(lock, LOCK_EX | LOCK_NB) != 0) {
            close(lock);
            continue;
        }
        makeFolder(base);
        seedProfile(base);
        profile.profileFolder = base;
        profile.logFile = base + ".log";
        return profile;
    }
    throw std::runtime_error("Every office profile in " + profile.cacheFolder + " is in use");
}

} // namespace

const OfficeProfile& AcquireOfficeProfile()
{
    static std::mutex mutex;
    static OfficeProfile profile;
    std::lock_guard lock(mutex);
    if (profile.profileFolder.empty())
        profile = takeSlot();
    return profile;
}

} // namespace wordengine
