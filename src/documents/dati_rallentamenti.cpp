#include "documents/dati_rallentamenti.h"

#include <string_view>
#include <vector>

namespace gs {
namespace {

constexpr std::string_view kRigaVuotaTabella =
    " |   |                            |            |          |         |            |";
constexpr int kRigheVuoteTabella = 19;

}  // namespace

ListaRighe righe_rallentamenti() {
  std::vector<std::string_view> righe = {
      "",
      "                               Modulo M. 3",
      "                           ORDINE DI RALLENTAMENTO",
      " ________________________________________________________________________________",
      "  Linea  Firenze Pisa",
      "",
      "  Si ordina al macchinista del treno 52806 di effettura i seguenti rallentamenti",
      "  _______________________________________________________________________________",
      " |   |                            |Inizio dopo |          |         |            |",
      " | N.|      FRA LE STAZIONI       | il cippo   | Velocita'|Lunghezza|Prescrizioni|",
      " |   |   (o nelle Stazioni di)    |chilometrico|          |   metri | specifiche |",
      " |___|____________________________|____________|__________|_________|____________|",
      " |   |nessuna prescrizione        |            |          |         |   ---      |",
      " |   |                            |            |          |         |   ---      |",
  };
  righe.insert(righe.end(), kRigheVuoteTabella, kRigaVuotaTabella);
  righe.insert(righe.end(), {
      " |___|____________________________|____________|__________|_________|____________|",
      "",
      "              Prescrizioni specifiche",
      " A - Da rispettare con tutto il treno (per i treni viaggiatori)",
      " B - Interessa anche la stazione di.......",
      " D - Rallentamneto N. ... e N. ...  sono contigui",
      " C - Da rispettare dalle ore ....  alle ore ..... di tutti",
      "     i giorni esclusi i seguenti:.........",
  });
  return lista_righe(righe);
}

void dati_rallentamenti(const IdentitaScenario& id, const Cartella& cartella) {
  scrivi_documento(righe_rallentamenti(), cartella.file(nome_rallentamenti(id)));
}

}  // namespace gs
