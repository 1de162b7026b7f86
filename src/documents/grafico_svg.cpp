#include "documents/grafico_svg.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "documents/testo_utf8.h"

namespace gs {
namespace {

// ---------------------------------------------------------------------------
// Page geometry, in viewBox units (about one screen pixel each).

constexpr double kLarghezzaPagina = 1600;
constexpr double kSinistra = 150;  // the plot area; lane captions stand before it
constexpr double kDestra = 1570;
constexpr double kLarghezzaGrafico = kDestra - kSinistra;
constexpr double kPiantaAlto = 92;
constexpr double kPiantaBasso = 520;

struct Fascia {
  double alto = 0;
  double basso = 0;
  double mezzo() const { return (alto + basso) / 2; }
};

// The lanes of the track view and the two diagrams, top to bottom.
struct Impaginazione {
  Fascia stazioni, segnali, indicatori, rallentamenti, abbattimenti, cartelli, montagna;
  Fascia velocita, pendenza;
  double asse = 0;  // the kilometre axis line
  double altezza = 0;
};

constexpr Impaginazione impaginazione() {
  Impaginazione p;
  double y = kPiantaBasso + 22;
  const auto fascia = [&y](double altezza, double spazio_dopo) {
    const Fascia f{y, y + altezza};
    y += altezza + spazio_dopo;
    return f;
  };
  p.stazioni = fascia(56, 2);
  p.segnali = fascia(20, 2);
  p.indicatori = fascia(34, 2);
  p.rallentamenti = fascia(32, 2);
  p.abbattimenti = fascia(20, 2);
  p.cartelli = fascia(46, 2);
  p.montagna = fascia(18, 18);
  p.velocita = fascia(130, 18);
  p.pendenza = fascia(110, 0);
  p.asse = p.pendenza.basso + 6;
  p.altezza = p.asse + 36;
  return p;
}

constexpr Impaginazione kPagina = impaginazione();

// Longest label drawn for a name or a sign text, in bytes.
constexpr std::size_t kEtichettaMassima = 32;
// Plan coordinates beyond this many metres from the origin belong to no real
// line (the longest one is 1,007,000 m): such points are skipped.
constexpr double kCoordinataMassima = 1e9;
// The plan is drawn from one point every so many metres, at least.
constexpr std::size_t kPassoPianta = 50;
constexpr std::size_t kPuntiPiantaMassimi = 8000;

// ---------------------------------------------------------------------------
// Writing SVG text.

// A coordinate with one decimal, "12.5", "-3", never in a locale's form.
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

// A label made from a name or a sign text: XML text, and its width in em.
struct TestoMisurato {
  std::string xml;
  double em = 0;
};

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

// UTF-8 text from outside the tables as XML text; a byte that starts no
// well-formed sequence shows as U+FFFD.
std::string testo_utf8_xml(std::string_view utf8) {
  std::string uscita;
  while (!utf8.empty()) {
    const auto [lunghezza, carattere] = sequenza_utf8(utf8);
    aggiungi_carattere_xml(uscita, lunghezza == 0 ? char32_t{0xFFFD} : carattere);
    utf8.remove_prefix(std::max<std::size_t>(lunghezza, 1));
  }
  return uscita;
}

enum class Ancora { kInizio, kMezzo, kFine };

// A <text> element; `contenuto` is XML text already.
void testo(std::string& svg, double x, double y, std::string_view classe,
           std::string_view contenuto, Ancora ancora = Ancora::kInizio) {
  svg += "<text x=\"" + numero(x) + "\" y=\"" + numero(y) + "\" class=\"";
  svg += classe;
  svg += '"';
  if (ancora == Ancora::kMezzo) svg += " text-anchor=\"middle\"";
  if (ancora == Ancora::kFine) svg += " text-anchor=\"end\"";
  svg += '>';
  svg += contenuto;
  svg += "</text>\n";
}

void rettangolo(std::string& svg, double x, double y, double larghezza, double altezza,
                std::string_view classe) {
  svg += "<rect x=\"" + numero(x) + "\" y=\"" + numero(y) + "\" width=\"" +
         numero(std::max(larghezza, 0.0)) + "\" height=\"" + numero(std::max(altezza, 0.0)) +
         "\" class=\"";
  svg += classe;
  svg += "\"/>\n";
}

void linea(std::string& svg, double x1, double y1, double x2, double y2, std::string_view classe) {
  svg += "<line x1=\"" + numero(x1) + "\" y1=\"" + numero(y1) + "\" x2=\"" + numero(x2) +
         "\" y2=\"" + numero(y2) + "\" class=\"";
  svg += classe;
  svg += "\"/>\n";
}

// A <path> whose data is built by the caller; nothing when there is none.
void percorso(std::string& svg, const std::string& dati, std::string_view classe) {
  if (dati.empty()) return;
  svg += "<path class=\"";
  svg += classe;
  svg += "\" d=\"" + dati + "\"/>\n";
}

using Punto = std::pair<double, double>;

std::string lista_punti(const std::vector<Punto>& punti) {
  std::string testo;
  for (const auto& [x, y] : punti) {
    if (!testo.empty()) testo += ' ';
    testo += numero(x) + "," + numero(y);
  }
  return testo;
}

// ---------------------------------------------------------------------------
// What the tables hold, in metres along the line.

struct Stazione {
  double inizio = 0;  // stop zone, inizio <= fine
  double fine = 0;
  double posizione = 0;
  std::string nome;  // Windows-1252
};

struct Marca {
  double metri = 0;
  std::string testo;  // Windows-1252; may be empty
};

struct Banda {
  double da = 0;
  double a = 0;
  std::string testo;
};

struct Contenuto {
  double metri_binario = 0;  // 50 m a cell
  std::vector<Stazione> stazioni;
  std::vector<Marca> segnali, indicatori, avvisi, abbattimenti, abbattimenti_senza_valore, cartelli;
  std::vector<Banda> rallentamenti, montagne;
  std::vector<double> velocita;  // km/h, one a cell that carries line data
  std::vector<double> pendenza;  // per mille, likewise
};

double metri_cella(std::size_t k) { return 50.0 * static_cast<double>(k); }

// The last three cells carry no speed, gradient or adhesion.
std::size_t celle_con_dati(const std::vector<Cella>& celle) {
  return celle.size() > 3 ? celle.size() - 3 : 0;
}

bool indice_cartello_valido(std::int16_t indice) {
  return indice >= 1 && indice <= kRecordPrimoCartello;
}

std::vector<bool> record_di_cartelli(const std::vector<Cella>& celle) {
  std::vector<bool> di_cartello(kNumeroRecord, false);
  for (const Cella& cella : celle) {
    if (cella.tipo == kCellaCartello && indice_cartello_valido(cella.valore1)) {
      di_cartello[static_cast<std::size_t>(cella.valore1)] = true;
    }
  }
  return di_cartello;
}

// A stop zone inside the track, whichever way round the record gives it.
Stazione stazione_da_record(const Record& r, double metri_binario) {
  const auto dentro = [metri_binario](double m) { return std::clamp(m, 0.0, metri_binario); };
  Stazione s;
  s.inizio = dentro(std::min<double>(r.inizio_fermata, r.fine_fermata));
  s.fine = dentro(std::max<double>(r.inizio_fermata, r.fine_fermata));
  s.posizione = dentro(r.posizione);
  s.nome = r.nome;
  return s;
}

// Records 1 .. 79 with a name that no sign cell points to.
std::vector<Stazione> stazioni(const ScenarioCompilato& scenario, double metri_binario) {
  const std::vector<bool> di_cartello = record_di_cartelli(scenario.celle);
  std::vector<Stazione> trovate;
  for (std::size_t i = 1; i < static_cast<std::size_t>(kRecordPrimoCartello); ++i) {
    const Record& r = scenario.record[i];
    if (!r.nome.empty() && !di_cartello[i]) trovate.push_back(stazione_da_record(r, metri_binario));
  }
  return trovate;
}

std::string testo_intero(long valore) { return std::to_string(valore); }

// The left-hand board's speeds for ranks A, B, C: each code holds the speed
// times 20 plus a fifth of the right-hand one, so the hundreds give the left.
std::string velocita_indicatore(const Cella& cella) {
  std::string testo;
  for (const std::int16_t codice : {cella.valore1, cella.valore2, cella.valore3}) {
    if (codice < 100) continue;
    if (!testo.empty()) testo += '/';
    testo += testo_intero(codice / 100 * 5);
  }
  return testo;
}

std::string velocita_rallentamento(const Cella& cella) {
  return cella.valore1 > 0 ? testo_intero(cella.valore1) : std::string();
}

template <typename Testo>
std::vector<Marca> marche_di_tipo(const std::vector<Cella>& celle, std::uint8_t tipo,
                                  Testo testo_di) {
  std::vector<Marca> marche;
  for (std::size_t k = 0; k < celle.size(); ++k) {
    if (celle[k].tipo == tipo) marche.push_back({metri_cella(k), testo_di(celle[k])});
  }
  return marche;
}

std::string senza_testo(const Cella&) { return {}; }

std::vector<Marca> cartelli(const ScenarioCompilato& scenario) {
  std::vector<Marca> marche;
  for (std::size_t k = 0; k < scenario.celle.size(); ++k) {
    const Cella& cella = scenario.celle[k];
    if (cella.tipo != kCellaCartello || !indice_cartello_valido(cella.valore1)) continue;
    marche.push_back(
        {metri_cella(k), scenario.record[static_cast<std::size_t>(cella.valore1)].nome});
  }
  return marche;
}

// From each start cell to the next end cell; a start with no end runs on to
// the end of the track, an end with no start is left out.
std::vector<Banda> rallentamenti(const std::vector<Cella>& celle, double metri_binario) {
  std::vector<Banda> bande;
  std::optional<Banda> aperta;
  for (std::size_t k = 0; k < celle.size(); ++k) {
    if (celle[k].tipo == kCellaInizioRallentamento && !aperta) {
      aperta = Banda{metri_cella(k), metri_binario, velocita_rallentamento(celle[k])};
    } else if (celle[k].tipo == kCellaFineRallentamento && aperta) {
      aperta->a = metri_cella(k + 1);
      bande.push_back(*aperta);
      aperta.reset();
    }
  }
  if (aperta) bande.push_back(*aperta);
  return bande;
}

// Runs of cells with a mountain kind.
std::vector<Banda> montagne(const std::vector<Cella>& celle) {
  std::vector<Banda> bande;
  for (std::size_t k = 0; k < celle.size(); ++k) {
    if (celle[k].montagna == 0) continue;
    if (!bande.empty() && bande.back().a == metri_cella(k)) {
      bande.back().a = metri_cella(k + 1);
    } else {
      bande.push_back({metri_cella(k), metri_cella(k + 1), {}});
    }
  }
  return bande;
}

Contenuto contenuto(const ScenarioCompilato& scenario) {
  const auto& celle = scenario.celle;
  Contenuto c;
  c.metri_binario = metri_cella(celle.size());
  c.stazioni = stazioni(scenario, c.metri_binario);
  c.segnali = marche_di_tipo(celle, kCellaSegnale, senza_testo);
  c.indicatori = marche_di_tipo(celle, kCellaIndicatoreVelocita, velocita_indicatore);
  c.avvisi = marche_di_tipo(celle, kCellaAvvisoRallentamento, velocita_rallentamento);
  c.abbattimenti = marche_di_tipo(celle, kCellaAbbattimento, senza_testo);
  c.abbattimenti_senza_valore = marche_di_tipo(celle, kCellaAbbattimentoSenzaValore, senza_testo);
  c.cartelli = cartelli(scenario);
  c.rallentamenti = rallentamenti(celle, c.metri_binario);
  c.montagne = montagne(celle);
  for (std::size_t k = 0; k < celle_con_dati(celle); ++k) {
    c.velocita.push_back(5.0 * celle[k].velocita);
    c.pendenza.push_back(static_cast<double>(celle[k].pendenza) - 100.0);
  }
  return c;
}

// ---------------------------------------------------------------------------
// Scales.

// The smallest of 1, 2, 5 times a power of ten that is at least `grezzo`.
double passo_tondo(double grezzo) {
  if (!std::isfinite(grezzo) || grezzo <= 0) return 1;
  const double base = std::pow(10.0, std::floor(std::log10(grezzo)));
  for (const double fattore : {1.0, 2.0, 5.0}) {
    if (fattore * base >= grezzo * (1 - 1e-9)) return fattore * base;
  }
  return 10 * base;
}

// Decimals that a multiple of `passo` needs.
int decimali(double passo) {
  return std::max(0, -static_cast<int>(std::floor(std::log10(passo) + 1e-9)));
}

std::string con_decimali(double valore, int cifre) {
  char buffer[64];
  const auto [fine, errore] =
      std::to_chars(buffer, buffer + sizeof buffer, valore, std::chars_format::fixed, cifre);
  return errore == std::errc{} ? std::string(buffer, fine) : std::string("?");
}

// Metres along the line to page x, the whole track across the plot area.
struct AsseKm {
  double metri = 50;
  double x(double m) const { return kSinistra + m * (kLarghezzaGrafico / metri); }
};

AsseKm asse_km(const Contenuto& c) { return AsseKm{std::max(c.metri_binario, 50.0)}; }

// A value range [0 or -massimo, massimo] for a diagram, with its tick step.
struct Scala {
  double minimo = 0;
  double massimo = 1;
  double passo = 1;
  double y(const Fascia& f, double v) const {
    return f.basso - (v - minimo) * ((f.basso - f.alto) / (massimo - minimo));
  }
};

Scala scala_velocita(const std::vector<double>& velocita) {
  const double piu_alta =
      velocita.empty() ? 0 : *std::max_element(velocita.begin(), velocita.end());
  const double passo = passo_tondo(std::max(piu_alta, 40.0) / 4);
  return Scala{0, passo * std::max(1.0, std::ceil(piu_alta / passo)), passo};
}

Scala scala_pendenza(const std::vector<double>& pendenza) {
  double piu_ripida = 0;
  for (const double p : pendenza) piu_ripida = std::max(piu_ripida, std::abs(p));
  const double massimo = passo_tondo(std::max(piu_ripida, 5.0));
  return Scala{-massimo, massimo, massimo};
}

// ---------------------------------------------------------------------------
// Thinning: marks closer than a few units share one, labels that find no
// free row are left out.

std::vector<double> colonne_distinte(const std::vector<Marca>& marche, const AsseKm& asse,
                                     double distanza) {
  std::vector<double> colonne;
  for (const Marca& m : marche) {
    const double x = asse.x(m.metri);
    if (colonne.empty() || x - colonne.back() >= distanza) colonne.push_back(x);
  }
  return colonne;
}

// Bands in page x, those that touch merged into one.
std::vector<Punto> bande_unite(const std::vector<Banda>& bande, const AsseKm& asse) {
  std::vector<Punto> unite;
  for (const Banda& b : bande) {
    const double da = asse.x(b.da);
    const double a = std::max(asse.x(b.a), da + 2.5);
    if (!unite.empty() && da <= unite.back().second + 0.5) {
      unite.back().second = std::max(unite.back().second, a);
    } else {
      unite.emplace_back(da, a);
    }
  }
  return unite;
}

struct Etichetta {
  double x = 0;  // where the label points
  TestoMisurato testo;
};

struct EtichettaPosata {
  double x = 0;  // the text's left end
  double punta = 0;
  int riga = 0;
  std::string testo;
};

// Each label in the first of `righe` rows where it clears the one before,
// starting at its point, or ending there near the right edge.
std::vector<EtichettaPosata> posa_etichette(const std::vector<Etichetta>& etichette, int righe,
                                            double corpo) {
  std::vector<double> fine_riga(static_cast<std::size_t>(righe), -1e9);
  std::vector<EtichettaPosata> posate;
  for (const Etichetta& e : etichette) {
    const double larghezza = e.testo.em * corpo;
    const double sinistra =
        std::max(kSinistra - 40, std::min(e.x - 2, kLarghezzaPagina - 4 - larghezza));
    for (int r = 0; r < righe; ++r) {
      if (sinistra < fine_riga[static_cast<std::size_t>(r)] + 6) continue;
      fine_riga[static_cast<std::size_t>(r)] = sinistra + larghezza;
      posate.push_back({sinistra, e.x, r, e.testo.xml});
      break;
    }
  }
  return posate;
}

std::vector<Etichetta> etichette_di(const std::vector<Marca>& marche, const AsseKm& asse) {
  std::vector<Etichetta> etichette;
  for (const Marca& m : marche) {
    TestoMisurato t = testo_tabella(m.testo);
    if (!t.xml.empty()) etichette.push_back({asse.x(m.metri), std::move(t)});
  }
  return etichette;
}

// Labels of a lane, row 0 on top, with a thin leader down to `piede`.
void disegna_etichette(std::string& svg, const std::vector<EtichettaPosata>& posate,
                       double prima_riga, double interlinea, double piede,
                       std::string_view classe) {
  std::string guide;
  for (const auto& e : posate) {
    const double y = prima_riga + interlinea * e.riga;
    guide += "M" + numero(e.punta) + " " + numero(y + 2) + "V" + numero(piede);
  }
  percorso(svg, guide, "guida");
  for (const auto& e : posate) testo(svg, e.x, prima_riga + interlinea * e.riga, classe, e.testo);
}

// ---------------------------------------------------------------------------
// The page frame: style, title, legend.

constexpr std::string_view kStile =
    "text{font-family:'DejaVu Sans',Verdana,Arial,sans-serif;fill:#222}"
    ".titolo{font-size:20px;font-weight:bold}.sotto{font-size:12px;fill:#555}"
    ".corsia{font-size:12px;font-weight:bold;fill:#444}.nome{font-size:11px}"
    ".piccolo{font-size:10px;fill:#333}.nota{font-size:14px;fill:#888;font-style:italic}"
    ".pannello{fill:#fafafa;stroke:#ccc}.fondo{fill:#f4f4f4}.griglia{stroke:#e2e2e2}"
    ".asse{stroke:#555}.guida{stroke:#bbb;stroke-width:.6;fill:none}"
    ".traccia{fill:none;stroke:#333;stroke-width:2;stroke-linejoin:round}"
    ".fermata{fill:#f2c94c;stroke:#a07d10;stroke-width:.8}"
    ".asta{stroke:#b03a2e;stroke-width:1.2;fill:none}"
    ".luce{stroke:#b03a2e;stroke-width:4.5;stroke-linecap:round;fill:none}"
    ".indicatore{fill:#2c7fb8}.rallentamento{fill:#f39c12;opacity:.75}.avviso{fill:#d35400}"
    ".abbattimento{fill:#8e44ad}.abbattimento0{fill:#fff;stroke:#8e44ad;stroke-width:1.2}"
    ".cartello{fill:#16a085}.montagna{fill:#a0826d}"
    ".velocita{fill:none;stroke:#1f4e9c;stroke-width:1.6}"
    ".salita{fill:#e07b39}.discesa{fill:#3a9d5d}.zero{stroke:#777;stroke-width:.8}"
    ".fermate{fill:#f2c94c;opacity:.22}.pagina{fill:#fff}"
    ".vuoto{font-size:10px;fill:#999;font-style:italic}";

void apri_documento(std::string& svg, std::string_view titolo) {
  svg += "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 " + numero(kLarghezzaPagina) +
         " " + numero(kPagina.altezza) + "\">\n";
  svg += "<title>" + testo_utf8_xml(titolo) + "</title>\n";
  svg += "<style>";
  svg += kStile;
  svg += "</style>\n";
  rettangolo(svg, 0, 0, kLarghezzaPagina, kPagina.altezza, "pagina");
}

void disegna_titolo(std::string& svg, std::string_view titolo, const Contenuto& c) {
  testo(svg, 20, 30, "titolo", testo_utf8_xml(titolo));
  const std::string sommario =
      "track " + con_decimali(c.metri_binario / 1000, 2) + " km &#183; " +
      std::to_string(c.stazioni.size()) + " stations &#183; " + std::to_string(c.segnali.size()) +
      " signals &#183; " + std::to_string(c.indicatori.size()) + " speed boards &#183; " +
      std::to_string(c.rallentamenti.size()) + " slowdowns &#183; " +
      std::to_string(c.abbattimenti.size() + c.abbattimenti_senza_valore.size()) +
      " abbattimento markers &#183; " + std::to_string(c.cartelli.size()) + " signs";
  testo(svg, 20, 50, "sotto", sommario);
}

std::string campione_rettangolo(double x, double y, std::string_view classe) {
  return "<rect x=\"" + numero(x) + "\" y=\"" + numero(y - 4) +
         "\" width=\"12\" height=\"8\" class=\"" + std::string(classe) + "\"/>";
}

std::string campione_percorso(const std::string& dati, std::string_view classe) {
  return "<path class=\"" + std::string(classe) + "\" d=\"" + dati + "\"/>";
}

std::string segno_segnale(double x, double basso, double alto) {
  return "M" + numero(x) + " " + numero(basso) + "V" + numero(alto);
}

std::string luce_segnale(double x, double y) { return "M" + numero(x) + " " + numero(y) + "h0"; }

std::string rombo(double x, double y) {
  return "M" + numero(x) + " " + numero(y - 4) + "l4 4-4 4-4-4z";
}

std::string triangolo(double x, double basso) {
  return "M" + numero(x) + " " + numero(basso - 9) + "l4.5 9h-9z";
}

std::string quadretti(const std::vector<double>& colonne, double basso) {
  std::string dati;
  for (const double x : colonne) dati += "M" + numero(x - 2) + " " + numero(basso - 8) + "h4v8h-4z";
  return dati;
}

struct VoceLegenda {
  std::string (*campione)(double x, double y);  // the swatch, from x, centred on y
  std::string_view parole;
};

constexpr VoceLegenda kLegenda[] = {
    {[](double x, double y) { return campione_rettangolo(x, y, "fermata"); }, "station stop zone"},
    {[](double x, double y) {
       return campione_percorso(segno_segnale(x + 6, y + 5, y - 3), "asta") +
              campione_percorso(luce_segnale(x + 6, y - 3), "luce");
     },
     "signal"},
    {[](double x, double y) { return campione_percorso(quadretti({x + 6}, y + 4), "indicatore"); },
     "speed board (left A/B/C km/h)"},
    {[](double x, double y) { return campione_rettangolo(x, y, "rallentamento"); },
     "slowdown (km/h)"},
    {[](double x, double y) { return campione_percorso(triangolo(x + 6, y + 5), "avviso"); },
     "slowdown warning board"},
    {[](double x, double y) { return campione_percorso(rombo(x + 6, y), "abbattimento"); },
     "abbattimento marker"},
    {[](double x, double y) { return campione_percorso(rombo(x + 6, y), "abbattimento0"); },
     "marker without value"},
    {[](double x, double y) { return campione_percorso(quadretti({x + 6}, y + 4), "cartello"); },
     "sign"},
    {[](double x, double y) { return campione_rettangolo(x, y, "montagna"); }, "mountain stretch"},
    {[](double x, double y) {
       return campione_percorso("M" + numero(x) + " " + numero(y) + "h12", "velocita");
     },
     "speed limit"},
    {[](double x, double y) { return campione_rettangolo(x, y, "salita"); }, "uphill"},
    {[](double x, double y) { return campione_rettangolo(x, y, "discesa"); }, "downhill"},
};

// One row of swatches with their words, beneath the title.
void disegna_legenda(std::string& svg) {
  const double y = 72;
  double x = 20;
  for (const VoceLegenda& voce : kLegenda) {
    svg += voce.campione(x, y);
    testo(svg, x + 16, y + 4, "piccolo", voce.parole);
    x += 30 + static_cast<double>(voce.parole.size()) * 5.6;
  }
}

// ---------------------------------------------------------------------------
// The plan view.

struct PuntoPianta {
  double x = 0;
  double y = 0;
};

bool punto_utile(double x, double y) {
  return std::isfinite(x) && std::isfinite(y) && std::abs(x) <= kCoordinataMassima &&
         std::abs(y) <= kCoordinataMassima;
}

std::size_t punti_assegnati(const ProfiloLinea& profilo) {
  const std::size_t colonne = std::min(profilo.x.size(), profilo.y.size());
  return profilo.assegnati <= 0 ? 0
                                : std::min(static_cast<std::size_t>(profilo.assegnati), colonne);
}

// One usable point every so many metres, and the last one.
std::vector<PuntoPianta> campioni_pianta(const ProfiloLinea& profilo) {
  const std::size_t assegnati = punti_assegnati(profilo);
  const std::size_t passo = std::max<std::size_t>(
      kPassoPianta, (assegnati + kPuntiPiantaMassimi - 1) / kPuntiPiantaMassimi);
  std::vector<PuntoPianta> campioni;
  const auto prendi = [&](std::size_t m) {
    if (punto_utile(profilo.x[m], profilo.y[m])) campioni.push_back({profilo.x[m], profilo.y[m]});
  };
  for (std::size_t m = 0; m < assegnati; m += passo) prendi(m);
  if (assegnati > 1 && (assegnati - 1) % passo != 0) prendi(assegnati - 1);
  return campioni;
}

// The plan point of a station: the profile point at its position, clamped to
// the assigned points; nothing when that point is not usable.
std::optional<PuntoPianta> punto_stazione(const ProfiloLinea& profilo, double posizione) {
  const std::size_t assegnati = punti_assegnati(profilo);
  if (assegnati == 0) return std::nullopt;
  const auto m =
      static_cast<std::size_t>(std::clamp(posizione, 0.0, static_cast<double>(assegnati - 1)));
  if (!punto_utile(profilo.x[m], profilo.y[m])) return std::nullopt;
  return PuntoPianta{profilo.x[m], profilo.y[m]};
}

// Plan metres to page units: one scale for both axes, north up, centred.
struct Adattamento {
  double minimo_x = 0, minimo_y = 0, scala = 1, origine_x = 0, origine_y = 0;
  Punto pagina(const PuntoPianta& p) const {
    return {origine_x + (p.x - minimo_x) * scala, origine_y - (p.y - minimo_y) * scala};
  }
};

constexpr double kMargineTraccia = 36;  // room around the line for names

Adattamento adatta(const std::vector<PuntoPianta>& punti) {
  double min_x = punti.front().x, max_x = min_x, min_y = punti.front().y, max_y = min_y;
  for (const auto& p : punti) {
    min_x = std::min(min_x, p.x), max_x = std::max(max_x, p.x);
    min_y = std::min(min_y, p.y), max_y = std::max(max_y, p.y);
  }
  const double larghezza = kLarghezzaGrafico - 2 * kMargineTraccia - 200;  // names left and right
  const double altezza = kPiantaBasso - kPiantaAlto - 2 * kMargineTraccia;
  const double dx = std::max(max_x - min_x, 1.0), dy = std::max(max_y - min_y, 1.0);
  Adattamento a;
  a.minimo_x = min_x;
  a.minimo_y = min_y;
  a.scala = std::min(larghezza / dx, altezza / dy);
  a.origine_x = (kSinistra + kDestra) / 2 - (max_x - min_x) * a.scala / 2;
  a.origine_y = (kPiantaAlto + kPiantaBasso) / 2 + (max_y - min_y) * a.scala / 2;
  return a;
}

std::string traccia_pianta(const std::vector<PuntoPianta>& campioni, const Adattamento& a) {
  std::vector<Punto> punti;
  for (const auto& c : campioni) {
    const Punto p = a.pagina(c);
    if (punti.empty() ||
        std::abs(p.first - punti.back().first) + std::abs(p.second - punti.back().second) >= 0.7) {
      punti.push_back(p);
    }
  }
  if (punti.size() == 1) punti.push_back(punti.front());
  return "<polyline class=\"traccia\" points=\"" + lista_punti(punti) + "\"/>\n";
}

struct Riquadro {
  double sinistra, alto, destra, basso;
  bool tocca(const Riquadro& r) const {
    return sinistra < r.destra && r.sinistra < destra && alto < r.basso && r.alto < basso;
  }
};

struct PostoNome {
  Riquadro riquadro;
  bool a_destra;
};

// Room for a name beside its dot, to the right or else to the left, inside
// the panel and clear of the names already placed.
std::optional<PostoNome> posto_nome(const Punto& punto, double larghezza,
                                    const std::vector<Riquadro>& occupati) {
  const auto [x, y] = punto;
  for (const bool a_destra : {true, false}) {
    const double sinistra = a_destra ? x + 7 : x - 7 - larghezza;
    const Riquadro r{sinistra, y - 8, sinistra + larghezza, y + 5};
    const bool dentro = r.sinistra >= kSinistra - 140 && r.destra <= kDestra &&
                        r.alto >= kPiantaAlto + 20 && r.basso <= kPiantaBasso;
    if (dentro && std::none_of(occupati.begin(), occupati.end(),
                               [&r](const Riquadro& o) { return o.tocca(r); })) {
      return PostoNome{r, a_destra};
    }
  }
  return std::nullopt;
}

// Station dots on the plan, each named where its name touches no other.
void disegna_stazioni_pianta(std::string& svg, const std::vector<Stazione>& stazioni,
                             const ProfiloLinea& profilo, const Adattamento& a) {
  std::vector<Riquadro> occupati;
  std::string punti;
  for (const Stazione& s : stazioni) {
    const auto punto = punto_stazione(profilo, s.posizione);
    if (!punto) continue;
    const auto [x, y] = a.pagina(*punto);
    punti +=
        "<circle cx=\"" + numero(x) + "\" cy=\"" + numero(y) + "\" r=\"3.5\" class=\"fermata\"/>\n";
    const TestoMisurato nome = testo_tabella(s.nome);
    const auto posto = posto_nome({x, y}, nome.em * 11, occupati);
    if (!posto) continue;
    occupati.push_back(posto->riquadro);
    if (posto->a_destra) {
      testo(svg, x + 7, y + 4, "nome", nome.xml);
    } else {
      testo(svg, x - 7, y + 4, "nome", nome.xml, Ancora::kFine);
    }
  }
  svg += punti;
}

// A north arrow in the top right corner and a scale bar beneath the line.
void disegna_orientamento(std::string& svg, const Adattamento& a) {
  const double x = kDestra - 24;
  svg +=
      "<path d=\"M" + numero(x) + " " + numero(kPiantaAlto + 14) + "l6 16h-12z\" fill=\"#555\"/>\n";
  testo(svg, x, kPiantaAlto + 44, "corsia", "N", Ancora::kMezzo);
  const double metri = passo_tondo(90 / a.scala);
  const double lunghezza = metri * a.scala;
  const double y = kPiantaBasso - 14;
  const double sinistra = kDestra - 20 - lunghezza;
  svg += "<path class=\"asse\" fill=\"none\" d=\"M" + numero(sinistra) + " " + numero(y - 4) +
         "v4h" + numero(lunghezza) + "v-4\"/>\n";
  const std::string etichetta = metri >= 1000
                                    ? con_decimali(metri / 1000, decimali(metri / 1000)) + " km"
                                    : con_decimali(metri, decimali(metri)) + " m";
  testo(svg, sinistra + lunghezza / 2, y - 7, "piccolo", etichetta, Ancora::kMezzo);
}

void disegna_pianta(std::string& svg, const ScenarioCompilato& scenario, const Contenuto& c) {
  rettangolo(svg, kSinistra - 140, kPiantaAlto, kDestra - kSinistra + 140,
             kPiantaBasso - kPiantaAlto, "pannello");
  testo(svg, kSinistra - 130, kPiantaAlto + 18, "corsia", "Plan view (north up)");
  const double mezzo = (kPiantaAlto + kPiantaBasso) / 2;
  if (!scenario.profilo) {
    testo(svg, (kSinistra + kDestra) / 2, mezzo, "nota",
          "no line profile (compiled without curves)", Ancora::kMezzo);
    return;
  }
  const std::vector<PuntoPianta> campioni = campioni_pianta(*scenario.profilo);
  if (campioni.empty()) {
    testo(svg, (kSinistra + kDestra) / 2, mezzo, "nota", "the line profile holds no usable point",
          Ancora::kMezzo);
    return;
  }
  const Adattamento a = adatta(campioni);
  svg += traccia_pianta(campioni, a);
  disegna_stazioni_pianta(svg, c.stazioni, *scenario.profilo, a);
  disegna_orientamento(svg, a);
}

// ---------------------------------------------------------------------------
// The track view: lanes of features along the kilometre axis.

// Shaded rows behind every other lane, and the two diagram panels.
void disegna_fondi(std::string& svg) {
  for (const Fascia* f :
       {&kPagina.stazioni, &kPagina.indicatori, &kPagina.abbattimenti, &kPagina.montagna}) {
    rettangolo(svg, kSinistra, f->alto, kLarghezzaGrafico, f->basso - f->alto, "fondo");
  }
  for (const Fascia* f : {&kPagina.velocita, &kPagina.pendenza}) {
    rettangolo(svg, kSinistra, f->alto, kLarghezzaGrafico, f->basso - f->alto, "pannello");
  }
}

// The lane's name, and "none" along it when the tables hold nothing for it.
void disegna_corsia(std::string& svg, const Fascia& f, std::string_view nome, bool vuota) {
  testo(svg, kSinistra - 10, f.mezzo() + 4, "corsia", nome, Ancora::kFine);
  if (vuota) testo(svg, kSinistra + 8, f.mezzo() + 4, "vuoto", "none");
}

void disegna_stazioni(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.stazioni;
  disegna_corsia(svg, f, "Stations", c.stazioni.empty());
  const double banda_alto = f.basso - 14;
  std::vector<Etichetta> etichette;
  for (const Stazione& s : c.stazioni) {
    const double da = asse.x(s.inizio);
    rettangolo(svg, da, banda_alto, std::max(asse.x(s.fine) - da, 2.0), 12, "fermata");
    etichette.push_back({asse.x(s.posizione), testo_tabella(s.nome)});
  }
  std::stable_sort(etichette.begin(), etichette.end(),
                   [](const Etichetta& a, const Etichetta& b) { return a.x < b.x; });
  disegna_etichette(svg, posa_etichette(etichette, 3, 11), f.alto + 11, 13, banda_alto, "nome");
}

void disegna_segnali(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.segnali;
  disegna_corsia(svg, f, "Signals", c.segnali.empty());
  std::string aste, luci;
  for (const double x : colonne_distinte(c.segnali, asse, 2)) {
    aste += segno_segnale(x, f.basso - 2, f.alto + 6);
    luci += luce_segnale(x, f.alto + 6);
  }
  percorso(svg, aste, "asta");
  percorso(svg, luci, "luce");
}

void disegna_indicatori(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.indicatori;
  disegna_corsia(svg, f, "Speed boards", c.indicatori.empty());
  percorso(svg, quadretti(colonne_distinte(c.indicatori, asse, 2), f.basso - 2), "indicatore");
  disegna_etichette(svg, posa_etichette(etichette_di(c.indicatori, asse), 2, 10), f.alto + 10, 11,
                    f.basso - 10, "piccolo");
}

void disegna_rallentamenti(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.rallentamenti;
  disegna_corsia(svg, f, "Slowdowns", c.rallentamenti.empty() && c.avvisi.empty());
  for (const auto& [da, a] : bande_unite(c.rallentamenti, asse)) {
    rettangolo(svg, da, f.basso - 13, a - da, 9, "rallentamento");
  }
  std::string avvisi;
  for (const double x : colonne_distinte(c.avvisi, asse, 3)) avvisi += triangolo(x, f.basso - 3);
  percorso(svg, avvisi, "avviso");
  std::vector<Marca> velocita;
  for (const Banda& b : c.rallentamenti) {
    velocita.push_back({b.da, b.testo.empty() ? "" : b.testo + " km/h"});
  }
  disegna_etichette(svg, posa_etichette(etichette_di(velocita, asse), 1, 10), f.alto + 10, 11,
                    f.basso - 13, "piccolo");
}

void disegna_abbattimenti(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.abbattimenti;
  disegna_corsia(svg, f, "Abbattimento",
                 c.abbattimenti.empty() && c.abbattimenti_senza_valore.empty());
  std::string pieni, vuoti;
  for (const double x : colonne_distinte(c.abbattimenti, asse, 3)) pieni += rombo(x, f.mezzo());
  for (const double x : colonne_distinte(c.abbattimenti_senza_valore, asse, 3)) {
    vuoti += rombo(x, f.mezzo());
  }
  percorso(svg, pieni, "abbattimento");
  percorso(svg, vuoti, "abbattimento0");
}

void disegna_cartelli(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.cartelli;
  disegna_corsia(svg, f, "Signs", c.cartelli.empty());
  percorso(svg, quadretti(colonne_distinte(c.cartelli, asse, 2), f.basso - 2), "cartello");
  disegna_etichette(svg, posa_etichette(etichette_di(c.cartelli, asse), 3, 10), f.alto + 10, 11,
                    f.basso - 10, "piccolo");
}

void disegna_montagne(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.montagna;
  disegna_corsia(svg, f, "Mountain", c.montagne.empty());
  for (const auto& [da, a] : bande_unite(c.montagne, asse)) {
    rettangolo(svg, da, f.alto + 4, a - da, f.basso - f.alto - 8, "montagna");
  }
}

// ---------------------------------------------------------------------------
// The diagrams: speed limit and gradient as step lines over the cells.

// A step line through per-cell values, in page x and value: exact where the
// value holds over several page units, a vertical stroke from the lowest to
// the highest value where a unit covers several changes.
std::vector<Punto> gradini(const std::vector<double>& valori, const AsseKm& asse) {
  std::vector<Punto> punti;
  double livello = 0;
  std::size_t k = 0;
  while (k < valori.size()) {
    const double x = asse.x(metri_cella(k));
    const auto colonna = std::floor(x);
    double minimo = valori[k], massimo = valori[k];
    std::size_t dopo = k + 1;
    while (dopo < valori.size() && std::floor(asse.x(metri_cella(dopo))) == colonna) {
      minimo = std::min(minimo, valori[dopo]), massimo = std::max(massimo, valori[dopo]);
      ++dopo;
    }
    if (punti.empty()) {
      punti.emplace_back(x, valori[k]);
    } else if (valori[k] != livello || minimo != massimo) {
      punti.emplace_back(x, livello);
      punti.emplace_back(x, valori[k]);
    }
    if (minimo != massimo) {
      punti.emplace_back(x, minimo);
      punti.emplace_back(x, massimo);
      punti.emplace_back(x, valori[dopo - 1]);
    }
    livello = valori[dopo - 1];
    k = dopo;
  }
  if (!punti.empty()) punti.emplace_back(asse.x(metri_cella(valori.size())), livello);
  return punti;
}

std::vector<Punto> in_pagina(const std::vector<Punto>& gradini, const Scala& scala,
                             const Fascia& f) {
  std::vector<Punto> pagina;
  pagina.reserve(gradini.size());
  for (const auto& [x, v] : gradini) pagina.emplace_back(x, scala.y(f, v));
  return pagina;
}

void disegna_scala(std::string& svg, const Fascia& f, const Scala& scala, std::string_view unita) {
  const int cifre = decimali(scala.passo);
  const auto tacche = static_cast<int>(std::llround((scala.massimo - scala.minimo) / scala.passo));
  for (int i = 0; i <= tacche; ++i) {
    const double v = scala.minimo + i * scala.passo;
    const double y = scala.y(f, v);
    linea(svg, kSinistra, y, kDestra, y, "griglia");
    testo(svg, kSinistra - 6, y + 3.5, "piccolo", con_decimali(v, cifre), Ancora::kFine);
  }
  testo(svg, kSinistra - 48, f.mezzo() + 4, "piccolo", unita, Ancora::kFine);
}

void disegna_velocita(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.velocita;
  testo(svg, kSinistra - 140, f.alto + 12, "corsia", "Speed limit");
  const Scala scala = scala_velocita(c.velocita);
  disegna_scala(svg, f, scala, "km/h");
  const auto punti = in_pagina(gradini(c.velocita, asse), scala, f);
  if (!punti.empty()) {
    svg += "<polyline class=\"velocita\" points=\"" + lista_punti(punti) + "\"/>\n";
  }
}

// The part of the gradient on one side of zero, filled down to zero.
void area_pendenza(std::string& svg, const std::vector<double>& parte, const AsseKm& asse,
                   const Scala& scala, std::string_view classe) {
  if (std::all_of(parte.begin(), parte.end(), [](double v) { return v == 0; })) return;
  auto punti = in_pagina(gradini(parte, asse), scala, kPagina.pendenza);
  const double zero = scala.y(kPagina.pendenza, 0);
  punti.emplace_back(punti.back().first, zero);
  punti.emplace_back(punti.front().first, zero);
  svg += "<polygon class=\"";
  svg += classe;
  svg += "\" points=\"" + lista_punti(punti) + "\"/>\n";
}

void disegna_pendenza(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const Fascia& f = kPagina.pendenza;
  testo(svg, kSinistra - 140, f.alto + 12, "corsia", "Gradient");
  const Scala scala = scala_pendenza(c.pendenza);
  disegna_scala(svg, f, scala, "&#8240;");
  std::vector<double> salita, discesa;
  for (const double p : c.pendenza) {
    salita.push_back(std::max(p, 0.0));
    discesa.push_back(std::min(p, 0.0));
  }
  area_pendenza(svg, salita, asse, scala, "salita");
  area_pendenza(svg, discesa, asse, scala, "discesa");
  const double zero = scala.y(f, 0);
  linea(svg, kSinistra, zero, kDestra, zero, "zero");
}

// Stop zones as pale bands through the diagrams, to read them against the stations.
void disegna_fermate_diagrammi(std::string& svg, const Contenuto& c, const AsseKm& asse) {
  const double alto = kPagina.velocita.alto, basso = kPagina.pendenza.basso;
  for (const Stazione& s : c.stazioni) {
    const double da = asse.x(s.inizio);
    rettangolo(svg, da, alto, std::max(asse.x(s.fine) - da, 1.0), basso - alto, "fermate");
  }
}

// Kilometre ticks along the bottom, with grid lines up through the lanes.
void disegna_asse_km(std::string& svg, const AsseKm& asse) {
  const double km = asse.metri / 1000;
  const double passo = passo_tondo(km / 18);
  const int cifre = decimali(passo);
  const auto tacche = static_cast<long>(std::floor(km / passo + 1e-9));
  for (long i = 0; i <= tacche; ++i) {
    const double x = asse.x(static_cast<double>(i) * passo * 1000);
    linea(svg, x, kPagina.stazioni.alto, x, kPagina.asse, "griglia");
    linea(svg, x, kPagina.asse, x, kPagina.asse + 5, "asse");
    testo(svg, x, kPagina.asse + 18, "piccolo", con_decimali(static_cast<double>(i) * passo, cifre),
          Ancora::kMezzo);
  }
  linea(svg, kSinistra, kPagina.asse, kDestra, kPagina.asse, "asse");
  testo(svg, kSinistra - 10, kPagina.asse + 18, "corsia", "km", Ancora::kFine);
}

}  // namespace

std::string grafico_svg(const ScenarioCompilato& scenario, std::string_view titolo) {
  const Contenuto c = contenuto(scenario);
  const AsseKm asse = asse_km(c);
  std::string svg;
  apri_documento(svg, titolo);
  disegna_titolo(svg, titolo, c);
  disegna_legenda(svg);
  disegna_pianta(svg, scenario, c);
  disegna_fondi(svg);
  disegna_asse_km(svg, asse);
  disegna_fermate_diagrammi(svg, c, asse);
  disegna_stazioni(svg, c, asse);
  disegna_segnali(svg, c, asse);
  disegna_indicatori(svg, c, asse);
  disegna_rallentamenti(svg, c, asse);
  disegna_abbattimenti(svg, c, asse);
  disegna_cartelli(svg, c, asse);
  disegna_montagne(svg, c, asse);
  disegna_velocita(svg, c, asse);
  disegna_pendenza(svg, c, asse);
  svg += "</svg>\n";
  return svg;
}

}  // namespace gs
