// Helpers for the tests that run under Wine against the real Win32 modules.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "config/config_record.h"
#include "standard_config.h"

// A new, empty folder of the case's own under the user's temporary folder,
// removed with everything in it when the case ends.
class FreshFolder {
public:
    FreshFolder();
    ~FreshFolder();
    FreshFolder(const FreshFolder&) = delete;
    FreshFolder& operator=(const FreshFolder&) = delete;

    // The folder's path with its trailing backslash, followed by name.
    std::wstring path(const wchar_t* name = L"") const { return folder_ + name; }
    // The names of the files in it.
    std::vector<std::wstring> files() const;

private:
    std::wstring folder_;
};

std::vector<unsigned char> readFileBytes(const std::wstring& path);
void writeFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes);
bool fileExists(const std::wstring& path);
// Removes a file whatever its read-only, hidden or system marks.
void removeFile(const std::wstring& path);
// A text in a code page as the plain conversion gives it, and bytes of a
// code page shown again as a field shows them.
std::string plainConversion(const std::wstring& text, UINT codePage);
std::wstring shownAgain(const std::string& bytes, UINT codePage);

// Whether the runner had to run the tests as root, which Wine lets write
// through read-only marks and folders: a case that needs them skips at its
// start.
bool permissionsIgnored();
