// The registry as one end-to-end test wants quarnel.exe to find it. Everything the
// program reads or writes is reset when the object is made and again when it goes.
#pragma once

#include <string>

namespace quarnel::test {

// Deletes a key with all its subkeys and values (paths as the registry layer takes them).
void DeleteTree(const std::string& path);

// A registry key of its own for one test, below HKEY_CURRENT_USER\Software\QuarnelTests,
// removed with everything in it when the object is made and when it goes.
struct ScratchKey {
    explicit ScratchKey(const std::string& name)
        : path("HKEY_CURRENT_USER\\Software\\QuarnelTests\\" + name) {
        DeleteTree(path);
    }
    ~ScratchKey() { DeleteTree(path); }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    const std::string path; // without a trailing backslash
};

// The build tree as the Windows programs of the tests see it (Wine's Z: drive).
std::wstring BuildDir();

// Removes every saved session of PuTTY, with the program's values in them.
void RemovePuttySessions();

class QuarnelSetup {
  public:
    QuarnelSetup();
    ~QuarnelSetup();
    QuarnelSetup(const QuarnelSetup&) = delete;
    QuarnelSetup& operator=(const QuarnelSetup&) = delete;

    // A later run: the program key exists, so no first-run message.
    QuarnelSetup& LaterRun();
    // A value of the program key (creates the key, so it is a later run too).
    QuarnelSetup& Setting(const std::string& valueName, const std::string& text);
    // The check of this master password, as the program stores it with a first password.
    QuarnelSetup& MasterCheckOf(const std::string& masterPassword);
    // PuttyPfad names the stand-in putty.exe of the build tree.
    QuarnelSetup& WithFakePutty();
    // A saved PuTTY session (key form: blanks as "%20") with its menu and, when given, a
    // password stored enciphered under `masterPassword`.
    QuarnelSetup& Session(const std::string& keyName, const std::string& menu = {},
                          const std::string& password = {}, const std::string& masterPassword = {});

  private:
    void Reset();
};

} // namespace quarnel::test
