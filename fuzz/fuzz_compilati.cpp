// The second fuzz target: arbitrary bytes as the three compiled files, read by
// the decoder and by scenario_tool's dump (text, stored values and JSON) and plot, the paths
// an author takes on files they did not make.
//
// Input: the scenario file, the marker "@@dat@@", the track file, the marker
// "@@linea@@", the line profile file. A missing marker leaves the parts after
// it empty, and an empty part is a file that is not there.
//
// The decoder must either give values back or throw ErroreFormato; the tool
// must end with status 0 or 2 and never let anything escape.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "banco.h"
#include "base/nomi_file.h"
#include "compiler/lettura_compilati.h"
#include "tool/strumento.h"

namespace gs {
namespace {

using fuzz::Banco;
using fuzz::controlla;
using fuzz::rimuovi;
using fuzz::scoperta;
using fuzz::scrivi;

struct Compilati {
  std::string_view scenario;
  std::string_view percorso;
  std::string_view profilo;
};

// The part up to `marcatore`, the rest after it; all of it when it is missing.
std::string_view taglia(std::string_view& dati, std::string_view marcatore) {
  const std::size_t dove = dati.find(marcatore);
  const std::string_view parte = dati.substr(0, dove);
  dati = dove == std::string_view::npos ? std::string_view{} : dati.substr(dove + marcatore.size());
  return parte;
}

Compilati dividi(std::string_view dati) {
  Compilati c;
  c.scenario = taglia(dati, "@@dat@@");
  c.percorso = taglia(dati, "@@linea@@");
  c.profilo = dati;
  return c;
}

// Output that goes nowhere, as fast as it can.
class Scarico : public std::streambuf {
 protected:
  std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
  int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

template <typename Decodifica>
void decodifica(const char* cosa, Decodifica decodifica) {
  try {
    decodifica();
  } catch (const ErroreFormato&) {
  } catch (const std::exception& guasto) {
    scoperta(std::string(cosa) + ": " + guasto.what());
  }
}

int strumento(const std::vector<std::string>& argomenti) {
  Scarico scarico;
  std::ostream nulla(&scarico);
  try {
    return esegui_scenario_tool(argomenti, nulla, nulla);
  } catch (const std::exception& guasto) {
    scoperta(argomenti.front() + " let out: " + guasto.what());
  }
}

void prova(const Cartella& cartella, const Compilati& c) {
  decodifica("scenario file", [&] { decodifica_file_scenario(c.scenario); });
  decodifica("track file", [&] { decodifica_file_percorso(c.percorso); });
  decodifica("profile file", [&] { scorri_profilo_linea(c.profilo, [](const PuntoProfilo&) {}); });

  const IdentitaScenario id = identita_incorporata();
  const std::pair<std::string, std::string_view> file[] = {
      {nome_file_scenario(id), c.scenario},
      {nome_file_percorso(id), c.percorso},
      {nome_profilo_linea(id), c.profilo},
  };
  for (const auto& [nome, byte] : file) {
    const std::string percorso = cartella.file(nome);
    if (byte.empty()) {
      rimuovi(percorso);
      continue;
    }
    scrivi(percorso, byte);
    for (const auto& opzioni : {std::vector<std::string>{}, std::vector<std::string>{"--raw"},
                                std::vector<std::string>{"--json", "--raw"}}) {
      std::vector<std::string> argomenti = {"dump", percorso};
      argomenti.insert(argomenti.end(), opzioni.begin(), opzioni.end());
      const int stato = strumento(argomenti);
      controlla(stato == 0 || stato == 2, "dump ended with status " + std::to_string(stato));
    }
  }
  const int stato = strumento({"plot", cartella.percorso, "-o", cartella.file("disegno.svg")});
  controlla(stato == 0 || stato == 2, "plot ended with status " + std::to_string(stato));
}

}  // namespace
}  // namespace gs

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* dati, std::size_t dimensione) {
  static const gs::fuzz::Banco banco;
  const std::string_view byte(reinterpret_cast<const char*>(dati), dimensione);
  gs::prova(banco.cartella(), gs::dividi(byte));
  return 0;
}
