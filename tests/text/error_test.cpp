#include "text/error.h"

#include <cerrno>
#include <string>

#include <gtest/gtest.h>

namespace orvane::text {
namespace {

TEST(ErrorTest, ConversionTextsQuoteTheOffendingText) {
    EXPECT_STREQ(Error::notAReal(" 1x ").what(), "' 1x ' は浮動小数点数ではありません");
    EXPECT_STREQ(Error::notAReal("").what(), "'' は浮動小数点数ではありません");
    EXPECT_STREQ(Error::notAnInteger("abc").what(), "'abc' は整数ではありません");
}

TEST(ErrorTest, ANulInTheQuotedTextIsShownAsBackslashZero) {
    using namespace std::string_literals;
    struct Case {
        std::string text;
        std::string quoted; // what stands between the quotes
    };
    const Case cases[] = {
        {"1\0x"s, "1\\0x"},
        {"\0"s, "\\0"},
        {"\0\0"s, "\\0\\0"},
        {"12\0"s, "12\\0"},
        // other control characters do not cut a C string and are kept as they are
        {"1\t2\r\n"s, "1\t2\r\n"},
        {"\x01\x1f\x7f"s, "\x01\x1f\x7f"},
        {"a\\0b"s, "a\\0b"}, // a typed backslash stays one
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.quoted);
        const Error real = Error::notAReal(c.text);
        const Error integer = Error::notAnInteger(c.text);
        // the whole message reaches the C string: nothing after a NUL is lost
        EXPECT_EQ(std::string(real.what()), "'" + c.quoted + "' は浮動小数点数ではありません");
        EXPECT_EQ(std::string(integer.what()), "'" + c.quoted + "' は整数ではありません");
    }
}

TEST(ErrorTest, ArithmeticTexts) {
    EXPECT_STREQ(Error::divisionByZero().what(), "0 による浮動小数点数除算");
    EXPECT_STREQ(Error::invalidOperation().what(), "不正な浮動小数点数演算命令");
    EXPECT_STREQ(Error::overflow().what(), "浮動小数点数のオーバーフロー");
}

TEST(ErrorTest, TextsAreUtf8) {
    // "0 " then に (U+306B) as three UTF-8 bytes, whatever the source charset was taken as
    const std::string text = Error::divisionByZero().what();
    ASSERT_EQ(text.size(), 35u);
    EXPECT_EQ(text.substr(0, 5), std::string("\x30\x20\xE3\x81\xAB"));
}

TEST(ErrorTest, FromErrno) {
    struct Case {
        int code;
        const char* text;
    };
    const Case cases[] = {
        {ENOENT, "ファイルが見つかりません"},
        {EACCES, "ファイルへのアクセスが拒否されました"},
        {EPERM, "ファイルへのアクセスが拒否されました"},
        {EISDIR, "ファイルへのアクセスが拒否されました"},
        {EROFS, "ファイルへのアクセスが拒否されました"},
        {ENOSPC, "ディスクがいっぱいです"},
        {EDQUOT, "ディスクがいっぱいです"},
        {EIO, "I/O エラー (5)"},
        {EMFILE, "I/O エラー (24)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_STREQ(Error::fromErrno(c.code).what(), c.text);
    }
}

TEST(ErrorTest, IsARuntimeError) {
    EXPECT_THROW(throw Error::overflow(), std::runtime_error);
}

} // namespace
} // namespace orvane::text
