// Text of the tables as the outside world reads it: the names and sign texts
// are Windows-1252 bytes, the SVG and JSON documents want UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace gs {

// The Unicode character of one Windows-1252 byte. The five bytes that
// Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the
// C1 control of the same number, so no byte is lost.
char32_t carattere_windows1252(unsigned char byte);

// Appends the UTF-8 bytes of `carattere`. A value that is no Unicode scalar
// (a surrogate, or above U+10FFFF) is written as U+FFFD.
void aggiungi_utf8(std::string& uscita, char32_t carattere);

// Windows-1252 text as UTF-8, every byte converted.
std::string testo_utf8(std::string_view windows1252);

// The length (2 to 4) of the valid multi-byte UTF-8 sequence `testo` starts
// with, or 0 when it starts with none.
std::size_t sequenza_utf8_multibyte(std::string_view testo);

// Text whose encoding is not known, such as a file name on disk, as UTF-8:
// valid UTF-8 sequences pass through unchanged, any other byte is taken as
// Windows-1252.
std::string utf8_o_windows1252(std::string_view testo);

// Text fit for a message line: every control byte (0x00 .. 0x1F, 0x7F) written
// as \0, \t, \n, \r or \xHH, so that no byte cuts or bends the line. Every
// other byte stays (a Windows path keeps its backslashes).
std::string testo_visibile(std::string_view testo);

}  // namespace gs
