// A description file as the authors' checks see it: lines, each split into
// the fields the reader would take, with the column each starts at; and the
// small text helpers the checks use (numbers, case, near spellings).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace gs {

struct Campo {
  std::string_view testo;  // leading blanks dropped
  std::int64_t colonna = 0;  // from 1
};

struct Riga {
  std::int64_t numero = 0;  // from 1
  std::string_view testo;
  std::vector<Campo> campi;
  bool virgolette_aperte = false;  // a quote opened and not closed on this line
};

// The lines of `testo`, ended by CR LF, LF or CR, not yet split.
std::vector<Riga> righe_di(std::string_view testo);

// Splits a line at its commas as the reader takes its fields: leading blanks
// dropped, a field opening with a double quote running to the closing one.
void dividi_campi(Riga& riga);

// The numbers of a record, from fields [da, fino): a number ends at a blank as
// well as at a comma, so one field may hold several; an empty field is one.
std::vector<Campo> gettoni(const std::vector<Campo>& campi, std::size_t da, std::size_t fino);

// A whole number written in `t` (an optional sign, then digits only).
std::optional<std::int64_t> intero(std::string_view t);

std::string minuscolo(std::string_view t);
std::string senza_spazi_in_coda(std::string_view t);

// The edit distance between two texts.
std::size_t distanza(std::string_view a, std::string_view b);

// The closest of `candidati` to `scritto`, if it is close enough to be a slip.
std::optional<std::string> somigliante(std::string_view scritto,
                                       const std::vector<std::string>& candidati);

}  // namespace gs
