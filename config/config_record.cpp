#include "config_record.h"

#include "../win/little_endian.h"

namespace {

constexpr int prizeSlot = 0;
constexpr int winningSlot = 10;
constexpr int passwordSlot = 11;
constexpr int passwordSlots = 3;
constexpr int commentSlot = 14;
constexpr int commentSlots = 17;
constexpr int gamesSlot = 31;
constexpr std::int64_t largestSlotValue = 999999999999999;  // 15 digits

bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::size_t slotSize = 8;

void putSlot(ConfigRecord& record, int slot, std::int64_t value) {
    storeLittleEndian(record.data() + static_cast<std::size_t>(slot) * slotSize, value);
}

std::int64_t getSlot(const std::uint8_t* record, int slot) {
    return loadLittleEndian<std::int64_t>(record + static_cast<std::size_t>(slot) * slotSize);
}

// Texts of more than one chunk spread over consecutive slots; -1 fills the
// slots that the text does not reach.
void putChunks(ConfigRecord& record, int firstSlot, int slotCount, const std::string& text) {
    std::vector<std::string> chunks = splitIntoChunks(text);
    for (int i = 0; i < slotCount; ++i) {
        std::size_t index = static_cast<std::size_t>(i);
        putSlot(record, firstSlot + i, index < chunks.size() ? encodeChunk(chunks[index]) : emptySlot);
    }
}

// An empty slot contributes nothing but does not end the field.
std::string joinSlots(const std::uint8_t* record, int firstSlot, int slotCount) {
    std::string text;
    for (int i = 0; i < slotCount; ++i) {
        text += decodeSlot(getSlot(record, firstSlot + i));
    }
    return text;
}

}  // namespace

double numberValue(const char* text) {
    const char* p = text;
    while (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n') ++p;
    double sign = 1.0;
    if (*p == '+' || *p == '-') {
        sign = *p == '-' ? -1.0 : 1.0;
        ++p;
    }
    double value = 0.0;
    for (; isDigit(*p); ++p) value = value * 10.0 + (*p - '0');
    if (*p == '.') {
        // One division at the end keeps short fractions exact.
        double numerator = 0.0;
        double denominator = 1.0;
        for (++p; isDigit(*p) && denominator < 1e15; ++p) {
            numerator = numerator * 10.0 + (*p - '0');
            denominator *= 10.0;
        }
        value += numerator / denominator;
    }
    return sign * value;
}

std::vector<std::string> splitIntoChunks(const std::string& text) {
    std::vector<std::string> chunks;
    for (std::size_t start = 0; start < text.size(); start += maxChunkLength) {
        chunks.push_back(text.substr(start, maxChunkLength));
    }
    return chunks;
}

std::int64_t encodeChunk(const std::string& chunk) {
    if (chunk.empty()) return emptySlot;
    std::int64_t value = 0;
    for (std::size_t i = 0; i < chunk.size() && i < maxChunkLength; ++i) {
        value = value * 1000 + static_cast<unsigned char>(chunk[i]);
    }
    return value;
}

std::string decodeSlot(std::int64_t value) {
    if (value <= 0 || value > largestSlotValue) return std::string();
    std::string reversed;
    for (; value > 0; value /= 1000) {
        reversed += static_cast<char>(static_cast<unsigned char>((value % 1000) % 256));
    }
    return std::string(reversed.rbegin(), reversed.rend());
}

ConfigRecord encodeRecord(const GameConfig& config) {
    ConfigRecord record{};
    for (int k = 0; k < prizeFigureCount; ++k) {
        putSlot(record, prizeSlot + k, encodeChunk(config.prizeFigures[k].str()));
    }
    putSlot(record, winningSlot, encodeChunk(config.winningFigure.str()));
    putChunks(record, passwordSlot, passwordSlots, config.password.str());
    putChunks(record, commentSlot, commentSlots, config.surpriseComment.str());
    putSlot(record, gamesSlot, encodeChunk(config.gamesUntilTruePrize.str()));
    return record;
}

void decodeRecord(const std::uint8_t* record, GameConfig& config) {
    for (int k = 0; k < prizeFigureCount; ++k) {
        config.prizeFigures[k].assign(joinSlots(record, prizeSlot + k, 1));
    }
    config.winningFigure.assign(joinSlots(record, winningSlot, 1));
    config.password.assign(joinSlots(record, passwordSlot, passwordSlots));
    config.surpriseComment.assign(joinSlots(record, commentSlot, commentSlots));
    config.gamesUntilTruePrize.assign(joinSlots(record, gamesSlot, 1));
}

bool decodeConfigFile(const std::uint8_t* bytes, std::size_t size, GameConfig& config) {
    std::size_t records = size / recordSize;
    if (records == 0) return false;
    decodeRecord(bytes + (records - 1) * recordSize, config);
    return true;
}

std::uint64_t configFileTail(std::uint64_t size) { return size < recordSize ? 0 : (size / recordSize - 1) * recordSize; }
