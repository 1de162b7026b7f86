#include "reader/righe_descrizione.h"

#include <algorithm>
#include <charconv>

namespace gs {
namespace {

bool spazio(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<Riga> righe_di(std::string_view testo) {
  std::vector<Riga> righe;
  std::size_t inizio = 0;
  std::int64_t numero = 1;
  while (inizio < testo.size()) {
    std::size_t fine = inizio;
    while (fine < testo.size() && testo[fine] != '\r' && testo[fine] != '\n') ++fine;
    righe.push_back(Riga{numero++, testo.substr(inizio, fine - inizio), {}, false});
    if (fine < testo.size() && testo[fine] == '\r') {
      ++fine;
      if (fine < testo.size() && testo[fine] == '\n') ++fine;
    } else if (fine < testo.size()) {
      ++fine;  // a line feed alone
    }
    inizio = fine;
  }
  return righe;
}

void dividi_campi(Riga& riga) {
  const std::string_view t = riga.testo;
  std::size_t i = 0;
  while (true) {
    while (i < t.size() && spazio(t[i])) ++i;
    const std::size_t inizio = i;
    if (i < t.size() && t[i] == '"') {
      const std::size_t chiusa = t.find('"', i + 1);
      if (chiusa == std::string_view::npos) {
        riga.virgolette_aperte = true;
        riga.campi.push_back(Campo{t.substr(i + 1), static_cast<std::int64_t>(i) + 1});
        return;
      }
      riga.campi.push_back(
          Campo{t.substr(i + 1, chiusa - i - 1), static_cast<std::int64_t>(i) + 1});
      i = t.find(',', chiusa);
    } else {
      const std::size_t virgola = t.find(',', i);
      const std::size_t fine = virgola == std::string_view::npos ? t.size() : virgola;
      riga.campi.push_back(Campo{t.substr(inizio, fine - inizio), static_cast<std::int64_t>(i) + 1});
      i = virgola;
    }
    if (i == std::string_view::npos) return;
    ++i;  // past the comma
  }
}

std::vector<Campo> gettoni(const std::vector<Campo>& campi, std::size_t da, std::size_t fino) {
  std::vector<Campo> risultato;
  for (std::size_t c = da; c < std::min(fino, campi.size()); ++c) {
    const std::string_view t = campi[c].testo;
    std::size_t i = 0;
    while (i < t.size()) {
      while (i < t.size() && spazio(t[i])) ++i;
      const std::size_t inizio = i;
      while (i < t.size() && !spazio(t[i])) ++i;
      if (i > inizio) {
        risultato.push_back(Campo{t.substr(inizio, i - inizio),
                                  campi[c].colonna + static_cast<std::int64_t>(inizio)});
      }
    }
    if (t.find_first_not_of(" \t") == std::string_view::npos) {
      risultato.push_back(Campo{t.substr(0, 0), campi[c].colonna});  // an empty field
    }
  }
  return risultato;
}

std::optional<std::int64_t> intero(std::string_view t) {
  std::string_view cifre = t;
  if (!cifre.empty() && cifre.front() == '+') cifre.remove_prefix(1);
  std::int64_t valore = 0;
  const auto [fine, errore] = std::from_chars(cifre.data(), cifre.data() + cifre.size(), valore);
  if (errore != std::errc{} || fine != cifre.data() + cifre.size() || cifre.empty()) {
    return std::nullopt;
  }
  return valore;
}

std::string minuscolo(std::string_view t) {
  std::string s(t);
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::string senza_spazi_in_coda(std::string_view t) {
  while (!t.empty() && spazio(t.back())) t.remove_suffix(1);
  return std::string(t);
}

std::size_t distanza(std::string_view a, std::string_view b) {
  std::vector<std::size_t> riga(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) riga[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonale = riga[0];
    riga[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t sopra = riga[j];
      riga[j] = std::min({riga[j] + 1, riga[j - 1] + 1, diagonale + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonale = sopra;
    }
  }
  return riga[b.size()];
}

std::optional<std::string> somigliante(std::string_view scritto,
                                       const std::vector<std::string>& candidati) {
  const std::string s = minuscolo(senza_spazi_in_coda(scritto));
  std::optional<std::string> migliore;
  std::size_t minima = std::max<std::size_t>(2, s.size() / 4) + 1;
  for (const auto& c : candidati) {
    const std::size_t d = distanza(s, c);
    if (d < minima) {
      minima = d;
      migliore = c;
    }
  }
  return migliore;
}

}  // namespace gs
