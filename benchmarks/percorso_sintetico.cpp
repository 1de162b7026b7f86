#include "percorso_sintetico.h"

#include <fstream>
#include <initializer_list>
#include <stdexcept>
#include <utility>

namespace gs {
namespace {

// The features repeat every 10 km; in cells (50 m) of each 10 km they fall on
// signals 1, 41, 81, 121, 161; boards 51, 151; the slowdown's approach cells
// 83 .. 86, warning 87, start 111, end 157; a station stop on 103 every other
// 10 km; a sign on 71 every 40 km. The signal on 81 stands before the warning
// board and the one on 161 after the end, so the walk uses all its rules.
constexpr int kPassoPendenza = 1000;
constexpr int kPassoCurva = 2000;
constexpr int kPassoIndicatore = 5000;
constexpr int kPassoCartello = 40000;   // 25 signs: records 80 .. 56
constexpr int kPassoMontagna = 25000;   // 40 stretches of the 80 the tables hold
constexpr int kPassoLimite = 5000;
constexpr int kPassoStazione = 20000;   // 50 stations: records 1 .. 50
constexpr int kPassoRallentamento = 10000;
constexpr int kPassoSegnale = 2000;

std::string numero(int valore) { return std::to_string(valore); }

void aggiungi(std::vector<std::string>& righe, std::initializer_list<std::string> nuove) {
  righe.insert(righe.end(), nuove.begin(), nuove.end());
}

void scrivi_righe(const std::string& percorso, const std::vector<std::string>& righe) {
  std::ofstream file(percorso, std::ios::binary | std::ios::trunc);
  for (const auto& riga : righe) file << riga << "\r\n";
  file.close();
  if (!file) throw std::runtime_error("cannot write " + percorso);
}

void pendenze(std::vector<std::string>& r) {
  r.push_back("[pendenze]");
  for (int p = kPassoPendenza; p < kLunghezzaSintetica; p += kPassoPendenza) {
    r.push_back("pendenza, " + numero(p) + ", " + numero(p / kPassoPendenza % 7 - 3));
  }
}

// 300 m curves, left and right in turn.
void curve(std::vector<std::string>& r) {
  r.push_back("[curve]");
  for (int s = 700; s < kLunghezzaSintetica - kPassoCurva; s += kPassoCurva) {
    const char* lato = s / kPassoCurva % 2 == 0 ? "curvas3, " : "curvad3, ";
    r.push_back(lato + numero(s) + ", 300");
  }
}

void indicatori(std::vector<std::string>& r) {
  r.push_back("[indicazioni]");
  for (int p = 2500; p < kLunghezzaSintetica; p += kPassoIndicatore) {
    r.push_back("indicatori_vmax, " + numero(p) + ", 120, 130, 135, 0, 100, 110, 115, 1");
  }
}

void cartelli(std::vector<std::string>& r) {
  r.push_back("[cartelli]");
  for (int p = 3500; p < kLunghezzaSintetica; p += kPassoCartello) {
    r.push_back("cartello indicatore, " + numero(p) + ", (  Km. ) (" + numero(p / 1000) + ".500)");
  }
}

void montagne(std::vector<std::string>& r) {
  r.push_back("[montagne]");
  for (int p = 20000; p < kLunghezzaSintetica; p += kPassoMontagna) {
    r.push_back("montagna, " + numero(p) + ", " + numero(p + 2000) + ", 2");
  }
}

void limiti(std::vector<std::string>& r) {
  r.push_back("[vel_limite]");
  for (int p = 0; p < kLunghezzaSintetica; p += kPassoLimite) {
    r.push_back("velocita' limite, " + numero(p) + ", " + (p % 10000 ? "140" : "100"));
  }
}

// Kind 2, a 400 m platform, one every 20 km, 10 minutes apart.
void stazioni(std::vector<std::string>& r) {
  r.push_back("[stazioni]");
  for (int n = 0, p = 15000; p < kLunghezzaSintetica; ++n, p += kPassoStazione) {
    r.push_back("stazione, " + numero(p) + ", 2, 400, 0, 0, 0, 1,1,0, 4,1,1, 60, " +
                numero(6 + n / 6) + ", " + numero(n % 6 * 10) + ", 0, STAZIONE " + numero(n));
  }
}

// 60 km/h for 2300 m with the approach cells before the warning board.
void rallentamenti(std::vector<std::string>& r) {
  r.push_back("[rallentamenti]");
  for (int x = 5500; x < kLunghezzaSintetica; x += kPassoRallentamento) {
    r.push_back("rallentamento, " + numero(x) + ", 60, 2300, 0, 1, 0");
  }
}

void segnali(std::vector<std::string>& r) {
  r.push_back("[segnali]");
  for (int p = kPassoSegnale; p < kLunghezzaSintetica; p += kPassoSegnale) {
    r.push_back("segnale, " + numero(p) + ", 2, 4, 0, 0, 0, 2, 1, 0, 0, 0");
  }
}

// How many cells of `tipo` lie in cells [prima, oltre).
int conta_tipo(const TabelleScenario& tab, std::size_t prima, std::size_t oltre, int tipo) {
  int conteggio = 0;
  for (std::size_t c = prima; c < oltre && c < tab.celle.size(); ++c) {
    if (tab.celle[c].tipo == tipo) ++conteggio;
  }
  return conteggio;
}

// The features each 100 km stretch must hold, by cell type.
const std::vector<std::pair<int, const char*>>& tipi_richiesti() {
  static const std::vector<std::pair<int, const char*>> tipi = {
      {kCellaSegnale, "signal"},
      {kCellaFermata, "station stop"},
      {kCellaIndicatoreVelocita, "speed indicator board"},
      {kCellaCartello, "sign"},
      {kCellaAvvisoRallentamento, "slowdown warning"},
      {kCellaInizioRallentamento, "slowdown start"},
      {kCellaFineRallentamento, "slowdown end"},
      {kCellaAvvicinamentoRallentamento, "slowdown approach"},
      {kCellaAbbattimento, "abbattimento marker"}};
  return tipi;
}

}  // namespace

std::vector<std::string> linea_sintetica() {
  std::vector<std::string> r;
  aggiungi(r, {"inizio_dati", "[generale]", "lunghezza percorso, " + numero(kLunghezzaSintetica),
               "progressiva chilometrica uno, 0, 0, 0", "progressiva chilometrica due, 0, 0, 0",
               "progressiva chilometrica tre, 0, 0, 0", "sfondo uno, 1", "sfondo due, 0",
               "sfondo tre, 0", "ripetizione segnali 4 codici, 4000, 996000"});
  pendenze(r);
  curve(r);
  indicatori(r);
  cartelli(r);
  montagne(r);
  r.push_back("[fine]");
  return r;
}

std::vector<std::string> treno_sintetico() {
  std::vector<std::string> r;
  aggiungi(r, {"inizio_dati", "[generale]", "numero vetture, 6", "percentuale massa frenata, 120",
               "sabbia, 300", "orologio, 6, 0, 0", "[aderenze]", "aderenza, 0, 75"});
  limiti(r);
  stazioni(r);
  rallentamenti(r);
  segnali(r);
  r.push_back("[fine]");
  return r;
}

void scrivi_descrizioni_sintetiche(const Cartella& cartella) {
  scrivi_righe(cartella.file(nome_descrizione_linea(kSintetico)), linea_sintetica());
  scrivi_righe(cartella.file(nome_descrizione_treno(kSintetico)), treno_sintetico());
}

std::vector<std::string> nomi_compilati_sintetici() {
  return {nome_profilo_linea(kSintetico), nome_file_scenario(kSintetico),
          nome_file_percorso(kSintetico)};
}

std::string difetto_percorso_sintetico(const TabelleScenario& tab) {
  if (tab.codice_errore != CodiceErrore::nessuno) {
    return "error code " + numero(gs::numero(tab.codice_errore));
  }
  if (tab.profilo.assegnati != tab.lunghezza_estesa - 1) return "the profile is not traced";
  constexpr std::size_t kCelleTratto = 100000 / 50;
  for (std::size_t inizio = 0; inizio < kLunghezzaSintetica / 50; inizio += kCelleTratto) {
    for (const auto& [tipo, nome] : tipi_richiesti()) {
      if (conta_tipo(tab, inizio, inizio + kCelleTratto, tipo) == 0) {
        return std::string("no ") + nome + " from " + numero(static_cast<int>(inizio * 50)) + " m";
      }
    }
  }
  return {};
}

}  // namespace gs
