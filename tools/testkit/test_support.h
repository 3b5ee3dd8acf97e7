// Helpers shared by the test programs.
#pragma once

#include <string>

namespace quarnel::test {

// A registry key of its own for one test, below HKEY_CURRENT_USER\Software\QuarnelTests,
// removed with everything in it when the object goes.
class ScratchKey {
  public:
    explicit ScratchKey(const std::string& name);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    // "HKEY_CURRENT_USER\Software\QuarnelTests\<name>-<pid>" without a trailing backslash.
    const std::string& Path() const { return path_; }
    // Path() + "\" + sub.
    std::string Sub(const std::string& sub) const { return path_ + "\\" + sub; }

  private:
    std::string path_;
};

// Deletes a key with all its subkeys and values (paths as the registry layer takes them).
void DeleteTree(const std::string& path);

// The build tree as the Windows programs of the tests see it (Wine's Z: drive).
std::wstring BuildDir();

} // namespace quarnel::test
