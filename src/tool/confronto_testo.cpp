#include "tool/confronto_testo.h"

#include "base/testo_utf8.h"

namespace gs {
namespace {

void aggiungi_unita(std::string& testo, const std::string& unita) {
  if (unita.empty()) return;
  testo += ' ';
  testo += unita;
}

// A value as the line shows it: control bytes visible, a text quoted.
std::string mostra(const std::string& valore, bool virgolette) {
  return virgolette ? tra_virgolette(valore) : testo_visibile(valore);
}

}  // namespace

Differenza componi(const VoceDifferenza& voce, std::optional<std::string> prima, std::optional<std::string> dopo) {
  Differenza d;
  d.caratteristica = voce.caratteristica;
  d.campo = voce.campo;
  d.inizio_m = voce.inizio_m;
  d.fine_m = voce.fine_m;
  d.unita = voce.unita;
  d.cambio = !prima ? Cambio::aggiunto : !dopo ? Cambio::rimosso : Cambio::cambiato;
  std::string testo = voce.dove;
  testo += ": ";
  if (d.cambio == Cambio::cambiato) {
    if (!voce.etichetta.empty()) {
      testo += voce.etichetta;
      testo += ' ';
    }
    testo += mostra(*prima, voce.virgolette);
    testo += " -> ";
    testo += mostra(*dopo, voce.virgolette);
    aggiungi_unita(testo, voce.unita);
  } else {
    const std::string valore = mostra(prima ? *prima : *dopo, voce.virgolette);
    const char* cambio = nome_cambio(d.cambio);
    if (voce.etichetta.empty()) {
      testo += cambio;
      if (!valore.empty()) {
        testo += " (";
        testo += valore;
        aggiungi_unita(testo, voce.unita);
        testo += ')';
      }
    } else {
      testo += voce.etichetta;
      testo += ' ';
      testo += cambio;
      testo += ": ";
      testo += valore;
      aggiungi_unita(testo, voce.unita);
    }
  }
  d.testo = std::move(testo);
  d.prima = std::move(prima);
  d.dopo = std::move(dopo);
  return d;
}

std::string chiave(const std::string& etichetta) {
  std::string k;
  for (const char c : etichetta) {
    const bool lettera = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    const bool maiuscola = c >= 'A' && c <= 'Z';
    if (lettera || maiuscola) {
      k += maiuscola ? static_cast<char>(c - 'A' + 'a') : c;
    } else if (!k.empty() && k.back() != '_') {
      k += '_';
    }
  }
  while (!k.empty() && k.back() == '_') k.pop_back();
  return k;
}

std::string testo_intero(std::int64_t valore) { return std::to_string(valore); }

std::string tra_virgolette(const std::string& testo) {
  std::string t("\"");
  t += testo_visibile(testo);
  t += '"';
  return t;
}

}  // namespace gs
