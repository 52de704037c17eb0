#include <gtest/gtest.h>

#include <windows.h>

#include "config/password_rule.h"
#include "win_test_support.h"

namespace {

const std::wstring kana = L"a\u3042\u3044\u3046\u3048\u304A\u304B";  // 13 bytes in 932, 19 in UTF-8

}  // namespace

// Which typed passwords open a stored one: the same bytes cut at whole
// characters, or, for a password stored by an earlier copy that cut at 12
// bytes inside a character, the typed text cut that way. Nothing else:
// no other case, no look-alike, no longer or shorter text.
TEST(PasswordRule, WhichTypedPasswordsOpen) {
    const std::string cutInside932 = plainConversion(kana, 932).substr(0, 12);
    const std::string wholeIn932 = plainConversion(kana.substr(0, 6), 932);
    const std::string cutInsideUtf8 = plainConversion(kana, CP_UTF8).substr(0, 12);
    struct Case {
        UINT codePage;
        std::string stored;
        std::wstring typed;
        bool opens;
    };
    const Case cases[] = {
        {932, wholeIn932, kana, true},
        {932, cutInside932, kana, true},
        {932, cutInside932, kana.substr(0, 6), false},
        {932, cutInside932, kana + L"x", true},
        {932, plainConversion(kana.substr(0, 5), 932), kana, false},
        {CP_UTF8, cutInsideUtf8, kana, true},
        {CP_UTF8, plainConversion(kana.substr(0, 4), CP_UTF8), kana, true},
        {1252, "secreto", L"secreto", true},
        {1252, "secreto", L"SECRETO", false},
        {1252, "secreto", L"secret", false},
        {1252, "Abc", L"\u0100bc", false},
        {1252, "?", L"\u03A9", false},
        {1252, "", L"", false},
        {CP_UTF8, plainConversion(L"ab\xFFFD", CP_UTF8), L"ab\xD83D", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(passwordOpens(c.stored, c.typed, 12, c.codePage), c.opens) << c.codePage << " " << c.stored;
    }
}

// What the configuration dialog stores for the password it shows: the
// stored bytes where the password is shown as it was, even those that an
// earlier copy cut inside a character; else the text cut at whole
// characters; nothing where the code page cannot hold the text exactly.
TEST(PasswordRule, WhatAShownPasswordIsStoredAs) {
    const std::string cutInside932 = plainConversion(kana, 932).substr(0, 12);
    struct Case {
        UINT codePage;
        std::string stored;
        std::wstring shown;
        bool storable;
        std::string bytes;
    };
    const Case cases[] = {
        {932, cutInside932, shownAgain(cutInside932, 932), true, cutInside932},
        {932, cutInside932, kana, true, plainConversion(kana.substr(0, 6), 932)},
        {932, "", kana, true, plainConversion(kana.substr(0, 6), 932)},
        {1252, "secreto", L"secreto", true, "secreto"},
        {1252, "secreto", L"clave nueva larga", true, "clave nueva "},
        {1252, "secreto", L"\u03A9mega", false, ""},
        {CP_UTF8, "secreto", L"ab\xD83D", false, ""},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> stored = passwordToStore(c.stored, c.shown, 12, c.codePage);
        EXPECT_EQ(stored.has_value(), c.storable) << c.codePage << " " << c.stored;
        EXPECT_EQ(stored.value_or(""), c.bytes) << c.codePage << " " << c.stored;
    }
}
