// The field reader: one description file held in memory and read one field or
// one number at a time, as a sequential comma-separated input, with the line
// each field came from. Also the keyword tests made on a field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace gs {

// Reads the bytes of one description file in sequence. Blanks are space and
// tab; a line end is CR LF, LF alone or CR alone. Every failure (a read at the
// end of the data, a value that is not a whole number of the requested width)
// throws ErroreEsecuzione whose message begins "file:line: ".
class LettoreCampi {
 public:
  LettoreCampi(std::string nome_file, std::string testo);

  // True when the read position stands at the end of the data.
  bool fine() const { return posizione_ == testo_.size(); }

  // A text field: leading blanks dropped, then up to the next comma or line
  // end, trailing blanks kept; one opening with a double quote runs to the
  // closing quote and the rest up to the delimiter is dropped. The delimiter
  // (one comma or one line end) is consumed.
  std::string leggi_campo();

  // A whole number: leading blanks and line ends dropped, then an optional
  // sign and decimal digits running to a blank, a comma or a line end; blanks
  // after it and then one comma or one line end, if next, are consumed.
  std::int32_t leggi_intero();
  std::int16_t leggi_intero16();
  std::uint8_t leggi_intero8();  // unsigned: 0 .. 255

  const std::string& nome_file() const { return nome_file_; }
  // The line, counted from 1, of the last field read; 0 before the first.
  std::int64_t riga() const { return riga_campo_; }

  // Throws ErroreEsecuzione: "file:line: motivo", at the last field read.
  [[noreturn]] void fallisci(const std::string& motivo) const;

 private:
  std::int64_t leggi_numero(std::int64_t minimo, std::int64_t massimo, std::string_view tipo);
  std::string_view leggi_cifre();
  void richiedi_dati() const;
  bool a_fine_riga() const;
  void consuma_fine_riga();
  void salta_spazi();
  void salta_fino_al_delimitatore();
  void consuma_delimitatore();
  std::string leggi_tra_virgolette();

  std::string nome_file_;
  std::string testo_;
  std::size_t posizione_ = 0;
  std::int64_t riga_corrente_ = 1;  // the line the read position stands on
  std::int64_t riga_campo_ = 0;
};

// Whether `chiave` occurs anywhere in `campo`, with the same case.
bool contiene(std::string_view campo, std::string_view chiave);

// Whether `chiave` occurs anywhere in `campo`, ASCII letters compared without
// case; every other byte compares as it is.
bool contiene_senza_caso(std::string_view campo, std::string_view chiave);

}  // namespace gs
