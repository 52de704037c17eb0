#include <gtest/gtest.h>

#include <windows.h>

#include "win/dialog_support.h"
#include "win_test_support.h"

// What a field keeps of a text: whole characters up to its capacity in
// bytes, with the plain conversion's bytes, and whether they hold the text
// exactly. Code page 932 is a double-byte one, as on a Japanese system.
TEST(AnsiText, WholeCharactersUpToTheCapacity) {
    const std::wstring kana = L"\u3042\u3044\u3046\u3048\u304A\u304B\u304D";  // seven characters of two bytes
    std::wstring longComment = L"a";
    for (int i = 0; i < 41; ++i) longComment += L'\u6F22';
    struct Case {
        UINT codePage;
        std::wstring text;
        std::size_t capacity;
        std::wstring kept;
        bool exact;
    };
    const Case cases[] = {
        {1252, L"Abcdefghijklm", 12, L"Abcdefghijkl", true},
        {1252, L"\u00D1and\u00FA 5 \u20AC", 12, L"\u00D1and\u00FA 5 \u20AC", true},
        {1252, L"\u03A9\u03BC\u03AD\u03B3\u03B1", 12, L"\u03A9\u03BC\u03AD\u03B3\u03B1", false},  // Greek
        {1252, L"\u0100bc", 12, L"\u0100bc", false},  // a look-alike of "Abc"
        {932, kana, 12, kana.substr(0, 6), true},
        {932, L"a" + kana, 12, L"a" + kana.substr(0, 5), true},  // not "a", five and half of the sixth
        {932, longComment, 81, longComment.substr(0, 41), true},
        {932, L"ab\u0100", 12, L"ab\u0100", false},
        {CP_UTF8, L"ab\U0001F600", 12, L"ab\U0001F600", true},
        {CP_UTF8, L"ab\xD83D", 12, L"ab\xD83D", false},  // half of a pair, stored as U+FFFD
        {CP_UTF8, L"ab\xDE00" L"c", 12, L"ab\xDE00" L"c", false},
        {CP_UTF8, L"abcdefghijkl\xD83D", 12, L"abcdefghijkl", true},  // past the cut, as other characters
    };
    for (const Case& c : cases) {
        const AnsiText kept = ansiText(c.text, c.capacity, c.codePage);
        EXPECT_EQ(kept.bytes, plainConversion(c.kept, c.codePage)) << c.codePage << " " << c.text.size();
        EXPECT_EQ(kept.exact, c.exact) << c.codePage << " " << c.text.size();
        // Shown again in a field and kept again, an exact text stays the same bytes.
        if (c.exact) {
            EXPECT_EQ(ansiText(shownAgain(kept.bytes, c.codePage), c.capacity, c.codePage).bytes, kept.bytes);
        }
    }
}
