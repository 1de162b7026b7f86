// Text as the plot writes it: numbers in a fixed, locale-free form, and the
// names and titles made into XML text that any parser accepts.
#pragma once

#include <string>
#include <string_view>

namespace gs::grafico {

// A coordinate with one decimal, "12.5", "-3", never in a locale's form.
// Values that are not finite, or too long to write, give "0".
std::string numero(double valore);

// A label made from a name or a sign text: XML text, and its width in em.
struct TestoMisurato {
  std::string xml;
  double em = 0;
};

// Windows-1252 text from the tables as a label: blanks compacted, cut to a
// short length with an ellipsis, widths judged on the wide side.
TestoMisurato testo_tabella(std::string_view windows1252);

// UTF-8 text from outside the tables as XML text; a byte that starts no
// well-formed sequence shows as U+FFFD.
std::string testo_utf8_xml(std::string_view utf8);

}  // namespace gs::grafico
