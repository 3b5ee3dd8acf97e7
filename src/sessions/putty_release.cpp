// The window-free part of putty_version.h.
#include "sessions/putty_version.h"

#include <tuple>

namespace quarnel {

bool ReadsPasswordFile(const FileVersion& v) {
    return std::tuple(v.major, v.minor, v.build, v.revision) >= std::tuple(0, 77, 0, 0);
}

} // namespace quarnel
