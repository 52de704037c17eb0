#include <gtest/gtest.h>

#include "config/game_config.h"
#include "win_test_support.h"

namespace {

constexpr DWORD marks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

std::vector<unsigned char> recordBytes(const char* password) {
    ConfigRecord record = encodeRecord(standardConfig(password));
    return std::vector<unsigned char>(record.begin(), record.end());
}

std::vector<unsigned char> join(std::vector<unsigned char> a, const std::vector<unsigned char>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

DWORD WINAPI closeSoon(void* file) {
    Sleep(150);
    CloseHandle(file);
    return 0;
}

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override { gameConfig = GameConfig{}; }
    FreshFolder folder;
    const std::wstring path = folder.path(L"miconfig.log");
};

}  // namespace

TEST_F(ConfigFile, LivesBesideTheProgramWhateverTheWorkingFolder) {
    wchar_t module[MAX_PATH];
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring expected(module);
    expected = expected.substr(0, expected.find_last_of(L'\\') + 1) + L"miconfig.log";
    wchar_t previous[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previous);
    SetCurrentDirectoryW(L"C:\\");
    EXPECT_EQ(configFilePath(), expected);
    SetCurrentDirectoryW(previous);
}

TEST_F(ConfigFile, ReplaceWritesOneRecordAndReadsItBack) {
    writeFileBytes(path, std::vector<unsigned char>(700, 0x11));
    gameConfig = standardConfig("secret7");
    EXPECT_EQ(replaceConfigFile(path), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(readFileBytes(path), recordBytes("secret7"));
    gameConfig = GameConfig{};
    loadConfig(path);
    EXPECT_EQ(gameConfig.password.str(), "secret7");
    EXPECT_EQ(gameConfig.prizeFigures[9].str(), "5000");
    EXPECT_EQ(folder.files(), std::vector<std::wstring>{L"miconfig.log"});
}

TEST_F(ConfigFile, SaveAppendsAfterTheLastCompleteRecord) {
    std::vector<unsigned char> bytes = recordBytes("first");
    bytes.resize(300, 0x7F);
    writeFileBytes(path, bytes);
    loadConfig(path);
    EXPECT_EQ(gameConfig.password.str(), "first");

    gameConfig = standardConfig("second");
    EXPECT_EQ(saveConfig(path), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(readFileBytes(path), join(recordBytes("first"), recordBytes("second")));
    gameConfig = GameConfig{};
    loadConfig(path);
    EXPECT_EQ(gameConfig.password.str(), "second");
}

TEST_F(ConfigFile, OnlyTheLastCompleteRecordDecides) {
    for (size_t size : {0u, 255u}) {
        writeFileBytes(path, std::vector<unsigned char>(size, 0x35));
        gameConfig = standardConfig("kept");
        loadConfig(path);
        EXPECT_EQ(gameConfig.password.str(), "kept") << size;
    }
    std::vector<unsigned char> three = join(join(recordBytes("one"), recordBytes("two")), recordBytes("three"));
    three.resize(three.size() + 100, 0x35);
    writeFileBytes(path, three);
    loadConfig(path);
    EXPECT_EQ(gameConfig.password.str(), "three");
}

TEST_F(ConfigFile, ReadOnlyHiddenSystemFileIsReplaced) {
    if (permissionsIgnored()) GTEST_SKIP() << "runs as root, which writes through read-only marks and folders";
    writeFileBytes(path, recordBytes("old"));
    // Hidden and system first: an ordinary user cannot mark a read-only file.
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    SetFileAttributesW(path.c_str(), marks);
    ASSERT_EQ(GetFileAttributesW(path.c_str()) & marks, marks);
    HANDLE writable = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (writable != INVALID_HANDLE_VALUE) CloseHandle(writable);
    ASSERT_EQ(writable, INVALID_HANDLE_VALUE) << "the read-only mark does not hold for this user";

    gameConfig = standardConfig("new");
    EXPECT_EQ(replaceConfigFile(path), static_cast<DWORD>(ERROR_SUCCESS));
    EXPECT_EQ(readFileBytes(path), recordBytes("new"));
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & marks, 0u);
}

TEST_F(ConfigFile, AFailedReplaceKeepsThePreviousFile) {
    writeFileBytes(path, recordBytes("old"));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    // Another program holds the file open without sharing.
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    ASSERT_EQ(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr),
              INVALID_HANDLE_VALUE);
    gameConfig = standardConfig("new");
    EXPECT_EQ(replaceConfigFile(path), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(holder);
    EXPECT_EQ(readFileBytes(path), recordBytes("old"));
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & marks, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(folder.files(), std::vector<std::wstring>{L"miconfig.log"});
}

TEST_F(ConfigFile, AFileHeldForAMomentIsWaitedForAndReplaced) {
    writeFileBytes(path, recordBytes("old"));
    // Another copy of the program loading the file at that moment.
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    HANDLE release = CreateThread(nullptr, 0, closeSoon, holder, 0, nullptr);
    gameConfig = standardConfig("new");
    EXPECT_EQ(replaceConfigFile(path), static_cast<DWORD>(ERROR_SUCCESS));
    WaitForSingleObject(release, INFINITE);
    CloseHandle(release);
    // Replaced, not appended to.
    EXPECT_EQ(readFileBytes(path), recordBytes("new"));
}
