// The frame of the page: the <svg> element with its style sheet and white
// page, the title with a summary of the tables, and the legend beneath it.
#pragma once

#include <string>
#include <string_view>

#include "documents/grafico_svg_contenuto.h"

namespace gs::grafico {

// Opens the document, titled `titolo` (UTF-8), and lays the blank page;
// chiudi_documento() ends it.
void apri_documento(std::string& svg, std::string_view titolo);
void chiudi_documento(std::string& svg);

// `titolo` (UTF-8) at the top, and beneath it how long the track is and how
// many features of each kind the tables hold.
void disegna_titolo(std::string& svg, std::string_view titolo, const Contenuto& c);

// One row of swatches with their words, beneath the title.
void disegna_legenda(std::string& svg);

}  // namespace gs::grafico
