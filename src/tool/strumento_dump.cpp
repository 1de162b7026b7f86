// scenario_tool dump: a compiled file as a listing in real units, its stored
// values (--raw), or a JSON document (--json) of every value.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/formato_compilati.h"
#include "base/lettura_file.h"
#include "compiler/lettura_compilati.h"
#include "base/testo_utf8.h"
#include "base/json.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"
#include "tool/dump_valori.h"
#include "tool/unita_reali.h"

namespace gs {
namespace {

using TipoFile = TipoCompilato;

// Which compiled file the bytes are: the kind the name says, else the first
// layout the bytes fit.
TipoFile riconosci(const std::optional<TipoFile>& dal_nome, std::string_view byte) {
  if (const auto tipo = riconosci_compilato(dal_nome, byte)) return *tipo;
  throw ErroreFormato("its bytes fit none of the compiled files' layouts");
}

// ---- Text ---------------------------------------------------------------------

// The values' words joined by commas; a value that starts a line starts it
// indented by `rientro`.
std::string testo_voci(const std::vector<Voce>& voci, std::string_view rientro) {
  std::string testo;
  bool inizio_riga = true;
  for (const Voce& voce : voci) {
    if (voce.testo.empty()) continue;
    if (voce.a_capo && !testo.empty()) {
      (testo += '\n') += rientro;
      inizio_riga = true;
    }
    if (!inizio_riga) testo += ", ";
    testo += voce.testo;
    inizio_riga = false;
  }
  return testo;
}

// "kind" or "kind: values", for a record or a cell.
std::string testo_descrizione(const Descrizione& d, std::string_view separatore) {
  const std::string voci = testo_voci(d.voci, "  ");
  if (voci.empty()) return d.tipo_testo;
  std::string testo = d.tipo_testo;
  return (testo += separatore) += voci;
}

// The last index of the run that starts at `inizio`: the elements after it
// that `uguale` finds the same as the first.
template <typename Elementi, typename Uguale>
std::size_t fine_serie(const Elementi& elementi, std::size_t inizio, Uguale uguale) {
  std::size_t fine = inizio;
  while (fine + 1 < elementi.size() && uguale(inizio, fine + 1)) ++fine;
  return fine;
}

void elenca_scenario(const std::array<Record, kNumeroRecord>& record, bool grezzo,
                     std::ostream& o) {
  o << "scenario file: " << record.size() << " records (0-" << record.size() - 1 << ")\n";
  const auto vuoto = [&record](std::size_t i) {
    return ruolo_record(record[i], i) == RuoloRecord::vuoto;
  };
  for (std::size_t i = 0; i < record.size(); ++i) {
    if (vuoto(i)) {
      const std::size_t fine =
          fine_serie(record, i, [&vuoto](std::size_t, std::size_t j) { return vuoto(j); });
      o << (fine == i ? "record " : "records ") << i;
      if (fine != i) o << '-' << fine;
      o << ", empty\n";
      i = fine;
      continue;
    }
    const Descrizione d = descrivi_record(record[i], i);
    o << "record " << i << ", ";
    if (grezzo) o << d.tipo_testo << ": " << testo_campi(campi_memorizzati(record[i])) << "\n";
    else o << testo_descrizione(d, ": ") << "\n";
  }
}

// One line a run of cells the same but for their position; cell 1, which
// holds the header values, is always a run of its own.
void elenca_percorso(const std::vector<Cella>& celle, bool grezzo, std::ostream& o) {
  const auto ultima = static_cast<std::int64_t>(celle.size()) - 1;
  o << "track file: " << con_migliaia(ultima + 1) << " cells (0-" << ultima << "), 0-"
    << testo_metri(metri_cella(ultima) + kMetriPerCella - 1) << "\n";
  const auto stessa_serie = [&celle](std::size_t inizio, std::size_t j) {
    return inizio != 1 && j != 1 && celle[j] == celle[inizio];
  };
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const std::size_t fine = fine_serie(celle, i, stessa_serie);
    o << testo_celle(static_cast<std::int64_t>(i), static_cast<std::int64_t>(fine)) << ": ";
    if (grezzo) o << testo_campi(campi_memorizzati(celle[i])) << "\n";
    else o << testo_descrizione(descrivi_cella(celle[i], i), ", ") << "\n";
    i = fine;
  }
}

// What the text listing says of a profile: its size and the extent of its points.
struct Estensione {
  std::size_t punti = 0;
  std::int32_t assegnati = 0;
  double x_min = 0, x_max = 0, y_min = 0, y_max = 0;
  double x_ultimo = 0, y_ultimo = 0;
};

Estensione estensione(std::string_view byte) {
  Estensione e;
  e.punti = scorri_profilo_linea(byte, [&e](const PuntoProfilo& p) {
    if (p.etichetta == ProfiloLinea::kVuoto) return;
    const bool primo = p.indice == 0;
    e.x_min = primo ? p.x : std::min(e.x_min, p.x);
    e.x_max = primo ? p.x : std::max(e.x_max, p.x);
    e.y_min = primo ? p.y : std::min(e.y_min, p.y);
    e.y_max = primo ? p.y : std::max(e.y_max, p.y);
    e.x_ultimo = p.x;
    e.y_ultimo = p.y;
    e.assegnati = static_cast<std::int32_t>(p.indice) + 1;
  });
  return e;
}

std::string reale(double valore) {
  char testo[40];
  std::snprintf(testo, sizeof testo, "%.3f", valore);
  return testo;
}

void elenca_profilo(std::string_view byte, std::ostream& o) {
  const Estensione e = estensione(byte);
  const auto punti = static_cast<std::int64_t>(e.punti);
  o << "line profile file: " << con_migliaia(punti) << " points a column, one a metre (0-"
    << testo_metri(punti - 1) << "), " << con_migliaia(e.assegnati) << " with a value\n";
  if (e.assegnati == 0) return;
  o << "  x from " << reale(e.x_min) << " to " << reale(e.x_max) << " m\n";
  o << "  y from " << reale(e.y_min) << " to " << reale(e.y_max) << " m\n";
  o << "  last point with a value, " << con_migliaia(e.assegnati - 1) << ": x " << reale(e.x_ultimo)
    << " m, y " << reale(e.y_ultimo) << " m\n";
}

// ---- JSON ---------------------------------------------------------------------

// Opens the document: its format version and which file it describes.
void apri_documento(ScrittoreJson& j, const char* tipo) {
  j.apri_oggetto().chiave("format_version").intero(kVersioneFormatoDump);
  j.chiave("kind").stringa(tipo);
}

// The members of a record or a cell after its index (and position), the
// stored fields last with --raw.
void scrivi_descrizione(ScrittoreJson& j, const Descrizione& d, const std::vector<CampoMemorizzato>* campi) {
  j.chiave("kind").stringa(d.tipo);
  for (const Voce& voce : d.voci) {
    j.chiave(voce.chiave);
    voce.valore(j);
  }
  if (campi != nullptr) {
    j.chiave("stored");
    scrivi_campi_json(j, *campi);
  }
}

void json_scenario(const std::array<Record, kNumeroRecord>& record, bool grezzo, std::ostream& o) {
  ScrittoreJson j(o);
  apri_documento(j, "scenario");
  j.chiave("record_count").intero(static_cast<std::int64_t>(record.size()));
  j.chiave("records").apri_lista();
  for (std::size_t i = 0; i < record.size(); ++i) {
    j.apri_oggetto().chiave("index").intero(static_cast<std::int64_t>(i));
    const std::vector<CampoMemorizzato> campi = campi_memorizzati(record[i]);
    scrivi_descrizione(j, descrivi_record(record[i], i), grezzo ? &campi : nullptr);
    j.chiude_oggetto();
  }
  j.chiude_lista().chiude_oggetto();
  j.fine();
}

void json_percorso(const std::vector<Cella>& celle, bool grezzo, std::ostream& o) {
  ScrittoreJson j(o);
  apri_documento(j, "track");
  j.chiave("cell_count").intero(static_cast<std::int64_t>(celle.size()));
  j.chiave("cells").apri_lista();
  for (std::size_t i = 0; i < celle.size() && !j.guasto(); ++i) {
    const auto indice = static_cast<std::int64_t>(i);
    j.apri_oggetto().chiave("index").intero(indice).chiave("position_m").intero(metri_cella(indice));
    const std::vector<CampoMemorizzato> campi = campi_memorizzati(celle[i]);
    scrivi_descrizione(j, descrivi_cella(celle[i], i), grezzo ? &campi : nullptr);
    j.chiude_oggetto();
  }
  j.chiude_lista().chiude_oggetto();
  j.fine();
}

// The summary first, then every point with a value as [x, y], written as it
// is decoded: the document is never held whole.
void json_profilo(std::string_view byte, std::ostream& o) {
  const Estensione e = estensione(byte);
  ScrittoreJson j(o);
  apri_documento(j, "line_profile");
  j.chiave("point_count").intero(static_cast<std::int64_t>(e.punti));
  j.chiave("assigned_count").intero(e.assegnati);
  if (e.assegnati > 0) {
    j.chiave("x_range_m").apri_lista().reale(e.x_min).reale(e.x_max).chiude_lista();
    j.chiave("y_range_m").apri_lista().reale(e.y_min).reale(e.y_max).chiude_lista();
  }
  j.chiave("points").apri_lista();
  scorri_profilo_linea(byte, [&j](const PuntoProfilo& p) {
    if (p.etichetta == ProfiloLinea::kVuoto || j.guasto()) return;
    j.apri_lista().reale(p.x).reale(p.y).chiude_lista();
  });
  j.chiude_lista().chiude_oggetto();
  j.fine();
}

// With --json a refused file is still one object on standard output.
void json_errore(const std::string& messaggio, std::ostream& o) {
  ScrittoreJson j(o);
  j.apri_oggetto().chiave("error").stringa_sistema(messaggio);
  j.chiave("exit_status").intero(kStatoStrumentoUso).chiude_oggetto();
  j.fine();
}

}  // namespace

int comando_dump(const Argomenti& argomenti, Uscite& uscite) {
  const std::string percorso = argomenti.posizionali.front();
  const auto dal_nome = tipo_dal_nome(std::filesystem::path(percorso).filename().string());
  const std::string byte = leggi_compilato_forse(percorso, dal_nome);
  const bool json = argomenti.ha("--json");
  const bool grezzo = argomenti.ha("--raw");
  try {
    switch (riconosci(dal_nome, byte)) {
      case TipoFile::scenario: {
        const auto record = decodifica_file_scenario(byte);
        if (json) json_scenario(record, grezzo, uscite.uscita);
        else elenca_scenario(record, grezzo, uscite.uscita);
        break;
      }
      case TipoFile::percorso: {
        const auto celle = decodifica_file_percorso(byte);
        if (json) json_percorso(celle, grezzo, uscite.uscita);
        else elenca_percorso(celle, grezzo, uscite.uscita);
        break;
      }
      case TipoFile::profilo: {
        // The stored values of a profile are its metres already.
        if (json) json_profilo(byte, uscite.uscita);
        else elenca_profilo(byte, uscite.uscita);
        break;
      }
    }
  } catch (const ErroreFormato& formato) {
    std::string messaggio = testo_visibile(percorso);
    (messaggio += " is not a compiled file: ") += formato.what();
    uscite.errori << "scenario_tool dump: " << messaggio << "\n";
    if (json) json_errore(messaggio, uscite.uscita);
    return kStatoStrumentoUso;
  }
  return kStatoStrumentoOk;
}

}  // namespace gs
