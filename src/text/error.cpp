#include "text/error.h"

#include <cerrno>

namespace orvane::text {

namespace {

// Built by appending: GCC 12 warns falsely about "'" + std::string. The message is shown
// through what(), a C string, so a NUL in the quoted cell would cut it there: it is
// written as "\0" instead. Other control characters do not cut it and stay as they are.
std::string quoted(std::string_view text, std::string_view rest) {
    std::string message;
    message.reserve(text.size() + rest.size() + 2);
    message.push_back('\'');
    for (const char c : text) {
        if (c == '\0') {
            message.append("\\0");
        } else {
            message.push_back(c);
        }
    }
    message.push_back('\'');
    message.append(rest);
    return message;
}

} // namespace

Error Error::notAReal(std::string_view text) {
    return Error(quoted(text, " は浮動小数点数ではありません"));
}

Error Error::notAnInteger(std::string_view text) {
    return Error(quoted(text, " は整数ではありません"));
}

Error Error::divisionByZero() {
    return Error("0 による浮動小数点数除算");
}

Error Error::invalidOperation() {
    return Error("不正な浮動小数点数演算命令");
}

Error Error::overflow() {
    return Error("浮動小数点数のオーバーフロー");
}

Error Error::fromErrno(int errnoValue) {
    switch (errnoValue) {
    case ENOENT:
        return Error("ファイルが見つかりません");
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
        return Error("ファイルへのアクセスが拒否されました");
    case ENOSPC:
    case EDQUOT:
        return Error("ディスクがいっぱいです");
    default:
        return Error("I/O エラー (" + std::to_string(errnoValue) + ")");
    }
}

} // namespace orvane::text
