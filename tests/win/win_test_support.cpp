#include "win_test_support.h"

#include <cstdlib>

FreshFolder::FreshFolder() {
    wchar_t temporary[MAX_PATH];
    GetTempPathW(MAX_PATH, temporary);
    for (unsigned n = 0; folder_.empty(); ++n) {
        std::wstring candidate = std::wstring(temporary) + L"quimba-test-" + std::to_wstring(GetCurrentProcessId()) +
                                 L"-" + std::to_wstring(n);
        if (CreateDirectoryW(candidate.c_str(), nullptr)) folder_ = candidate + L"\\";
    }
}

FreshFolder::~FreshFolder() {
    for (const std::wstring& name : files()) removeFile(folder_ + name);
    RemoveDirectoryW(folder_.c_str());
}

std::vector<std::wstring> FreshFolder::files() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder_ + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::vector<unsigned char> readFileBytes(const std::wstring& path) {
    std::vector<unsigned char> bytes;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return bytes;
    LARGE_INTEGER size;
    GetFileSizeEx(file, &size);
    bytes.resize(static_cast<size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

void writeFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    removeFile(path);
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    if (!bytes.empty()) WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void removeFile(const std::wstring& path) {
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
}

bool permissionsIgnored() { return std::getenv("QUIMBA_PERMISSIONS_IGNORED") != nullptr; }

std::string plainConversion(const std::wstring& text, UINT codePage) {
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(static_cast<size_t>(WideCharToMultiByte(codePage, 0, text.c_str(), static_cast<int>(text.size()),
                                                         &bytes[0], static_cast<int>(bytes.size()), nullptr, nullptr)));
    return bytes;
}

std::wstring shownAgain(const std::string& bytes, UINT codePage) {
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(codePage, 0, bytes.c_str(), static_cast<int>(bytes.size()),
                                                        &text[0], static_cast<int>(text.size()))));
    return text;
}
