#pragma once
// The one place where the program's 8-bit text meets QString.
//
// With a UTF-8 code page the conversion is done here directly and is lossless
// for every byte string: a byte that does not belong to a valid UTF-8 sequence
// becomes the lone surrogate U+DC80 + byte (0x80..0xFF) and turns back into
// the same byte. The characters a text document would take as structure
// (U+2028, U+2029 and the frame markers U+FDD0, U+FDD1) are escaped the same
// way, byte by byte, so they stay ordinary text. NUL stays U+0000.
//
// Other code pages go through iconv (sqlutils/CodePage.h), where a byte
// sequence the code page does not define becomes '?'.

#include <QString>
#include <string>
#include <string_view>

QString ToQString(std::string_view text);
std::string FromQString(const QString& text);
