#pragma once
#include <string>

#include "UnoText.h"

namespace wordengine {

// The URL by which the office reaches a file or folder given as bytes. The office
// turns URLs back into paths through UTF-8, so a path that is not valid UTF-8 is
// reached through a symbolic link with a plain name in the temporary folder,
// removed again when this object goes.
class OfficeUrl {
public:
    explicit OfficeUrl(const std::string& path);
    ~OfficeUrl();
    OfficeUrl(const OfficeUrl&) = delete;
    OfficeUrl& operator=(const OfficeUrl&) = delete;

    const OUString& url() const { return url_; }

private:
    std::string link_;
    OUString url_;
};

bool IsValidUtf8(const std::string& bytes);

} // namespace wordengine
