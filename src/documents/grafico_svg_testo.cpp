#include "documents/grafico_svg_testo.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "base/testo_utf8.h"

namespace gs::grafico {
namespace {

// Longest label drawn for a name or a sign text, in bytes.
constexpr std::size_t kEtichettaMassima = 32;

// The entity that stands for a markup character; empty for any other.
std::string_view entita_xml(char32_t carattere) {
  switch (carattere) {
    case U'&':
      return "&amp;";
    case U'<':
      return "&lt;";
    case U'>':
      return "&gt;";
    case U'"':
      return "&quot;";
    case U'\'':
      return "&apos;";
    default:
      return {};
  }
}

// One character as XML text: markup characters as entities; line breaks and
// tabs as blanks; the other controls, which XML does not allow even as
// references, as U+FFFD.
void aggiungi_carattere_xml(std::string& uscita, char32_t carattere) {
  if (const std::string_view entita = entita_xml(carattere); !entita.empty()) {
    uscita += entita;
    return;
  }
  if (carattere == U'\t' || carattere == U'\n' || carattere == U'\r') carattere = U' ';
  if (carattere < 0x20 || carattere == 0xFFFE || carattere == 0xFFFF) carattere = 0xFFFD;
  aggiungi_utf8(uscita, carattere);
}

// Runs of blanks become one, and none is left at either end.
std::string spazi_compattati(std::string_view testo) {
  std::string uscita;
  for (const char c : testo) {
    if (c == ' ' && (uscita.empty() || uscita.back() == ' ')) continue;
    uscita += c;
  }
  if (!uscita.empty() && uscita.back() == ' ') uscita.pop_back();
  return uscita;
}

// Rough advance of one Windows-1252 character, in em, on the wide side so
// that labels judged apart do not touch.
double larghezza_carattere(char c) {
  const auto byte = static_cast<unsigned char>(c);
  if (std::string_view(" .,:;'!|()[]Iijlft").find(c) != std::string_view::npos) return 0.4;
  if (c == 'M' || c == 'W' || c == 'm' || c == 'w') return 0.95;
  if ((c >= 'A' && c <= 'Z') || byte >= 0xC0) return 0.8;
  return 0.64;
}

// The number of bytes of the UTF-8 sequence that starts `testo` and its
// character; 0 bytes when no well-formed sequence starts there.
std::pair<std::size_t, char32_t> sequenza_utf8(std::string_view testo) {
  const auto primo = static_cast<unsigned char>(testo.front());
  if (primo < 0x80) return {1, primo};
  std::size_t lunghezza = 0;
  char32_t minimo = 0;
  char32_t carattere = 0;
  if ((primo & 0xE0) == 0xC0) {
    lunghezza = 2, minimo = 0x80, carattere = primo & 0x1F;
  } else if ((primo & 0xF0) == 0xE0) {
    lunghezza = 3, minimo = 0x800, carattere = primo & 0x0F;
  } else if ((primo & 0xF8) == 0xF0) {
    lunghezza = 4, minimo = 0x10000, carattere = primo & 0x07;
  } else {
    return {0, 0};
  }
  if (testo.size() < lunghezza) return {0, 0};
  for (std::size_t k = 1; k < lunghezza; ++k) {
    const auto seguito = static_cast<unsigned char>(testo[k]);
    if ((seguito & 0xC0) != 0x80) return {0, 0};
    carattere = (carattere << 6) | (seguito & 0x3F);
  }
  const bool surrogato = carattere >= 0xD800 && carattere <= 0xDFFF;
  if (carattere < minimo || carattere > 0x10FFFF || surrogato) return {0, 0};
  return {lunghezza, carattere};
}

}  // namespace

std::string numero(double valore) {
  if (!std::isfinite(valore)) return "0";
  char buffer[64];
  const auto [fine, errore] =
      std::to_chars(buffer, buffer + sizeof buffer, valore, std::chars_format::fixed, 1);
  if (errore != std::errc{}) return "0";
  std::string testo(buffer, fine);
  if (testo.size() > 2 && testo.compare(testo.size() - 2, 2, ".0") == 0)
    testo.resize(testo.size() - 2);
  if (testo == "-0") testo = "0";
  return testo;
}

// Blanks compacted, cut to kEtichettaMassima bytes with an ellipsis.
TestoMisurato testo_tabella(std::string_view windows1252) {
  const std::string compatto = spazi_compattati(windows1252);
  const bool tagliato = compatto.size() > kEtichettaMassima;
  const std::string_view parte =
      std::string_view(compatto).substr(0, tagliato ? kEtichettaMassima - 1 : compatto.size());
  TestoMisurato t;
  for (const char c : parte) {
    aggiungi_carattere_xml(t.xml, carattere_windows1252(static_cast<unsigned char>(c)));
    t.em += larghezza_carattere(c);
  }
  if (tagliato) {
    aggiungi_carattere_xml(t.xml, U'\u2026');
    t.em += 1;
  }
  return t;
}

std::string testo_utf8_xml(std::string_view utf8) {
  std::string uscita;
  while (!utf8.empty()) {
    const auto [lunghezza, carattere] = sequenza_utf8(utf8);
    aggiungi_carattere_xml(uscita, lunghezza == 0 ? char32_t{0xFFFD} : carattere);
    utf8.remove_prefix(std::max<std::size_t>(lunghezza, 1));
  }
  return uscita;
}

}  // namespace gs::grafico
