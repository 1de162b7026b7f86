// The scenario error codes: one enumeration, and one table that gives each
// code its short name, whether it carries a position in metres, and its
// meaning. The reader, the recorders, the walk, the messages and the
// documentation all take them from here.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace gs {

// The number stored in the scenario tables and reported to the user; 0 is none.
enum class CodiceErrore : std::int32_t {
  nessuno = 0,
  linea_troppo_lunga = 1,
  progressiva_non_multipla = 2,
  inizio_ripetizione_non_multiplo = 3,
  fine_ripetizione_non_multipla = 4,
  ripetizione_sconosciuta = 5,
  cartello_su_cella_occupata = 6,
  abbattimento_su_cella_occupata = 7,
  stazione_non_multipla = 8,
  marciapiede_non_multiplo = 9,
  troppe_stazioni = 10,
  nessuna_cella_abbattimento_segnale = 11,
  nessuna_cella_abbattimento_avvicinamento = 12,
  nessuna_cella_abbattimento_rallentamento = 13,
  oltre_fine_percorso = 15,
  segnale_su_cella_occupata = 16,
  avviso_rallentamento_su_cella_occupata = 17,
  inizio_rallentamento_su_cella_occupata = 18,
  fine_rallentamento_su_cella_occupata = 19,
  avvicinamento_rallentamento_su_cella_occupata = 20,
  indicatore_su_cella_occupata = 21,
  stazioni_troppo_vicine = 22,
  fermata_nei_primi_100_m = 24,
  errore_esecuzione = 25,
  descrizione_linea_mancante = 101,
  generale_mancante = 102,
  curva_sconosciuta = 103,
  timbro_gia_presente = 1250,
  codice_gara_gia_presente = 1251,
};

constexpr std::int32_t numero(CodiceErrore codice) { return static_cast<std::int32_t>(codice); }

// One row of the table.
struct VoceErrore {
  CodiceErrore codice;
  std::string_view sigla;         // short stable name, e.g. "signal-cell-taken"
  bool con_posizione;             // the code sets the error position (metres)
  std::string_view significato;  // a short English phrase
  std::string_view esempio;      // an entry that gives it
  std::string_view rimedio;      // the usual fix
};

// Every code this program sets, in increasing order (nessuno excluded).
std::span<const VoceErrore> voci_errore();

// The row of `codice`; nullptr for a code this program never sets.
const VoceErrore* voce_errore(CodiceErrore codice);
// The row whose short name is `sigla`; nullptr for none.
const VoceErrore* voce_errore(std::string_view sigla);

}  // namespace gs
