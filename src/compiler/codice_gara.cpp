#include "compiler/codice_gara.h"

namespace gs {
namespace {

constexpr const char* kRiempitivoGara = "zzyyxxwwvvuuttssrrqqppkkjj";
constexpr int kCaratteriLetti = 25;

std::string chiave_delle_tabelle(const TabelleScenario& tab) {
  return chiave_gara(tab.record[kRecordTestataRipetizione].nome,
                     tab.record[kRecordTestataScenario].nome);
}

std::int32_t codice_carattere(const std::string& chiave, int posizione) {
  return static_cast<unsigned char>(chiave[static_cast<std::size_t>(posizione - 1)]);
}

}  // namespace

char minuscola_1252(char carattere) {
  const auto c = static_cast<unsigned char>(carattere);
  const bool latino = c >= 'A' && c <= 'Z';
  const bool accentata = c >= 0xC0 && c <= 0xDE && c != 0xD7;  // 0xD7 is the multiplication sign
  if (latino || accentata) return static_cast<char>(c + 0x20);
  const bool ligatura_o_caron = c == 0x8A || c == 0x8C || c == 0x8E;  // S caron, OE, Z caron
  if (ligatura_o_caron) return static_cast<char>(c + 0x10);
  if (c == 0x9F) return static_cast<char>(0xFF);  // Y diaeresis
  return carattere;
}

std::string chiave_gara(const std::string& numero_treno, const std::string& codice_scenario) {
  std::string chiave = numero_treno + codice_scenario;
  for (char& carattere : chiave) carattere = minuscola_1252(carattere);
  return chiave + kRiempitivoGara;
}

std::int32_t codice_gara_st(const TabelleScenario& tab) {
  const std::string chiave = chiave_delle_tabelle(tab);
  std::int32_t somma = 0;
  for (int p = 1; p <= kCaratteriLetti; ++p) somma += p * codice_carattere(chiave, p);
  return somma;
}

std::int32_t codice_gara_og(const TabelleScenario& tab) {
  const std::string chiave = chiave_delle_tabelle(tab);
  std::int32_t somma = 0;
  for (int p = 1; p <= kCaratteriLetti; ++p) somma += codice_carattere(chiave, p);
  return somma;
}

}  // namespace gs
