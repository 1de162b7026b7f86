#include "tool/argomenti.h"

#include <CLI/CLI.hpp>

namespace gs {

std::string Argomenti::valore(const std::string& opzione, const std::string& predefinito) const {
  const auto trovato = valori.find(opzione);
  return trovato == valori.end() ? predefinito : trovato->second;
}

namespace {

bool sembra_opzione(const std::string& argomento) {
  return argomento.size() > 1 && argomento[0] == '-';
}

// An option as written, without the "=value" it may carry.
std::string senza_valore(const std::string& argomento) {
  return argomento.substr(0, argomento.find('='));
}

// The parser found an option without its value. An option takes whatever
// follows it, so only the last argument can be that option.
ErroreUso valore_mancante(const std::vector<std::string>& argomenti, const std::string& motivo) {
  if (!argomenti.empty() && sembra_opzione(argomenti.back())) {
    return ErroreUso(std::string("option ").append(senza_valore(argomenti.back())) +
                     " needs a value");
  }
  return ErroreUso(motivo);
}

// The parser's options of one form, each under the name the form gives it.
struct Opzioni {
  std::vector<std::string> posizionali;
  std::map<std::string, CLI::Option*> interruttori;
  std::map<std::string, CLI::Option*> con_valore;
};

void dichiara(CLI::App& app, const FormaComando& forma, Opzioni& opzioni) {
  // A Windows path such as /tmp or C:\x is a plain argument everywhere.
  app.allow_windows_style_options(false);
  // Unknown options are collected and named below, in the tool's own words.
  app.allow_extras();
  app.add_option("posizionali", opzioni.posizionali);
  for (const std::string& nome : forma.interruttori) {
    opzioni.interruttori[nome] = app.add_flag(nome);
  }
  for (const std::string& nome : forma.con_valore) {
    opzioni.con_valore[nome] =
        app.add_option(nome)->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
  }
}

void controlla_posizionali(const std::vector<std::string>& posizionali, const FormaComando& forma) {
  const std::size_t obbligatori = forma.posizionali.size() - forma.facoltativi;
  if (posizionali.size() < obbligatori) {
    throw ErroreUso("missing argument " + forma.posizionali[posizionali.size()]);
  }
  if (posizionali.size() > forma.posizionali.size()) {
    throw ErroreUso("too many arguments: '" + posizionali[forma.posizionali.size()] + "'");
  }
}

Argomenti letti(const CLI::App& app, const FormaComando& forma, const Opzioni& opzioni) {
  for (const std::string& resto : app.remaining()) {
    throw ErroreUso(sembra_opzione(resto)
                        ? std::string("unknown option ").append(senza_valore(resto))
                        : "unexpected argument '" + resto + "'");
  }
  Argomenti argomenti;
  for (const auto& [nome, opzione] : opzioni.interruttori) {
    if (opzione->count() == 0) continue;
    if (opzione->count() > 1) throw ErroreUso("option " + nome + " given twice");
    if (opzione->results().front() != "true") throw ErroreUso("option " + nome + " takes no value");
    argomenti.interruttori.insert(nome);
  }
  for (const auto& [nome, opzione] : opzioni.con_valore) {
    if (opzione->count() == 0) continue;
    if (opzione->count() > 1) throw ErroreUso("option " + nome + " given twice");
    argomenti.valori[nome] = opzione->results().front();
  }
  controlla_posizionali(opzioni.posizionali, forma);
  argomenti.posizionali = opzioni.posizionali;
  return argomenti;
}

}  // namespace

std::optional<Argomenti> analizza_argomenti(const std::vector<std::string>& argomenti,
                                            const FormaComando& forma) {
  CLI::App app;
  Opzioni opzioni;
  dichiara(app, forma, opzioni);
  // The parser takes the arguments last first.
  std::vector<std::string> al_contrario(argomenti.rbegin(), argomenti.rend());
  try {
    app.parse(al_contrario);
  } catch (const CLI::CallForHelp&) {
    return std::nullopt;
  } catch (const CLI::ArgumentMismatch& mancante) {
    throw valore_mancante(argomenti, mancante.what());
  } catch (const CLI::ParseError& errore) {
    throw ErroreUso(errore.what());
  }
  return letti(app, forma, opzioni);
}

}  // namespace gs
