#include "OfficeUrl.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>
#include <stdexcept>
#include <unistd.h>

namespace wordengine {

bool IsValidUtf8(const std::string& bytes)
{
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        size_t extra;
        uint32_t code;
        if (c < 0x80) {
            ++i;
            continue;
        } else if ((c & 0xE0) == 0xC0) {
            extra = 1, code = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2, code = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3, code = c & 0x07;
        } else {
            return false;
        }
        if (i + extra >= bytes.size())
            return false;
        for (size_t k = 1; k <= extra; ++k) {
            const unsigned char f = static_cast<unsigned char>(bytes[i + k]);
            if ((f & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (f & 0x3F);
        }
        static const uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < smallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

OfficeUrl::OfficeUrl(const std::string& path)
{
    if (IsValidUtf8(path)) {
        url_ = FileUrl(path);
        return;
    }
    static std::atomic<unsigned> counter{0};
    std::random_device random;
    const std::string base = "/tmp/quorvel-" + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 16; ++attempt) {
        std::string link = base + std::to_string(++counter) + "-" + std::to_string(random());
        if (symlink(path.c_str(), link.c_str()) == 0) {
            link_ = std::move(link);
            url_ = FileUrl(link_);
            return;
        }
        if (errno != EEXIST)
            break;
    }
    throw std::runtime_error("Cannot make a name the office can use for " + path + ": " + std::strerror(errno));
}

OfficeUrl::~OfficeUrl()
{
    if (!link_.empty())
        unlink(link_.c_str());
}

} // namespace wordengine
