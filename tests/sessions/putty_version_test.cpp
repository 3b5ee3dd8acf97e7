// Which PuTTY takes its password from a file.
#include "sessions/putty_version.h"

#include <gtest/gtest.h>

namespace quarnel {
namespace {

TEST(PuttyVersion, FromRelease077OnThePasswordComesFromAFile) {
    const struct {
        FileVersion version;
        bool readsFile;
    } cases[] = {
        {{0, 77, 0, 0}, true}, {{0, 76, 0, 0}, false}, {{0, 76, 65535, 65535}, false},
        {{0, 78, 0, 0}, true}, {{0, 81, 0, 0}, true},  {{1, 0, 0, 0}, true},
        {{0, 0, 0, 0}, false}, {{0, 7, 70, 0}, false},
    };
    for (const auto& c : cases) {
        const FileVersion& v = c.version;
        EXPECT_EQ(ReadsPasswordFile(v), c.readsFile)
            << v.major << "." << v.minor << "." << v.build << "." << v.revision;
    }
}

} // namespace
} // namespace quarnel
