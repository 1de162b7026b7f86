// The line list every text writer fills, and the one procedure that writes it:
// each slot up to the end-of-list sentinel becomes a line ended by CR LF.
#pragma once

#include <array>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace gs {

// Slots 0 .. 1000; the document's lines, then the sentinel, then empty slots.
using ListaRighe = std::array<std::string, 1001>;

inline constexpr std::string_view kFineLista = "riferimento fine del file";

// A line list holding `righe` in order, closed by the sentinel.
// More than 1000 lines do not fit and throw std::length_error.
ListaRighe lista_righe(std::span<const std::string_view> righe);
ListaRighe lista_righe(std::initializer_list<std::string_view> righe);

// The document's bytes: every slot before the sentinel followed by CR LF.
// A list without a sentinel ends after slot 1000.
std::string testo_documento(const ListaRighe& lista);

// Replaces the file at `percorso` with the document. Throws ErroreFile.
void scrivi_documento(const ListaRighe& lista, const std::string& percorso);

}  // namespace gs
