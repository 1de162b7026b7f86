// scenario_tool dump: a compiled file as a readable listing or as JSON.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>

#include "compiler/formato_compilati.h"
#include "base/lettura_file.h"
#include "compiler/lettura_compilati.h"
#include "base/testo_utf8.h"
#include "base/json.h"
#include "tool/strumento.h"
#include "tool/strumento_comandi.h"
#include "tool/unita_reali.h"

namespace gs {
namespace {

using TipoFile = TipoCompilato;

bool finisce_con(const std::string& testo, const std::string& coda) {
  return testo.size() >= coda.size() &&
         testo.compare(testo.size() - coda.size(), coda.size(), coda) == 0;
}

// Which compiled file a name says it is, if it says.
std::optional<TipoFile> tipo_dal_nome(const std::string& nome) {
  if (finisce_con(nome, "_linea.dat")) return TipoFile::profilo;
  if (finisce_con(nome, ".sim")) return TipoFile::scenario;
  if (finisce_con(nome, ".dat")) return TipoFile::percorso;
  return std::nullopt;
}

// Which compiled file the bytes are: the kind the name says, else the first
// layout the bytes fit.
TipoFile riconosci(const std::optional<TipoFile>& dal_nome, const std::string& byte) {
  if (dal_nome) return *dal_nome;
  const TipoFile tipi[] = {TipoFile::scenario, TipoFile::profilo, TipoFile::percorso};
  for (const TipoFile tipo : tipi) {
    if (byte.size() > byte_massimi(tipo)) continue;
    try {
      switch (tipo) {
        case TipoFile::scenario: decodifica_file_scenario(byte); break;
        case TipoFile::profilo: scorri_profilo_linea(byte, [](const PuntoProfilo&) {}); break;
        case TipoFile::percorso: decodifica_file_percorso(byte); break;
      }
      return tipo;
    } catch (const ErroreFormato&) {
    }
  }
  throw ErroreFormato("its bytes fit none of the compiled files' layouts");
}

const char* ruolo_record(std::size_t indice) {
  switch (indice) {
    case 0: return "unused";
    case kRecordProgressivaTre: return "progressive three";
    case kRecordProgressivaDue: return "progressive two";
    case kRecordProgressivaUno: return "progressive one";
    case kRecordTestataTreno: return "train header: braked mass, line length, coaches";
    case kRecordTestataScenario: return "scenario header: backgrounds, code, stamp, race code";
    case kRecordTestataRipetizione: return "train header: signal repetition, number, sand, clock";
    default: return "station or sign";
  }
}

// The numeric fields of a record or a cell, in file order, with their names;
// a record's name is listed apart.
template <typename Struttura, typename Visita>
void campi_numerici(const Struttura& s, Visita visita) {
  const auto numerico = [&visita](std::string_view nome, const auto& valore) {
    if constexpr (!std::is_same_v<std::decay_t<decltype(valore)>, std::string>) {
      visita(nome, static_cast<long long>(valore));
    }
  };
  if constexpr (std::is_same_v<Struttura, Record>) {
    formato::campi_record(s, numerico);
  } else {
    formato::campi_cella(s, numerico);
  }
}

std::string reale(double valore) {
  char testo[40];
  std::snprintf(testo, sizeof testo, "%.3f", valore);
  return testo;
}

void elenca_scenario(const std::array<Record, kNumeroRecord>& record, std::ostream& o) {
  o << "scenario file: 87 records";
  const auto vuoti = std::count(record.begin(), record.end(), Record{});
  o << ", " << vuoti << " empty (not listed)\n";
  for (std::size_t i = 0; i < record.size(); ++i) {
    const Record& r = record[i];
    if (r == Record{}) continue;
    o << "record " << i << " (" << ruolo_record(i) << ")\n  name \"" << testo_utf8(r.nome)
      << "\"\n ";
    campi_numerici(r, [&o](std::string_view nome, long long valore) {
      o << " " << nome << "=" << valore;
    });
    o << "\n";
  }
}

void elenca_percorso(const std::vector<Cella>& celle, std::ostream& o) {
  const auto piane = std::count_if(celle.begin(), celle.end(),
                                   [](const Cella& c) { return c.tipo == kCellaLibera; });
  o << "track file: " << celle.size() << " cells (0 .. " << celle.size() - 1 << "), " << piane
    << " plain track (not listed)\n";
  for (std::size_t i = 0; i < celle.size(); ++i) {
    const Cella& c = celle[i];
    if (c.tipo == kCellaLibera) continue;
    o << "cell " << i << " at " << i * 50 << " m: " << nome_tipo_cella(c.tipo) << "\n ";
    campi_numerici(c, [&o](std::string_view nome, long long valore) {
      if (nome != "type") o << " " << nome << "=" << valore;
    });
    o << "\n";
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

void elenca_profilo(std::string_view byte, std::ostream& o) {
  const Estensione e = estensione(byte);
  o << "line profile file: " << e.punti << " points a column (0 .. " << e.punti - 1
    << " m), " << e.assegnati << " with a value\n";
  if (e.assegnati == 0) return;
  o << "  x from " << reale(e.x_min) << " to " << reale(e.x_max) << " m\n";
  o << "  y from " << reale(e.y_min) << " to " << reale(e.y_max) << " m\n";
  o << "  last point " << e.assegnati - 1 << ": (" << reale(e.x_ultimo) << ", "
    << reale(e.y_ultimo) << ")\n";
}

void json_scenario(const std::array<Record, kNumeroRecord>& record, std::ostream& o) {
  ScrittoreJson j(o);
  j.apri_oggetto().chiave("file_kind").stringa("scenario").chiave("records").apri_lista();
  for (std::size_t i = 0; i < record.size(); ++i) {
    j.apri_oggetto().chiave("index").intero(static_cast<std::int64_t>(i));
    j.chiave("role").stringa(ruolo_record(i));
    j.chiave("name").stringa(record[i].nome);
    campi_numerici(record[i],
                   [&j](std::string_view nome, long long valore) { j.chiave(nome).intero(valore); });
    j.chiude_oggetto();
  }
  j.chiude_lista().chiude_oggetto();
  j.fine();
}

void json_percorso(const std::vector<Cella>& celle, std::ostream& o) {
  ScrittoreJson j(o);
  j.apri_oggetto().chiave("file_kind").stringa("track");
  j.chiave("cell_count").intero(static_cast<std::int64_t>(celle.size()));
  j.chiave("cells").apri_lista();
  for (std::size_t i = 0; i < celle.size() && !j.guasto(); ++i) {
    j.apri_oggetto().chiave("index").intero(static_cast<std::int64_t>(i));
    j.chiave("type_name").stringa(nome_tipo_cella(celle[i].tipo));
    campi_numerici(celle[i],
                   [&j](std::string_view nome, long long valore) { j.chiave(nome).intero(valore); });
    j.chiude_oggetto();
  }
  j.chiude_lista().chiude_oggetto();
  j.fine();
}

// The summary first, then every assigned point as [x, y], written as it is
// decoded.
void json_profilo(std::string_view byte, std::ostream& o) {
  const Estensione e = estensione(byte);
  ScrittoreJson j(o);
  j.apri_oggetto().chiave("file_kind").stringa("line_profile");
  j.chiave("points").intero(static_cast<std::int64_t>(e.punti));
  j.chiave("assigned").intero(e.assegnati);
  if (e.assegnati > 0) {
    j.chiave("x_min").reale(e.x_min).chiave("x_max").reale(e.x_max);
    j.chiave("y_min").reale(e.y_min).chiave("y_max").reale(e.y_max);
    j.chiave("last_point").apri_lista().reale(e.x_ultimo).reale(e.y_ultimo).chiude_lista();
  }
  j.chiave("assigned_points").apri_lista();
  scorri_profilo_linea(byte, [&j](const PuntoProfilo& p) {
    if (p.etichetta == ProfiloLinea::kVuoto || j.guasto()) return;
    j.apri_lista().reale(p.x).reale(p.y).chiude_lista();
  });
  j.chiude_lista().chiude_oggetto();
  j.fine();
}

}  // namespace

int comando_dump(const Argomenti& argomenti, Uscite& uscite) {
  const std::string percorso = argomenti.posizionali.front();
  const auto dal_nome = tipo_dal_nome(std::filesystem::path(percorso).filename().string());
  const std::uint64_t massimi = dal_nome ? byte_massimi(*dal_nome)
                                         : std::max({byte_massimi(TipoFile::scenario),
                                                     byte_massimi(TipoFile::percorso),
                                                     byte_massimi(TipoFile::profilo)});
  const std::string byte = leggi_file_regolare(percorso, massimi);
  const bool json = argomenti.ha("--json");
  try {
    switch (riconosci(dal_nome, byte)) {
      case TipoFile::scenario: {
        const auto record = decodifica_file_scenario(byte);
        if (json) json_scenario(record, uscite.uscita);
        else elenca_scenario(record, uscite.uscita);
        break;
      }
      case TipoFile::percorso: {
        const auto celle = decodifica_file_percorso(byte);
        if (json) json_percorso(celle, uscite.uscita);
        else elenca_percorso(celle, uscite.uscita);
        break;
      }
      case TipoFile::profilo: {
        if (json) json_profilo(byte, uscite.uscita);
        else elenca_profilo(byte, uscite.uscita);
        break;
      }
    }
  } catch (const ErroreFormato& formato) {
    uscite.errori << "scenario_tool dump: " << testo_visibile(percorso)
                  << " is not a compiled file: " << formato.what() << "\n";
    return kStatoStrumentoUso;
  }
  return kStatoStrumentoOk;
}

}  // namespace gs
