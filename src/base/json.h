// One JSON document built piece by piece: objects, lists, strings given as
// Windows-1252 bytes or as text of unknown encoding (both written as UTF-8),
// whole and real numbers, null. Held in memory, or streamed to an output so
// that a document of any length takes bounded memory.
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace gs {

class ScrittoreJson {
 public:
  // The document is kept whole; testo() gives it.
  ScrittoreJson() = default;
  // The document goes to `destinazione` a block at a time; call fine() at the end.
  explicit ScrittoreJson(std::ostream& destinazione) : destinazione_(&destinazione) {}

  ScrittoreJson& apri_oggetto();
  ScrittoreJson& chiude_oggetto();
  ScrittoreJson& apri_lista();
  ScrittoreJson& chiude_lista();
  // A member's name; its value must follow.
  ScrittoreJson& chiave(std::string_view nome);
  ScrittoreJson& stringa(std::string_view testo_1252);
  // Text as it comes from the system, such as a file name: valid UTF-8 stays
  // as it is, any other byte is taken as Windows-1252.
  ScrittoreJson& stringa_sistema(std::string_view testo);
  ScrittoreJson& intero(std::int64_t valore);
  // Shortest text that reads back to the same double; NaN and infinities as null.
  ScrittoreJson& reale(double valore);
  ScrittoreJson& booleano(bool valore);
  ScrittoreJson& nullo();

  // What is not yet handed to the destination (all of it, without one).
  const std::string& testo() const { return testo_; }
  // Hands the rest to the destination, followed by a line end.
  void fine();
  // True once the destination has failed: a long document may stop early.
  bool guasto() const { return destinazione_ != nullptr && !destinazione_->good(); }

 private:
  void prima_del_valore();
  void scarica_se_pieno();
  void apri(char parentesi);
  void chiudi(char parentesi);

  std::ostream* destinazione_ = nullptr;
  std::string testo_;
  std::vector<bool> vuoto_;  // per open object or list: nothing written in it yet
  bool dopo_chiave_ = false;
};

}  // namespace gs
