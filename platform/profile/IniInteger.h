#pragma once
#include <string_view>

// The INI file class's reading of an integer: leading blanks, an optional "+"
// or "-", then decimal digits, or hexadecimal digits after "$", "x", "X", "0x"
// or "0X". Anything else, or a number outside 32 bits, gives def. Hexadecimal
// takes all 32 bits, so "$FFFFFFFF" is -1.
int StrToIntDef(std::string_view text, int def);
