// The few file-system facts the program asks for.
#pragma once

#include <string>

namespace quarnel {

// Whether the file exists and can be opened for reading; a folder does not count.
bool IsReadableFile(const std::wstring& path);

// The running program's own full file name, however long.
std::wstring ProgramFileName();

// The process's current directory (at most 1000 characters, as it has always been read;
// empty when it is longer).
std::wstring CurrentDirectory();

} // namespace quarnel
