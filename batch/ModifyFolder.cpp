#include <QString>
#include <memory>
#include <set>
#include <stdexcept>
#include <sys/stat.h>
#include <utility>

#include "BatchLifetime.h"
#include "StatusBar.h"
#include "Trim.h"
#include "Unit1.h"
#include "WindowThread.h"
#include "automation/ComInit.h"
#include "findfile/FindFile.h"

using namespace findfile;

namespace {

using FolderId = std::pair<uint64_t, uint64_t>;

// Folders already walked in this batch, so that a link cycle or a second link to
// one folder is not walked again. The walk runs on the worker thread alone.
thread_local std::set<FolderId> walkedFolders;
thread_local int walkDepth = 0;

struct ListingCloser {
    void operator()(FindState* handle) const { FindClose(handle); }
};

// Only the last "." after the last separator starts the extension.
std::string extensionOf(const std::string& path)
{
    const size_t separator = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator))
        return {};
    return path.substr(dot);
}

struct ComScope {
    ComScope() { automation::CoInitialize(); }
    ~ComScope() { automation::CoUninitialize(); }
};

class BatchStopped : public std::runtime_error {
public:
    BatchStopped() : std::runtime_error("The batch was stopped because the program is ending") {}
};

} // namespace

void TForm1::ModifyFolder(const std::string& folder)
{
    struct DepthScope {
        DepthScope()
        {
            if (walkDepth++ == 0)
                walkedFolders.clear();
        }
        ~DepthScope() { --walkDepth; }
    } depth;

    const std::string base = (!folder.empty() && folder.back() == '/') ? folder : folder + "/";
    if (walkDepth == 1) {
        struct stat st {};
        if (stat(base.c_str(), &st) == 0)
            walkedFolders.insert({st.st_dev, st.st_ino});
    }

    FindData entry;
    std::unique_ptr<FindState, ListingCloser> listing(FindFirstFile(base + "*.*", entry));
    if (!listing)
        return;
    do {
        const std::string trimmed = Trim(entry.cFileName);
        if (trimmed == "." || trimmed == "..")
            continue;
        const std::string fullPath = base + entry.cFileName;
        const uint32_t attributes = entry.dwFileAttributes;

        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (walkedFolders.insert({entry.volumeSerialNumber, entry.fileIndex}).second)
                ModifyFolder(fullPath);
            continue;
        }
        // Linked files (0x400) and special files (0x40) carry bits outside the mask.
        if ((attributes & 0x3F) != attributes)
            continue;
        if (extensionOf(fullPath) != ".doc")
            continue;

        if (batchlife::StopRequested())
            throw BatchStopped();
        ++FileCount;
        const QString shownPath = QString::fromUtf8(fullPath);
        PostToWindowThread(this, [this, shownPath] { StatusBar1->setPanelText(2, shownPath); });
        {
            ComScope com;
            ModifyDocument(fullPath);
        }
        const QString count = QStringLiteral("已修改") + QString::number(FileCount) + QStringLiteral("个");
        PostToWindowThread(this, [this, count] { StatusBar1->setPanelText(1, count); });
    } while (FindNextFile(listing.get(), entry));
}
