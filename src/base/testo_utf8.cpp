#include "base/testo_utf8.h"

#include <array>

namespace gs {
namespace {

constexpr char32_t kSostituto = 0xFFFD;

// Bytes 0x80 .. 0x9F; every other byte is the character of the same number.
constexpr std::array<char32_t, 32> kBlocco80 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

bool scalare_unicode(char32_t carattere) {
  return carattere <= 0x10FFFF && (carattere < 0xD800 || carattere > 0xDFFF);
}

char byte_utf8(char32_t valore) { return static_cast<char>(static_cast<unsigned char>(valore)); }

}  // namespace

char32_t carattere_windows1252(unsigned char byte) {
  if (byte >= 0x80 && byte <= 0x9F) return kBlocco80[byte - 0x80];
  return byte;
}

void aggiungi_utf8(std::string& uscita, char32_t carattere) {
  if (!scalare_unicode(carattere)) carattere = kSostituto;
  if (carattere < 0x80) {
    uscita += byte_utf8(carattere);
  } else if (carattere < 0x800) {
    uscita += byte_utf8(0xC0 | (carattere >> 6));
    uscita += byte_utf8(0x80 | (carattere & 0x3F));
  } else if (carattere < 0x10000) {
    uscita += byte_utf8(0xE0 | (carattere >> 12));
    uscita += byte_utf8(0x80 | ((carattere >> 6) & 0x3F));
    uscita += byte_utf8(0x80 | (carattere & 0x3F));
  } else {
    uscita += byte_utf8(0xF0 | (carattere >> 18));
    uscita += byte_utf8(0x80 | ((carattere >> 12) & 0x3F));
    uscita += byte_utf8(0x80 | ((carattere >> 6) & 0x3F));
    uscita += byte_utf8(0x80 | (carattere & 0x3F));
  }
}

std::string testo_utf8(std::string_view windows1252) {
  std::string uscita;
  uscita.reserve(windows1252.size());
  for (const char c : windows1252) {
    aggiungi_utf8(uscita, carattere_windows1252(static_cast<unsigned char>(c)));
  }
  return uscita;
}

namespace {

// The length of the valid UTF-8 sequence at the start of `testo`, or 0.
std::size_t sequenza_utf8(std::string_view testo) {
  const auto byte = [&testo](std::size_t i) { return static_cast<unsigned char>(testo[i]); };
  const unsigned char primo = byte(0);
  std::size_t lunghezza = 0;
  char32_t minimo = 0;
  char32_t valore = 0;
  if (primo < 0x80) return 1;
  if (primo >= 0xC2 && primo <= 0xDF) {
    lunghezza = 2, minimo = 0x80, valore = primo & 0x1F;
  } else if (primo >= 0xE0 && primo <= 0xEF) {
    lunghezza = 3, minimo = 0x800, valore = primo & 0x0F;
  } else if (primo >= 0xF0 && primo <= 0xF4) {
    lunghezza = 4, minimo = 0x10000, valore = primo & 0x07;
  } else {
    return 0;
  }
  if (testo.size() < lunghezza) return 0;
  for (std::size_t i = 1; i < lunghezza; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    valore = (valore << 6) | (byte(i) & 0x3F);
  }
  const bool surrogato = valore >= 0xD800 && valore <= 0xDFFF;
  return valore < minimo || valore > 0x10FFFF || surrogato ? 0 : lunghezza;
}

}  // namespace

std::size_t sequenza_utf8_multibyte(std::string_view testo) {
  if (testo.empty() || static_cast<unsigned char>(testo.front()) < 0x80) return 0;
  return sequenza_utf8(testo);
}

std::string utf8_o_windows1252(std::string_view testo) {
  std::string uscita;
  uscita.reserve(testo.size());
  while (!testo.empty()) {
    const std::size_t valida = sequenza_utf8(testo);
    if (valida > 0) {
      uscita.append(testo.substr(0, valida));
      testo.remove_prefix(valida);
    } else {
      aggiungi_utf8(uscita, carattere_windows1252(static_cast<unsigned char>(testo.front())));
      testo.remove_prefix(1);
    }
  }
  return uscita;
}

std::string testo_visibile(std::string_view testo) {
  static constexpr char kCifre[] = "0123456789abcdef";
  std::string uscita;
  uscita.reserve(testo.size());
  for (const char carattere : testo) {
    const auto c = static_cast<unsigned char>(carattere);
    switch (c) {
      case '\0': uscita += "\\0"; break;
      case '\t': uscita += "\\t"; break;
      case '\n': uscita += "\\n"; break;
      case '\r': uscita += "\\r"; break;
      default:
        if (c < 0x20 || c == 0x7F) {
          uscita += "\\x";
          uscita += kCifre[c >> 4];
          uscita += kCifre[c & 0xF];
        } else {
          uscita += carattere;
        }
    }
  }
  return uscita;
}

}  // namespace gs
