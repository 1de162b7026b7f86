// What `scenario_tool dump` says of one record or one cell: its kind, and each
// value by a name that explains it and in the unit an author thinks in. The
// text listing and the JSON document are both written from these lists, so the
// two never disagree on a name or a unit.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "base/json.h"
#include "reader/tabelle.h"

namespace gs {

// The version of the dump's JSON documents: raised whenever a member changes
// name, unit or meaning.
inline constexpr int kVersioneFormatoDump = 1;

// One value as the dump shows it.
struct Voce {
  std::string chiave;  // the JSON member
  std::string testo;   // its words in the text listing; empty: left out of the text
  std::function<void(ScrittoreJson&)> valore;  // writes the JSON value
  bool a_capo = false;  // the text listing starts a new line with it
};

// A record or a cell: its kind (the JSON "kind"), its words in the text
// listing, and its values.
struct Descrizione {
  std::string tipo;
  std::string tipo_testo;
  std::vector<Voce> voci;
};

// One stored field by its stored name: a number or a Windows-1252 text.
using ValoreCampo = std::variant<std::int64_t, std::string>;
struct CampoMemorizzato {
  std::string_view nome;
  ValoreCampo valore;
};

// Every stored field of a record or a cell, in file order.
std::vector<CampoMemorizzato> campi_memorizzati(const Record& record);
std::vector<CampoMemorizzato> campi_memorizzati(const Cella& cella);

// What a record holds, judged by its index and, for records 1 .. 80, by its
// content: a station has a number set, a sign only its text.
enum class RuoloRecord {
  inutilizzato,  // record 0
  vuoto,         // a record of 1 .. 80 that holds nothing
  stazione,
  cartello,
  progressiva,   // 81 .. 83
  testata_treno,     // 84
  testata_scenario,  // 85
  testata_corsa,     // 86
};
RuoloRecord ruolo_record(const Record& record, std::size_t indice);

// Record `indice` of a scenario file in real units. Fields its role gives no
// meaning to are listed under "other_values" when they hold anything.
Descrizione descrivi_record(const Record& record, std::size_t indice);

// Cell `indice` of a track file in real units, its track values (speed limit,
// gradient, adhesion, mountain kind, approach mark) included; cell 1 carries
// the compilation stamp and the plain race code.
Descrizione descrivi_cella(const Cella& cella, std::size_t indice);

// The stored fields as one JSON object, by their stored names.
void scrivi_campi_json(ScrittoreJson& j, const std::vector<CampoMemorizzato>& campi);
// The stored fields as "name=value" words, texts in quotes.
std::string testo_campi(const std::vector<CampoMemorizzato>& campi);

}  // namespace gs
