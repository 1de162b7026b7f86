#include "tool/strumento.h"

#include <algorithm>
#include <new>
#include <optional>

#include "base/errore_file.h"
#include "reader/righe_descrizione.h"
#include "base/testo_utf8.h"
#include "base/versione.h"
#include "tool/argomenti.h"
#include "tool/documento_json.h"
#include "tool/strumento_comandi.h"

namespace gs {

// One entry a command; the general help is made from this table.
const std::vector<Comando>& comandi() {
  static const std::vector<Comando> tabella = {
      {"init",
       {{"DIR"}, {"--force"}, {"--code", "--train"}},
       "write the embedded scenario's description files and driver documents",
       "usage: scenario_tool init DIR [--code CODE] [--train NUMBER] [--force]\n"
       "\n"
       "Writes the embedded scenario's line and train description files, and the three\n"
       "driver documents, into DIR (made if missing), named CODE_linea.txt,\n"
       "CODE_NUMBER-.txt, CODE_NUMBER_note.txt, CODE_NUMBER_rallentamenti.txt and\n"
       "CODE_NUMBER_scheda_treno.txt. CODE defaults to Brisca_Nolte, NUMBER to 52806.\n"
       "Existing files are left alone unless --force is given.\n",
       comando_init},
      {"check",
       {{"DIR"}, {"--json", "--strict"}, {"--code", "--train"}},
       "report every problem of the description files in DIR",
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
       comando_check},
      {"compile",
       {{"DIR"}, {"--no-profile", "--json", "--write-on-error"}, {"--code", "--train", "--out"}},
       "compile the description files in DIR",
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
       comando_compile},
      {"explain",
       {{"CODE"}, {"--all", "--markdown"}, {}, 1},
       "what a scenario error or a diagnostic code means",
       "usage: scenario_tool explain CODE\n"
       "       scenario_tool explain --all [--markdown]\n"
       "\n"
       "Tells what a scenario error (by its number or its name, such as 16 or\n"
       "signal-cell-taken) or a diagnostic code of check (such as unknown-keyword) means,\n"
       "with an entry that gives it and the usual fix. --all lists every code; with\n"
       "--markdown as the table docs/errors.md holds.\n",
       comando_explain},
      {"dump",
       {{"FILE"}, {"--json", "--raw"}, {}},
       "list a compiled file in real units (.sim, track .dat, line profile _linea.dat)",
       "usage: scenario_tool dump FILE [--json] [--raw]\n"
       "\n"
       "Lists a compiled file in real units (m, km/h, per mille, hh:mm:ss): the records of a\n"
       "CODE_NUMBER.sim file by their role, every cell of a CODE_NUMBER.dat track file (a run\n"
       "of cells alike but for their position on one line, as 'cells 12-45, 600-2,299 m'),\n"
       "or the size and extent of a CODE_linea.dat line profile.\n"
       "--raw    the values as the file stores them, by their stored names\n"
       "--json   one JSON document of every value, the profile's points included (with\n"
       "         --raw each record and cell also carries its stored values)\n",
       comando_dump},
      {"diff",
       {{"A", "B"}, {"--json"}, {"--code", "--train"}},
       "compare two scenario folders or two compiled files, in real units",
       "usage: scenario_tool diff A B [--code CODE] [--train NUMBER] [--json]\n"
       "\n"
       "Compares two scenarios feature by feature, in real units, one difference a line\n"
       "ordered by position: speed limits, gradients, adhesion and mountain kinds as km\n"
       "ranges; signals, slowdowns, boards, markers and signs added, removed or changed\n"
       "at their positions; stations, progressives and headers field by field; the line\n"
       "profile point by point. A and B are two folders, each read as plot reads it (the\n"
       "description files compiled in memory, else the compiled files; --code and\n"
       "--train choose in both), or two compiled files of one kind (.sim, track .dat,\n"
       "_linea.dat). Equal scenarios print nothing.\n"
       "--json         print one object: format_version, equal, differences\n"
       "Exit status: 0 equal, 1 different, 2 trouble (a missing or damaged file, description\n"
       "files that do not compile, files of two kinds, a usage error).\n",
       comando_diff},
      {"plot",
       {{"DIR"}, {"--html"}, {"--code", "--train", "-o"}},
       "draw the scenario in DIR as one SVG file, or as the interactive viewer",
       "usage: scenario_tool plot DIR [--code CODE] [--train NUMBER] [--html] [-o FILE]\n"
       "\n"
       "Draws the scenario CODE_NUMBER in DIR as one self-contained SVG, compiled in memory\n"
       "from its description files (their diagnostics go to standard error), or from its\n"
       "compiled files where DIR has no description files. The drawing shows the\n"
       "plan of the line and, beneath it, gradient, speed limit, stations, signals,\n"
       "boards, slowdowns and markers along the kilometres. FILE defaults to\n"
       "DIR/CODE_NUMBER.svg.\n"
       "--html   write the interactive viewer instead, as one HTML file that needs no\n"
       "         server or network (zoom, pan, values and FILE:LINE of every feature,\n"
       "         the diagnostics); FILE defaults to DIR/CODE_NUMBER.html\n",
       comando_plot},
      {"serve",
       {{"DIR"}, {}, {"--code", "--train", "--port"}},
       "show the scenario in DIR in the browser, following every save",
       "usage: scenario_tool serve DIR [--code CODE] [--train NUMBER] [--port N]\n"
       "\n"
       "Serves the live viewer of the scenario CODE_NUMBER in DIR on this machine only,\n"
       "at http://127.0.0.1:N/ (N defaults to 8806; --port 0 takes any free port). The\n"
       "page shows the scenario compiled in memory from CODE_linea.txt and\n"
       "CODE_NUMBER-.txt with its diagnostics, and follows every save of either file.\n"
       "The first line printed gives the address. Nothing is written into DIR.\n"
       "Ctrl-C stops it.\n"
       "Exit status: 0 stopped, 2 usage or file error, or the port is taken.\n",
       comando_serve},
  };
  return tabella;
}

namespace {

// "help" is the tool's own: it takes the name of the command to tell about.
const FormaComando kFormaAiuto{{"COMMAND"}, {}, {}, 1};

// A command as the general help names it: "init DIR".
std::string nome_e_argomenti(const Comando& comando) {
  std::string testo = comando.nome;
  for (const std::string& posizionale : comando.forma.posizionali) (testo += ' ') += posizionale;
  return testo;
}

std::string uso_generale() {
  std::size_t larghezza = 0;
  for (const Comando& comando : comandi()) {
    larghezza = std::max(larghezza, nome_e_argomenti(comando).size());
  }
  std::string testo =
      "usage: scenario_tool COMMAND [OPTIONS]\n"
      "\n"
      "Commands:\n";
  for (const Comando& comando : comandi()) {
    const std::string nome = nome_e_argomenti(comando);
    ((testo += "  ") += nome).append(larghezza + 3 - nome.size(), ' ');
    (testo += comando.sintesi) += '\n';
  }
  testo +=
      "\n"
      "'scenario_tool help COMMAND' or 'scenario_tool COMMAND --help' tells more about\n"
      "each command; 'scenario_tool --version' prints the version.\n"
      "Exit status: 0 done, 1 scenario error, 2 usage or file-system error.\n";
  return testo;
}

const Comando* trova_comando(const std::string& nome) {
  for (const Comando& comando : comandi()) {
    if (comando.nome == nome) return &comando;
  }
  return nullptr;
}

// An unknown command, with the nearest one where it is near enough to be a slip.
std::string comando_sconosciuto(const std::string& nome) {
  if (nome.size() > 1 && nome[0] == '-') {
    return std::string("unknown option ").append(testo_visibile(nome));
  }
  std::string messaggio = std::string("unknown command '").append(testo_visibile(nome)) += '\'';
  const Comando* vicino = nullptr;
  std::size_t minima = 3;  // more edits than this make another word
  for (const Comando& comando : comandi()) {
    const std::size_t d = distanza(nome, comando.nome);
    if (d < minima) {
      minima = d;
      vicino = &comando;
    }
  }
  if (vicino != nullptr) ((messaggio += "; did you mean '") += vicino->nome) += "'?";
  return messaggio;
}

void stampa_errore_json(const std::string& messaggio, std::ostream& uscita) {
  DocumentoJson errore;
  errore["error"] = stringa_sistema_json(messaggio);
  errore["exit_status"] = kStatoStrumentoUso;
  scrivi_documento(errore, uscita);
}

// Where a command line goes wrong, the tool says so on one line and points at
// the help; with --json the object on standard output says it too.
struct Chiamata {
  std::string nome;  // "scenario_tool" or "scenario_tool compile"
  std::string aiuto;  // "scenario_tool help" or "scenario_tool help compile"
  bool json = false;
  Uscite& uscite;
};

Chiamata chiamata_di(const std::string& comando, bool json, Uscite& uscite) {
  const std::string strumento = "scenario_tool";
  if (comando.empty()) return {strumento, strumento + " help", json, uscite};
  const std::string nome = strumento + " " + comando;
  return {nome, comando == "help" ? nome : strumento + " help " + comando, json, uscite};
}

int errore_uso(const Chiamata& chi, const std::string& messaggio) {
  chi.uscite.errori << chi.nome << ": " << messaggio << " (see '" << chi.aiuto << "')\n";
  if (chi.json) stampa_errore_json(messaggio, chi.uscite.uscita);
  return kStatoStrumentoUso;
}

// A failure that is no misuse, such as a file that cannot be read: its line,
// and the object with --json.
int fallimento(const Chiamata& chi, const std::string& messaggio) {
  chi.uscite.errori << chi.nome << ": " << messaggio << "\n";
  if (chi.json) stampa_errore_json(messaggio, chi.uscite.uscita);
  return kStatoStrumentoUso;
}

// Standard output must have taken every byte (a full disk or a closed pipe
// makes it fail): a result cut short is never a success.
int dopo_la_scrittura(const Chiamata& chi, int stato) {
  std::ostream& uscita = chi.uscite.uscita;
  uscita.flush();
  if (uscita.good()) return stato;
  chi.uscite.errori << chi.nome << ": cannot write the output"
                    << " (standard output failed: disk full or pipe closed)\n";
  return kStatoStrumentoUso;
}

// "help" alone, or "help COMMAND".
int aiuto(const std::vector<std::string>& argomenti, const Chiamata& chi) {
  const std::optional<Argomenti> letti = analizza_argomenti(argomenti, kFormaAiuto);
  if (!letti || letti->posizionali.empty()) {
    chi.uscite.uscita << uso_generale();
  } else {
    const Comando* comando = trova_comando(letti->posizionali.front());
    if (comando == nullptr) return errore_uso(chi, comando_sconosciuto(letti->posizionali.front()));
    chi.uscite.uscita << comando->uso;
  }
  return dopo_la_scrittura(chi, kStatoStrumentoOk);
}

int esegui_comando(const Comando& comando, const std::vector<std::string>& argomenti,
                   const Chiamata& chi) {
  const std::optional<Argomenti> letti = analizza_argomenti(argomenti, comando.forma);
  if (!letti) {
    chi.uscite.uscita << comando.uso;
    return dopo_la_scrittura(chi, kStatoStrumentoOk);
  }
  return dopo_la_scrittura(chi, comando.esegui(*letti, chi.uscite));
}

int smista(const std::vector<std::string>& argomenti, Uscite& uscite) {
  // With --json every outcome is one object on standard output, failures included.
  const bool json = std::find(argomenti.begin(), argomenti.end(), "--json") != argomenti.end();
  if (argomenti.empty()) return errore_uso(chiamata_di("", json, uscite), "no command given");
  const std::string& nome = argomenti.front();
  const std::vector<std::string> resto(argomenti.begin() + 1, argomenti.end());
  if (nome == "--help" || nome == "-h") return aiuto({}, chiamata_di("", json, uscite));
  if (nome == "--version") {
    uscite.uscita << testo_versione("scenario_tool") << "\n";
    return dopo_la_scrittura(chiamata_di("", json, uscite), kStatoStrumentoOk);
  }
  const Comando* comando = trova_comando(nome);
  const Chiamata chi = chiamata_di(nome == "help" || comando != nullptr ? nome : "", json, uscite);
  try {
    if (nome == "help") return aiuto(resto, chi);
    if (comando == nullptr) return errore_uso(chi, comando_sconosciuto(nome));
    return esegui_comando(*comando, resto, chi);
  } catch (const std::bad_alloc&) {
    return fallimento(chi, "out of memory");
  } catch (const ErroreUso& uso) {
    return errore_uso(chi, uso.what());
  } catch (const ErroreFile& guasto) {
    return fallimento(chi, guasto.what());
  }
}

}  // namespace

int esegui_scenario_tool(const std::vector<std::string>& argomenti, std::ostream& uscita,
                         std::ostream& errori) {
  Uscite uscite{uscita, errori};
  return smista(argomenti, uscite);
}

}  // namespace gs
