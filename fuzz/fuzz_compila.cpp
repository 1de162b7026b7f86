// The fuzz target: arbitrary bytes as the two description files, read and
// compiled by the very path scenario_tool compile takes, in one scratch
// directory of its own.
//
// Input: the line description file, then the marker "@@treno@@", then the
// train description file; the first marker splits them. Without a marker the
// whole input is the line file and there is no train file at all.
//
// Every input must end as a scenario error code (or the header errors 1250 and
// 1251, which stop the compile before its files); anything else escaping the
// compile, or a broken invariant afterwards, aborts as a finding. The authors'
// tolerant pass reads the same bytes and must never fail either.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "compiler/formato_compilati.h"
#include "compiler/memorizza_percorso.h"
#include "compiler/messaggi_errore.h"
#include "reader/verifica.h"
#include "base/errore_file.h"
#include "base/nomi_file.h"
#include "banco.h"

namespace gs {
namespace {

constexpr std::string_view kSeparatore = "@@treno@@";

// The errors the cell walk records, after reading.
bool errore_del_cammino(CodiceErrore codice) {
  return codice == CodiceErrore::nessuna_cella_abbattimento_segnale ||
         codice == CodiceErrore::nessuna_cella_abbattimento_avvicinamento ||
         codice == CodiceErrore::nessuna_cella_abbattimento_rallentamento;
}

using fuzz::Banco;
using fuzz::controlla;
using fuzz::rimuovi;
using fuzz::scoperta;
using fuzz::scrivi;

struct Descrizioni {
  std::string_view linea;
  bool con_treno = false;
  std::string_view treno;
};

Descrizioni dividi(std::string_view dati) {
  const std::size_t separatore = dati.find(kSeparatore);
  if (separatore == std::string_view::npos) return {dati, false, {}};
  return {dati.substr(0, separatore), true, dati.substr(separatore + kSeparatore.size())};
}

std::vector<std::string> nomi_compilati(const IdentitaScenario& id) {
  return {nome_profilo_linea(id), nome_file_scenario(id), nome_file_percorso(id)};
}

bool esiste(const Cartella& cartella, const std::string& nome) {
  std::error_code ignora;
  return std::filesystem::exists(cartella.file(nome), ignora);
}

std::uintmax_t dimensione(const Cartella& cartella, const std::string& nome) {
  std::error_code errore;
  const std::uintmax_t byte = std::filesystem::file_size(cartella.file(nome), errore);
  if (errore) scoperta("cannot size " + nome + ": " + errore.message());
  return byte;
}

// The files in the directory are the two descriptions, unchanged, and at most
// the three compiled files: the compile touched nothing else.
void controlla_cartella(const Cartella& cartella, const IdentitaScenario& id,
                        const Descrizioni& d) {
  std::set<std::string> ammessi{nome_descrizione_linea(id), nome_descrizione_treno(id)};
  for (const auto& nome : nomi_compilati(id)) ammessi.insert(nome);
  for (const auto& voce : std::filesystem::directory_iterator(cartella.percorso)) {
    const std::string nome = voce.path().filename().string();
    controlla(ammessi.count(nome) == 1, "a stray file: " + nome);
  }
  controlla(dimensione(cartella, nome_descrizione_linea(id)) == d.linea.size(),
            "the line description file changed");
  controlla(esiste(cartella, nome_descrizione_treno(id)) == d.con_treno,
            "the train description file came or went");
  if (d.con_treno) {
    controlla(dimensione(cartella, nome_descrizione_treno(id)) == d.treno.size(),
              "the train description file changed");
  }
}

// After a compile that ran to its end: a known code, a reason exactly for
// error 25, a track that agrees with its count and compiled files of its size.
void controlla_esito(const Cartella& cartella, const IdentitaScenario& id,
                     const TabelleScenario& tab, const EsitoCompilazione& esito) {
  const CodiceErrore codice = tab.codice_errore;
  const std::string testo = std::to_string(numero(codice));
  controlla(codice == CodiceErrore::nessuno || errore_conosciuto(codice),
            "unknown error code " + testo);
  controlla(codice != CodiceErrore::timbro_gia_presente &&
                codice != CodiceErrore::codice_gara_gia_presente,
            "a header error left in the tables");
  controlla(esito.codice_errore == codice, "the result and the tables disagree on the error");
  // A failure while reading leaves its reason; the walk that follows may still
  // record an error of its own over the 25.
  const bool con_motivo = !esito.lettura.motivo.empty();
  controlla(codice != CodiceErrore::errore_esecuzione || con_motivo, "error 25 without a reason");
  controlla(!con_motivo || codice == CodiceErrore::errore_esecuzione || errore_del_cammino(codice),
            "error " + testo + " with reason '" + esito.lettura.motivo + "'");
  const bool scritti = !esito.file_scritti.empty();
  const bool fermato = esito.controllo_testate != CodiceErrore::nessuno;
  controlla(esito.percorso_presente == percorso_presente(tab), "the result misreads the track");
  controlla(scritti == (percorso_presente(tab) && !fermato), "files written without a track");
  controlla(!fermato || esito.controllo_testate == CodiceErrore::timbro_gia_presente ||
                esito.controllo_testate == CodiceErrore::codice_gara_gia_presente,
            "a header check ended with error " + std::to_string(numero(esito.controllo_testate)));
  if (!tab.celle.empty()) {
    controlla(tab.celle.size() == static_cast<std::size_t>(tab.numero_celle) + 1,
              "the track holds " + std::to_string(tab.celle.size()) + " cells, its count says " +
                  std::to_string(tab.numero_celle));
  }
  for (const auto& nome : nomi_compilati(id)) {
    controlla(esiste(cartella, nome) == scritti, "compiled file " + nome);
  }
  if (!scritti) return;
  controlla(dimensione(cartella, nome_file_percorso(id)) == tab.celle.size() * formato::kByteCella,
            "the track file does not hold 15 bytes a cell");
  std::uintmax_t byte_record = 0;
  for (const Record& r : tab.record) byte_record += formato::kByteRecordSenzaNome + r.nome.size();
  controlla(dimensione(cartella, nome_file_scenario(id)) == byte_record,
            "the scenario file does not hold the records");
}

void compila(const Cartella& cartella, const Descrizioni& d) {
  const IdentitaScenario id = identita_incorporata();
  for (const auto& nome : nomi_compilati(id)) rimuovi(cartella.file(nome));
  scrivi(cartella.file(nome_descrizione_linea(id)), d.linea);
  if (d.con_treno) {
    scrivi(cartella.file(nome_descrizione_treno(id)), d.treno);
  } else {
    rimuovi(cartella.file(nome_descrizione_treno(id)));
  }

  auto tab = std::make_unique<TabelleScenario>();
  const std::int32_t j = 1;
  try {
    const EsitoCompilazione esito = compila_scenario(
        j, id, cartella, cartella, OpzioniLettura{.elimina_descrizioni = false}, *tab);
    controlla_esito(cartella, id, *tab, esito);
    // The authors' tolerant pass reads the same bytes, and must never fail.
    const Verifica verifica = verifica_descrizioni(nome_descrizione_linea(id), d.linea,
                                                   nome_descrizione_treno(id), d.treno);
    for (const Diagnostica& diagnostica : verifica.diagnostiche) {
      controlla(!diagnostica.codice.empty() && !diagnostica.messaggio.empty(),
                "a diagnostic without its code or message");
    }
  } catch (const std::exception& guasto) {
    scoperta(std::string("escaped the compile: ") + guasto.what());
  }
  controlla_cartella(cartella, id, d);
}

}  // namespace
}  // namespace gs

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  static const gs::Banco banco;
  const std::string_view byte(reinterpret_cast<const char*>(dati), dimensione);
  gs::compila(banco.cartella(), gs::dividi(byte));
  return 0;
}
