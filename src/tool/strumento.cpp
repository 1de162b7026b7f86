#include "tool/strumento.h"

#include <algorithm>
#include <functional>
#include <map>
#include <new>

#include "tool/argomenti.h"
#include "base/errore_file.h"
#include "base/json.h"
#include "base/versione.h"
#include "tool/strumento_comandi.h"

namespace gs {
namespace {

constexpr const char* kUsoGenerale =
    "usage: scenario_tool COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  init DIR       write the embedded scenario's description files and driver documents\n"
    "  check DIR      report every problem of the description files in DIR\n"
    "  compile DIR    compile the description files in DIR\n"
    "  explain CODE   what a scenario error or a diagnostic code means\n"
    "  dump FILE      list a compiled file (.sim, track .dat, line profile _linea.dat)\n"
    "  plot DIR       draw the compiled scenario in DIR as one SVG file\n"
    "\n"
    "'scenario_tool COMMAND --help' tells more about each command;\n"
    "'scenario_tool --version' prints the version.\n"
    "Exit status: 0 done, 1 scenario error, 2 usage or file-system error.\n";

struct Comando {
  FormaComando forma;
  const char* uso;
  std::function<int(const Argomenti&, Uscite&)> esegui;
};

const std::map<std::string, Comando>& comandi() {
  static const std::map<std::string, Comando> tabella = {
      {"init",
       {{1, {"--force"}, {"--code", "--train"}},
        "usage: scenario_tool init DIR [--code CODE] [--train NUMBER] [--force]\n"
        "\n"
        "Writes the embedded scenario's line and train description files, and the three\n"
        "driver documents, into DIR (made if missing), named CODE_linea.txt,\n"
        "CODE_NUMBER-.txt, CODE_NUMBER_note.txt, CODE_NUMBER_rallentamenti.txt and\n"
        "CODE_NUMBER_scheda_treno.txt. CODE defaults to Brisca_Nolte, NUMBER to 52806.\n"
        "Existing files are left alone unless --force is given.\n",
        comando_init}},
      {"check",
       {{1, {"--json", "--strict"}, {"--code", "--train"}},
        "usage: scenario_tool check DIR [--code CODE] [--train NUMBER] [--json] [--strict]\n"
        "\n"
        "Checks CODE_linea.txt and CODE_NUMBER-.txt in DIR line by line and reports every\n"
        "problem as FILE:LINE:COL: error|warning: message [code]; then compiles them in\n"
        "memory and adds the scenario error, if any, at the line it comes from. Nothing is\n"
        "written. An error: the compile fails, or the compiled scenario would not be what\n"
        "the files say; a warning: it compiles as written but looks wrong.\n"
        "--json         print one object: diagnostics, error_code, errors, warnings\n"
        "--strict       warnings fail too\n"
        "Exit status: 0 no error, 1 errors (with --strict, warnings too), 2 usage or file error.\n",
        comando_check}},
      {"explain",
       {{0, {"--all", "--markdown"}, {}, 1},
        "usage: scenario_tool explain CODE\n"
        "       scenario_tool explain --all [--markdown]\n"
        "\n"
        "Tells what a scenario error (by its number or its name, such as 16 or\n"
        "signal-cell-taken) or a diagnostic code of check (such as unknown-keyword) means,\n"
        "with an entry that gives it and the usual fix. --all lists every code; with\n"
        "--markdown as the table docs/errors.md holds.\n",
        comando_explain}},
      {"compile",
       {{1, {"--no-profile", "--json", "--write-on-error"}, {"--code", "--train", "--out"}},
        "usage: scenario_tool compile DIR [--code CODE] [--train NUMBER] [--out OUTDIR]\n"
        "                              [--no-profile] [--write-on-error] [--json]\n"
        "\n"
        "Compiles CODE_linea.txt and CODE_NUMBER-.txt found in DIR (--code and --train\n"
        "choose when there are several) into CODE_linea.dat, CODE_NUMBER.sim and\n"
        "CODE_NUMBER.dat in OUTDIR (default DIR). The description files are never deleted.\n"
        "The files are checked first (as by check; the diagnostics go to standard error):\n"
        "on any error nothing is written and the earlier compiled files stay as they were.\n"
        "--no-profile      compile without tracing the curves; no line profile file\n"
        "--write-on-error  write what genera_scenario would, errors and all\n"
        "--json            print the result, whatever it is, as one JSON object\n"
        "Exit status: 0 compiled, 1 scenario error, 2 usage or file-system error.\n",
        comando_compile}},
      {"dump",
       {{1, {"--json"}, {}},
        "usage: scenario_tool dump FILE [--json]\n"
        "\n"
        "Lists a compiled file: the records of a .sim file with their field names, the\n"
        "cells of a track .dat file that are not plain track, or the length and extent of\n"
        "a line profile _linea.dat file. --json prints every value for scripts.\n",
        comando_dump}},
      {"plot",
       {{1, {}, {"--code", "--train", "-o"}},
        "usage: scenario_tool plot DIR [--code CODE] [--train NUMBER] [-o FILE.svg]\n"
        "\n"
        "Draws the scenario CODE_NUMBER in DIR as one self-contained SVG, compiled in memory\n"
        "from its description files (their diagnostics go to standard error), or from its\n"
        "compiled files where DIR has no description files. The drawing shows the\n"
        "plan of the line and, beneath it, gradient, speed limit, stations, signals,\n"
        "boards, slowdowns and markers along the kilometres. FILE.svg defaults to\n"
        "DIR/CODE_NUMBER.svg.\n",
        comando_plot}},
      {"serve",
       {{1, {}, {"--code", "--train", "--port"}},
        "usage: scenario_tool serve DIR [--code CODE] [--train NUMBER] [--port N]\n"
        "\n"
        "Serves the live viewer of the scenario CODE_NUMBER in DIR on this machine only,\n"
        "at http://127.0.0.1:N/ (N defaults to 8806; --port 0 takes any free port). The\n"
        "page shows the scenario compiled in memory from CODE_linea.txt and\n"
        "CODE_NUMBER-.txt with its diagnostics, and follows every save of either file.\n"
        "The first line printed gives the address. Nothing is written into DIR.\n"
        "Ctrl-C stops it.\n"
        "Exit status: 0 stopped, 2 usage or file error, or the port is taken.\n",
        comando_serve}},
  };
  return tabella;
}

void stampa_errore_json(const std::string& messaggio, std::ostream& uscita) {
  ScrittoreJson j(uscita);
  j.apri_oggetto().chiave("error").stringa_sistema(messaggio);
  j.chiave("exit_status").intero(kStatoStrumentoUso).chiude_oggetto();
  j.fine();
}

// A usage or file failure: a line on standard error, and the object with --json.
int fallimento(const std::string& nome, const std::string& messaggio, bool json,
               std::ostream& uscita, std::ostream& errori) {
  errori << "scenario_tool " << nome << ": " << messaggio << "\n";
  if (json) stampa_errore_json(messaggio, uscita);
  return kStatoStrumentoUso;
}

// Standard output must have taken every byte (a full disk or a closed pipe
// makes it fail): a result cut short is never a success.
bool uscita_scritta(const std::string& nome, std::ostream& uscita, std::ostream& errori) {
  uscita.flush();
  if (uscita.good()) return true;
  errori << "scenario_tool " << nome
         << ": cannot write the output (standard output failed: disk full or pipe closed)\n";
  return false;
}

}  // namespace

int esegui_scenario_tool(const std::vector<std::string>& argomenti, std::ostream& uscita,
                         std::ostream& errori) {
  Uscite uscite{uscita, errori};
  if (argomenti.empty()) {
    errori << kUsoGenerale;
    return kStatoStrumentoUso;
  }
  const std::string& nome = argomenti.front();
  if (nome == "--help" || nome == "-h" || nome == "help") {
    uscita << kUsoGenerale;
    return kStatoStrumentoOk;
  }
  if (nome == "--version") {
    uscita << testo_versione("scenario_tool") << "\n";
    return kStatoStrumentoOk;
  }
  const auto trovato = comandi().find(nome);
  if (trovato == comandi().end()) {
    errori << "scenario_tool: unknown command '" << nome << "'\n\n" << kUsoGenerale;
    return kStatoStrumentoUso;
  }
  const Comando& comando = trovato->second;
  // With --json every outcome is one object on standard output, failures included.
  const bool json = std::find(argomenti.begin() + 1, argomenti.end(), "--json") != argomenti.end();
  try {
    const Argomenti letti = analizza_argomenti(
        std::vector<std::string>(argomenti.begin() + 1, argomenti.end()), comando.forma);
    if (letti.aiuto) {
      uscita << comando.uso;
      return kStatoStrumentoOk;
    }
    const int stato = comando.esegui(letti, uscite);
    return uscita_scritta(nome, uscita, errori) ? stato : kStatoStrumentoUso;
  } catch (const std::bad_alloc&) {
    return fallimento(nome, "out of memory", json, uscita, errori);
  } catch (const ErroreUso& uso) {
    errori << "scenario_tool " << nome << ": " << uso.what() << "\n\n" << comando.uso;
    if (json) stampa_errore_json(uso.what(), uscita);
    return kStatoStrumentoUso;
  } catch (const ErroreFile& guasto) {
    return fallimento(nome, guasto.what(), json, uscita, errori);
  }
}

}  // namespace gs
