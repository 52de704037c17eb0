#include <gtest/gtest.h>

#include <cstring>

#include "config/config_record.h"
#include "standard_config.h"

namespace {

GameConfig workedExample() { return standardConfig("secret7", "3", "abc"); }

std::vector<std::uint8_t> slotBytes(const ConfigRecord& record, int slot) {
    return std::vector<std::uint8_t>(record.begin() + slot * 8, record.begin() + slot * 8 + 8);
}

std::int64_t slotValue(const ConfigRecord& record, int slot) {
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i) bits = bits << 8 | record[static_cast<std::size_t>(slot * 8 + i)];
    return static_cast<std::int64_t>(bits);
}

void putSlot(std::uint8_t* record, int slot, std::int64_t value) {
    for (int i = 0; i < 8; ++i) record[slot * 8 + i] = static_cast<std::uint8_t>(static_cast<std::uint64_t>(value) >> (8 * i));
}

}  // namespace

TEST(ConfigRecord, WorkedExampleIsStoredByteForByte) {
    const ConfigRecord record = encodeRecord(workedExample());
    const std::vector<std::vector<std::uint8_t>> expected = {
        {0x35, 0, 0, 0, 0, 0, 0, 0},          {0x98, 0xBF, 0, 0, 0, 0, 0, 0},
        {0x80, 0xC3, 0, 0, 0, 0, 0, 0},       {0x38, 0xCF, 0, 0, 0, 0, 0, 0},
        {0xF0, 0x69, 0xEC, 0x02, 0, 0, 0, 0}, {0x30, 0xAC, 0xFB, 0x02, 0, 0, 0, 0},
        {0xF0, 0x72, 0x29, 0x03, 0, 0, 0, 0}, {0xB0, 0xD1, 0x7D, 0x6B, 0x0B, 0, 0, 0},
        {0xB0, 0x9B, 0x18, 0xA7, 0x0B, 0, 0, 0}, {0xB0, 0xF9, 0xE8, 0x59, 0x0C, 0, 0, 0},
        {0xF0, 0x72, 0x29, 0x03, 0, 0, 0, 0},
    };
    for (int slot = 0; slot <= 10; ++slot) EXPECT_EQ(slotBytes(record, slot), expected[slot]) << "slot " << slot;
    // A 7-character password: five, then two, then nothing.
    EXPECT_EQ(slotValue(record, 11), encodeChunk("secre"));
    EXPECT_EQ(slotValue(record, 12), encodeChunk("t7"));
    EXPECT_EQ(slotValue(record, 13), -1);
    EXPECT_EQ(slotBytes(record, 14), (std::vector<std::uint8_t>{0x73, 0x99, 0xC9, 0x05, 0, 0, 0, 0}));
    for (int slot = 15; slot <= 30; ++slot) EXPECT_EQ(slotBytes(record, slot), std::vector<std::uint8_t>(8, 0xFF));
    EXPECT_EQ(slotBytes(record, 31), (std::vector<std::uint8_t>{0x33, 0, 0, 0, 0, 0, 0, 0}));

    GameConfig back;
    ASSERT_TRUE(decodeConfigFile(record.data(), record.size(), back));
    const GameConfig original = workedExample();
    for (int k = 0; k < prizeFigureCount; ++k) EXPECT_EQ(back.prizeFigures[k], original.prizeFigures[k]);
    EXPECT_EQ(back.winningFigure.str(), "500");
    EXPECT_EQ(back.password.str(), "secret7");
    EXPECT_EQ(back.surpriseComment.str(), "abc");
    EXPECT_EQ(back.gamesUntilTruePrize.str(), "3");
}

TEST(ConfigRecord, ChunkCodecAtItsLimits) {
    EXPECT_EQ(encodeChunk(""), -1);
    EXPECT_EQ(encodeChunk("10"), 49048);
    EXPECT_EQ(encodeChunk("\xF1"), 241);
    const std::string fiveMax(5, '\xFF');
    EXPECT_EQ(encodeChunk(fiveMax), 255255255255255);
    ConfigRecord record{};
    putSlot(record.data(), 0, encodeChunk(fiveMax));
    EXPECT_EQ(slotBytes(record, 0), (std::vector<std::uint8_t>{0xD7, 0x08, 0xD1, 0x3E, 0x27, 0xE8, 0, 0}));
    EXPECT_EQ(decodeSlot(255255255255255), fiveMax);

    // Below byte 100 the value loses leading zeros and must regain them.
    EXPECT_EQ(decodeSlot(49048), "10");
    EXPECT_EQ(decodeSlot(9), "\x09");
    EXPECT_EQ(decodeSlot(encodeChunk("ABCDE")), "ABCDE");
    // From byte 100 up the value has 3n digits.
    EXPECT_EQ(decodeSlot(encodeChunk("dz\xE9")), "dz\xE9");
    for (int b = 1; b <= 255; ++b) {
        std::string chunk = {static_cast<char>(b), 'x', static_cast<char>(256 - b)};
        EXPECT_EQ(decodeSlot(encodeChunk(chunk)), chunk) << b;
    }
}

TEST(ConfigRecord, DecodingNeverTrustsTheSlot) {
    EXPECT_EQ(decodeSlot(0), "");
    EXPECT_EQ(decodeSlot(-1), "");
    EXPECT_EQ(decodeSlot(-12345), "");
    EXPECT_EQ(decodeSlot(INT64_MIN), "");
    // Digit groups above 255 wrap; 256 gives a zero byte.
    EXPECT_EQ(decodeSlot(300065), std::string("\x2C" "A", 2));
    EXPECT_EQ(decodeSlot(256), std::string(1, '\0'));
    // More than 15 digits is never written: an empty chunk.
    EXPECT_EQ(decodeSlot(999999999999999), std::string("\xE7\xE7\xE7\xE7\xE7"));
    EXPECT_EQ(decodeSlot(1000000000000000), "");
    EXPECT_EQ(decodeSlot(INT64_MAX), "");
}

TEST(ConfigRecord, EmptySlotsInsideAFieldAndZeroBytes) {
    ConfigRecord record = encodeRecord(workedExample());
    putSlot(record.data(), 11, encodeChunk("abcde"));
    putSlot(record.data(), 12, 0);
    putSlot(record.data(), 13, encodeChunk("fg"));
    // A zero byte in the comment ends it there.
    putSlot(record.data(), 14, 97256098);
    GameConfig config;
    decodeRecord(record.data(), config);
    EXPECT_EQ(config.password.str(), "abcdefg");
    EXPECT_EQ(config.surpriseComment.str(), "a");

    // A figure slot holding five characters keeps four.
    putSlot(record.data(), 0, encodeChunk("12345"));
    decodeRecord(record.data(), config);
    EXPECT_EQ(config.prizeFigures[0].str(), "1234");
}

TEST(ConfigRecord, ChunksOfPasswordAndComment) {
    GameConfig config = workedExample();
    config.password.assign("abcd");
    config.surpriseComment.assign(std::string(81, 'z') + "overflow");
    const ConfigRecord record = encodeRecord(config);
    EXPECT_EQ(slotValue(record, 11), encodeChunk("abcd"));
    EXPECT_EQ(slotValue(record, 12), -1);
    EXPECT_EQ(slotValue(record, 13), -1);
    for (int slot = 14; slot < 30; ++slot) EXPECT_EQ(slotValue(record, slot), encodeChunk("zzzzz"));
    EXPECT_EQ(slotValue(record, 30), 'z');

    config.surpriseComment.clear();
    const ConfigRecord empty = encodeRecord(config);
    for (int slot = 14; slot <= 30; ++slot) EXPECT_EQ(slotValue(empty, slot), -1);

    EXPECT_TRUE(splitIntoChunks("").empty());
    EXPECT_EQ(splitIntoChunks("abcdefghijkl"), (std::vector<std::string>{"abcde", "fghij", "kl"}));
}

TEST(ConfigRecord, FileOfManyRecordsAndOddSizes) {
    GameConfig first = workedExample();
    GameConfig second = workedExample();
    second.surpriseComment.clear();
    second.password.assign("other");
    std::vector<std::uint8_t> file;
    for (const GameConfig* c : {&first, &second}) {
        ConfigRecord r = encodeRecord(*c);
        file.insert(file.end(), r.begin(), r.end());
    }
    GameConfig loaded = workedExample();
    ASSERT_TRUE(decodeConfigFile(file.data(), file.size(), loaded));
    EXPECT_EQ(loaded.password.str(), "other");
    EXPECT_EQ(loaded.surpriseComment.str(), "");  // empty in the last record, not kept from the first

    // 300 bytes: the first record, the rest ignored.
    std::vector<std::uint8_t> partial(file.begin(), file.begin() + 256);
    partial.resize(300, 0x42);
    loaded = GameConfig{};
    ASSERT_TRUE(decodeConfigFile(partial.data(), partial.size(), loaded));
    EXPECT_EQ(loaded.password.str(), "secret7");

    // 0 and 255 bytes: nothing changes.
    GameConfig untouched = workedExample();
    EXPECT_FALSE(decodeConfigFile(file.data(), 0, untouched));
    EXPECT_FALSE(decodeConfigFile(file.data(), 255, untouched));
    EXPECT_EQ(untouched.password.str(), "secret7");
}

TEST(FixedText, TruncatesAtEveryCapacityAndStopsAtZero) {
    FixedText<4> figure;
    figure.assign("12345");
    EXPECT_EQ(figure.str(), "1234");
    FixedText<12> password;
    password.assign("abcdefghijklm");
    EXPECT_EQ(password.str(), "abcdefghijkl");
    FixedText<81> comment;
    comment.assign(std::string(200, 'c'));
    EXPECT_EQ(comment.size(), 81u);
    comment.assign(std::string("ab\0cd", 5));
    EXPECT_EQ(comment.str(), "ab");
    password.assign("x");
    EXPECT_EQ(password.str(), "x");
    EXPECT_FALSE(password == FixedText<12>());
}

TEST(NumberValue, ReadsTheLeadingNumber) {
    EXPECT_EQ(numberValue(""), 0);
    EXPECT_EQ(numberValue("abc"), 0);
    EXPECT_EQ(numberValue("0050"), 50);
    EXPECT_EQ(numberValue(" \t\r\n12x"), 12);
    EXPECT_EQ(numberValue("-7"), -7);
    EXPECT_EQ(numberValue("9999"), 9999);
    EXPECT_EQ(numberValue("1.5"), 1.5);
}
