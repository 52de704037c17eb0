#include "game_config.h"

#include <algorithm>
#include <vector>

#include "../resources/strings.h"
#include "../win/files.h"
#include "../win/win_handles.h"

GameConfig gameConfig;

namespace {

bool fileSize(HANDLE file, ULONGLONG& size) {
    LARGE_INTEGER value;
    if (!GetFileSizeEx(file, &value)) return false;
    size = static_cast<ULONGLONG>(value.QuadPart);
    return true;
}

bool seekTo(HANDLE file, ULONGLONG offset) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    return SetFilePointerEx(file, position, nullptr, FILE_BEGIN) != 0;
}

// About a second in all: far longer than any load or replace of the other
// copy, far shorter than a family member waits for Accept.
constexpr int inUseRetries = 20;
constexpr DWORD inUseRetryPause = 50;

bool fileInUse(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

bool writeRecord(HANDLE file) {
    const ConfigRecord record = encodeRecord(gameConfig);
    return writeAll(file, record.data(), recordSize);
}

}  // namespace

std::wstring programFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return std::wstring();
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            return path.substr(0, path.find_last_of(L'\\') + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring configFilePath() { return programFolder() + editionTexts.configFileName; }

bool configFileExists() { return GetFileAttributesW(configFilePath().c_str()) != INVALID_FILE_ATTRIBUTES; }

void loadConfig() { loadConfig(configFilePath()); }

void loadConfig(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ULONGLONG size = 0;
    if (!file.valid() || !fileSize(file.get(), size)) return;
    // Only the last complete record decides; whatever the file's size, less
    // than two records' worth is read.
    const ULONGLONG tail = configFileTail(size);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::min<ULONGLONG>(size - tail, 2 * recordSize)));
    DWORD read = 0;
    if (bytes.empty() || !seekTo(file.get(), tail) ||
        !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        return;
    }
    decodeConfigFile(bytes.data(), read, gameConfig);
}

DWORD saveConfig() { return saveConfig(configFilePath()); }

DWORD saveConfig(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ULONGLONG size = 0;
    // A partial record at the end does not count and is written over.
    if (!file.valid() || !fileSize(file.get(), size) || !seekTo(file.get(), size / recordSize * recordSize) ||
        !writeRecord(file.get()) || !FlushFileBuffers(file.get())) {
        return lastFailure();
    }
    return ERROR_SUCCESS;
}

DWORD replaceConfigFile() { return replaceConfigFile(configFilePath()); }

DWORD replaceConfigFile(const std::wstring& path) {
    DWORD error = replaceFile(path, writeRecord, OldFileMarks::clear);
    // Another copy of the program loading or replacing the file holds it for
    // a moment only: wait for it rather than report the file in use.
    for (int retry = 0; retry < inUseRetries && fileInUse(error); ++retry) {
        Sleep(inUseRetryPause);
        error = replaceFile(path, writeRecord, OldFileMarks::clear);
    }
    if (error != ERROR_SUCCESS && !fileInUse(error)) {
        // A folder that takes no new file may still let the file grow. The
        // appended record is the last one, which alone decides what loads,
        // and a torn append leaves the record before it whole. A file in use
        // is never appended to: its holder may be replacing it.
        ClearedMarks cleared(path);
        error = saveConfig(path);
        if (error == ERROR_SUCCESS) cleared.keep();
    }
    loadConfig(path);
    return error;
}
