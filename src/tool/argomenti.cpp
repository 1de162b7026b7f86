#include "tool/argomenti.h"

namespace gs {

std::string Argomenti::valore(const std::string& opzione, const std::string& predefinito) const {
  const auto trovato = valori.find(opzione);
  return trovato == valori.end() ? predefinito : trovato->second;
}

namespace {

bool sembra_opzione(const std::string& argomento) {
  return argomento.size() > 1 && argomento[0] == '-';
}

}  // namespace

Argomenti analizza_argomenti(const std::vector<std::string>& argomenti, const FormaComando& forma) {
  Argomenti letti;
  for (const std::string& argomento : argomenti) {
    if (argomento == "--help" || argomento == "-h") {
      letti.aiuto = true;
      return letti;
    }
  }
  bool solo_posizionali = false;
  for (std::size_t i = 0; i < argomenti.size(); ++i) {
    const std::string& argomento = argomenti[i];
    if (solo_posizionali || !sembra_opzione(argomento)) {
      letti.posizionali.push_back(argomento);
    } else if (argomento == "--") {
      solo_posizionali = true;
    } else if (forma.interruttori.count(argomento) > 0) {
      if (!letti.interruttori.insert(argomento).second) {
        throw ErroreUso("option " + argomento + " given twice");
      }
    } else if (forma.con_valore.count(argomento) > 0) {
      if (i + 1 == argomenti.size()) throw ErroreUso("option " + argomento + " needs a value");
      if (!letti.valori.emplace(argomento, argomenti[++i]).second) {
        throw ErroreUso("option " + argomento + " given twice");
      }
    } else {
      throw ErroreUso("unknown option " + argomento);
    }
  }
  if (letti.posizionali.size() < forma.posizionali) throw ErroreUso("missing argument");
  if (letti.posizionali.size() > forma.posizionali + forma.facoltativi) {
    throw ErroreUso("too many arguments");
  }
  return letti;
}

}  // namespace gs
