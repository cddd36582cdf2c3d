#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace orvane::text {

// The one error type of the system: a handler that meets it stops where it is,
// and the application shows exactly what() in its standard error box.
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}

    /// "'<text>' は浮動小数点数ではありません": the text is not a real number. A NUL in
    /// the text is quoted as "\0", so that the shown message is not cut there.
    static Error notAReal(std::string_view text);
    /// "'<text>' は整数ではありません": the text is not a whole number; NUL as "\0".
    static Error notAnInteger(std::string_view text);
    /// "0 による浮動小数点数除算".
    static Error divisionByZero();
    /// "不正な浮動小数点数演算命令" (0/0, a value that fits no integer, ...).
    static Error invalidOperation();
    /// "浮動小数点数のオーバーフロー".
    static Error overflow();
    /// The input/output error for a C errno value, with the texts users know from
    /// file dialogs; "I/O エラー (<code>)" where there is no text for the code.
    static Error fromErrno(int errnoValue);
};

} // namespace orvane::text
