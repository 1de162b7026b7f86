#include "tool/unita_reali.h"

#include <cstdio>
#include <cstdlib>

#include "base/arrotondamento.h"

namespace gs {

std::string con_migliaia(std::int64_t numero) {
  const bool negativo = numero < 0;
  // The magnitude as unsigned, so the most negative number has one too.
  std::uint64_t resto = negativo ? 0 - static_cast<std::uint64_t>(numero)
                                 : static_cast<std::uint64_t>(numero);
  std::string cifre;
  int gruppo = 0;
  do {
    if (gruppo == 3) {
      cifre.insert(cifre.begin(), ',');
      gruppo = 0;
    }
    cifre.insert(cifre.begin(), static_cast<char>('0' + resto % 10));
    resto /= 10;
    ++gruppo;
  } while (resto > 0);
  if (negativo) cifre.insert(cifre.begin(), '-');
  return cifre;
}

std::string testo_km(std::int64_t metri) {
  const auto centesimi = static_cast<std::int64_t>(arrotonda_pari(static_cast<double>(metri) / 10.0));
  const std::uint64_t modulo = centesimi < 0 ? 0 - static_cast<std::uint64_t>(centesimi)
                                             : static_cast<std::uint64_t>(centesimi);
  char testo[40];
  std::snprintf(testo, sizeof testo, "%s%llu.%02llu", centesimi < 0 ? "-" : "",
                static_cast<unsigned long long>(modulo / 100),
                static_cast<unsigned long long>(modulo % 100));
  return testo;
}

std::string testo_orario(std::int64_t secondi) {
  const std::uint64_t modulo = secondi < 0 ? 0 - static_cast<std::uint64_t>(secondi)
                                           : static_cast<std::uint64_t>(secondi);
  char testo[48];
  std::snprintf(testo, sizeof testo, "%s%02llu:%02llu:%02llu", secondi < 0 ? "-" : "",
                static_cast<unsigned long long>(modulo / 3600),
                static_cast<unsigned long long>(modulo / 60 % 60),
                static_cast<unsigned long long>(modulo % 60));
  return testo;
}

std::string con_segno(std::int64_t numero) {
  return numero > 0 ? std::string("+") += std::to_string(numero) : std::to_string(numero);
}

std::string testo_orologio(std::int64_t ore, std::int64_t minuti, std::int64_t secondi) {
  char testo[80];
  std::snprintf(testo, sizeof testo, "%02lld:%02lld:%02lld", static_cast<long long>(ore),
                static_cast<long long>(minuti), static_cast<long long>(secondi));
  return testo;
}

std::string testo_metri(std::int64_t metri) { return con_migliaia(metri) += " m"; }

std::string testo_celle(std::int64_t prima, std::int64_t ultima) {
  std::string testo(prima == ultima ? "cell " : "cells ");
  testo += std::to_string(prima);
  if (prima != ultima) (testo += '-') += std::to_string(ultima);
  testo += ", ";
  testo += con_migliaia(metri_cella(prima));
  testo += '-';
  testo += con_migliaia(metri_cella(ultima) + kMetriPerCella - 1);
  return testo += " m";
}

namespace {

// A value's tens and units; a negative value (not written by the recorders)
// keeps its sign in both.
void decine_e_unita(int valore, int& decine, int& unita) {
  decine = valore / 10;
  unita = valore % 10;
}

}  // namespace

AspettiSegnale aspetti_segnale(const Cella& cella) {
  AspettiSegnale a;
  const std::int16_t valori[3] = {cella.valore1, cella.valore2, cella.valore3};
  for (int i = 0; i < 3; ++i) decine_e_unita(valori[i], a.cifre_sinistre[i], a.cifre_destre[i]);
  int tipi = 0;
  decine_e_unita(cella.valore4, a.rapp, tipi);
  a.tipo_sinistro = tipi / 3;
  a.tipo_destro = tipi % 3;
  return a;
}

CoppiaVelocita coppia_velocita(std::int16_t codice) {
  return {codice / 100 * kKmhPerPasso, codice % 100 * kKmhPerPasso};
}

Strisce strisce_indicatore(std::int16_t codice) { return {codice / 10, codice % 10}; }

std::string nome_tipo_cella(std::uint8_t tipo) {
  switch (tipo) {
    case kCellaLibera: return "plain track";
    case kCellaSegnale: return "signal";
    case kCellaFineRallentamento: return "slowdown end";
    case kCellaInizioRallentamento: return "slowdown start";
    case kCellaAvvisoRallentamento: return "slowdown warning board";
    case kCellaAvvicinamentoRallentamento: return "slowdown approach";
    case kCellaIndicatoreVelocita: return "speed indicator board";
    case kCellaFermata: return "stop marker";
    case kCellaMontagna: return "mountain mark";
    case kCellaAbbattimento: return "abbattimento marker";
    case kCellaAbbattimentoSenzaValore: return "abbattimento marker without value";
    case kCellaCartello: return "sign";
    default: return std::string("unknown type ") += std::to_string(tipo);
  }
}

}  // namespace gs
