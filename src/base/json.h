// One JSON document built piece by piece: objects, lists, strings given as
// Windows-1252 bytes (written as UTF-8), whole and real numbers, null.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace gs {

class ScrittoreJson {
 public:
  ScrittoreJson& apri_oggetto();
  ScrittoreJson& chiude_oggetto();
  ScrittoreJson& apri_lista();
  ScrittoreJson& chiude_lista();
  // A member's name; its value must follow.
  ScrittoreJson& chiave(std::string_view nome);
  ScrittoreJson& stringa(std::string_view testo_1252);
  ScrittoreJson& intero(std::int64_t valore);
  // Shortest text that reads back to the same double; NaN and infinities as null.
  ScrittoreJson& reale(double valore);
  ScrittoreJson& booleano(bool valore);
  ScrittoreJson& nullo();

  const std::string& testo() const { return testo_; }

 private:
  void prima_del_valore();
  void apri(char parentesi);
  void chiudi(char parentesi);

  std::string testo_;
  std::vector<bool> vuoto_;  // per open object or list: nothing written in it yet
  bool dopo_chiave_ = false;
};

}  // namespace gs
