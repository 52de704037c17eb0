// The configuration record: fixed-capacity texts, the number reading used
// everywhere, and the byte codec of the configuration file. Standard C++ only,
// so that it also builds natively for the sanitizers and the fuzzer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A text of single-byte characters that can never hold more than Capacity
// characters: assigning keeps what fits, and a zero byte ends the text.
template <std::size_t Capacity>
struct FixedText {
    static constexpr std::size_t capacity = Capacity;
    char bytes[Capacity + 1] = {};

    void assign(const char* text, std::size_t length) {
        std::size_t n = 0;
        while (n < length && n < Capacity && text[n] != '\0') {
            bytes[n] = text[n];
            ++n;
        }
        bytes[n] = '\0';
    }
    void assign(const std::string& text) { assign(text.data(), text.size()); }
    void clear() { bytes[0] = '\0'; }

    const char* c_str() const { return bytes; }
    std::size_t size() const {
        std::size_t n = 0;
        while (n < Capacity && bytes[n] != '\0') ++n;
        return n;
    }
    bool empty() const { return bytes[0] == '\0'; }
    std::string str() const { return std::string(bytes, size()); }
};

template <std::size_t A, std::size_t B>
bool operator==(const FixedText<A>& a, const FixedText<B>& b) {
    return a.str() == b.str();
}
template <std::size_t A, std::size_t B>
bool operator!=(const FixedText<A>& a, const FixedText<B>& b) {
    return !(a == b);
}

constexpr int prizeFigureCount = 10;
// A series has 1 to this many games; the set-up accepts no more.
constexpr int maxGames = 10;

// The texts of a set-up: a figure or the number of games, the password
// (also as typed into the password dialog) and the surprise comment.
using NumberText = FixedText<4>;
using PasswordText = FixedText<12>;
using CommentText = FixedText<81>;

// The card's set-up. prizeFigures[0] is the figure the user knows as figure 1.
struct GameConfig {
    NumberText prizeFigures[prizeFigureCount];
    NumberText winningFigure;
    PasswordText password;
    CommentText surpriseComment;
    NumberText gamesUntilTruePrize;
};

// The value of a number stored as text: the decimal number at the start of
// the text after blanks, tabs and line breaks; an optional sign and a
// fractional part are read, an exponent is not. No number gives 0.
double numberValue(const char* text);

constexpr std::size_t recordSize = 256;
constexpr int slotsPerRecord = 32;
constexpr std::size_t maxChunkLength = 5;
constexpr std::int64_t emptySlot = -1;

using ConfigRecord = std::array<std::uint8_t, recordSize>;

std::vector<std::string> splitIntoChunks(const std::string& text);

// A chunk of 0 to 5 bytes as its slot value: the bytes are the digits of a
// number in base 1000; an empty chunk is -1.
std::int64_t encodeChunk(const std::string& chunk);

// The chunk that a slot value stands for: its base-1000 digits, each taken
// modulo 256. Values of 0 or less, and values of more than 15 decimal digits
// (which no save ever writes), are empty chunks.
std::string decodeSlot(std::int64_t value);

ConfigRecord encodeRecord(const GameConfig& config);

// Replaces every field of the configuration from one record.
void decodeRecord(const std::uint8_t* record, GameConfig& config);

// Replaces the configuration from the last complete record of a file's
// bytes; bytes after it are ignored. Returns false, leaving the
// configuration as it was, when there is no complete record.
bool decodeConfigFile(const std::uint8_t* bytes, std::size_t size, GameConfig& config);

// Where the bytes that decide a file of that size begin: decodeConfigFile
// gives the same result on the bytes from there to the end (fewer than two
// records) as on the whole file, so a reader need not read more.
std::uint64_t configFileTail(std::uint64_t size);
