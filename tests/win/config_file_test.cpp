#include <gtest/gtest.h>
#include <cstring>

#include "config/game_config.h"
#include "win_test_support.h"

namespace {

void setExample(GameConfig& config, const char* password) {
    config = GameConfig{};
    const char* figures[] = {"5", "10", "20", "50", "100", "200", "500", "1000", "2000", "5000"};
    for (int k = 0; k < prizeFigureCount; ++k) config.prizeFigures[k].assign(figures[k], std::strlen(figures[k]));
    config.winningFigure.assign("500");
    config.surpriseComment.assign("abc");
    config.gamesUntilTruePrize.assign("3");
    config.password.assign(password);
}

std::vector<unsigned char> recordBytes(const GameConfig& config) {
    ConfigRecord record = encodeRecord(config);
    return std::vector<unsigned char>(record.begin(), record.end());
}

class ConfigFile : public ::testing::Test {
protected:
    void SetUp() override {
        path = configFilePath();
        removeFile(path);
        gameConfig = GameConfig{};
    }
    void TearDown() override { removeFile(path); }
    std::wstring path;
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
    EXPECT_FALSE(configFileExists());
    loadConfig();  // creates the file empty, beside the program
    EXPECT_TRUE(fileExists(expected));
    EXPECT_FALSE(fileExists(L"C:\\miconfig.log"));
    SetCurrentDirectoryW(previous);
    EXPECT_TRUE(configFileExists());
    EXPECT_TRUE(readFileBytes(path).empty());
}

TEST_F(ConfigFile, ReplaceWritesOneRecordAndReadsItBack) {
    writeFileBytes(path, std::vector<unsigned char>(700, 0x11));
    setExample(gameConfig, "secret7");
    EXPECT_TRUE(replaceConfigFile());
    EXPECT_EQ(readFileBytes(path), recordBytes(gameConfig));
    GameConfig stored = gameConfig;
    gameConfig = GameConfig{};
    loadConfig();
    EXPECT_EQ(gameConfig.password.str(), stored.password.str());
    EXPECT_EQ(gameConfig.prizeFigures[9].str(), "5000");
}

TEST_F(ConfigFile, SaveAppendsAfterTheLastCompleteRecord) {
    GameConfig first;
    setExample(first, "first");
    std::vector<unsigned char> bytes = recordBytes(first);
    bytes.resize(300, 0x7F);
    writeFileBytes(path, bytes);
    loadConfig();
    EXPECT_EQ(gameConfig.password.str(), "first");

    setExample(gameConfig, "second");
    EXPECT_TRUE(saveConfig());
    std::vector<unsigned char> after = readFileBytes(path);
    ASSERT_EQ(after.size(), 512u);
    EXPECT_EQ(std::vector<unsigned char>(after.begin() + 256, after.end()), recordBytes(gameConfig));
    gameConfig = GameConfig{};
    loadConfig();
    EXPECT_EQ(gameConfig.password.str(), "second");
}

TEST_F(ConfigFile, ShortFilesLeaveTheConfigurationAlone) {
    for (size_t size : {0u, 255u}) {
        writeFileBytes(path, std::vector<unsigned char>(size, 0x35));
        setExample(gameConfig, "kept");
        loadConfig();
        EXPECT_EQ(gameConfig.password.str(), "kept") << size;
    }
}

TEST_F(ConfigFile, ReadOnlyHiddenSystemFileIsReplaced) {
    GameConfig old;
    setExample(old, "old");
    writeFileBytes(path, recordBytes(old));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    setExample(gameConfig, "new");
    EXPECT_TRUE(replaceConfigFile());
    EXPECT_EQ(readFileBytes(path), recordBytes(gameConfig));
    DWORD attributes = GetFileAttributesW(path.c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u);
}

TEST_F(ConfigFile, AFailedReplaceKeepsThePreviousFile) {
    GameConfig old;
    setExample(old, "old");
    writeFileBytes(path, recordBytes(old));
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_HIDDEN);
    // Another program holds the file open without sharing.
    HANDLE holder = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    setExample(gameConfig, "new");
    EXPECT_FALSE(replaceConfigFile());
    CloseHandle(holder);
    EXPECT_EQ(readFileBytes(path), recordBytes(old));
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_HIDDEN, static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));

    // No temporary file is left behind.
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((programFolder() + L"cfg*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE);
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
}
