#include "base/cartella_di_lavoro.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>

#include "base/errore_file.h"
#include "base/file_system.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <stdlib.h>
#include <unistd.h>
#endif

namespace gs {
namespace {

namespace fs = std::filesystem;

constexpr const char* kPrefisso = ".genera_scenario-";  // then six characters of its own

#ifdef _WIN32

std::wstring largo(const std::string& percorso) { return fs::path(percorso).wstring(); }

// A new directory under an unused random name; CreateDirectory never goes
// through an existing name.
std::string crea_cartella_unica(const Cartella& destinazione) {
  std::random_device caso;
  for (int tentativo = 0; tentativo < 100; ++tentativo) {
    std::string nome = kPrefisso;
    nome += std::to_string(caso() % 1000000);
    const std::string percorso = destinazione.file(nome);
    if (CreateDirectoryW(largo(percorso).c_str(), nullptr)) return percorso;
    if (GetLastError() != ERROR_ALREADY_EXISTS) {
      throw ErroreFile("create a working directory in", destinazione.percorso,
                       std::system_category().message(static_cast<int>(GetLastError())));
    }
  }
  throw ErroreFile("create a working directory in", destinazione.percorso, "no free name");
}

void rinomina(const std::string& da, const std::string& a) {
  if (!MoveFileExW(largo(da).c_str(), largo(a).c_str(), MOVEFILE_REPLACE_EXISTING)) {
    throw ErroreFile("replace", a, std::system_category().message(static_cast<int>(GetLastError())));
  }
}

#else

std::string crea_cartella_unica(const Cartella& destinazione) {
  std::string nome = kPrefisso;
  nome += "XXXXXX";
  std::string modello = destinazione.file(nome);
  if (::mkdtemp(modello.data()) == nullptr) {
    throw ErroreFile("create a working directory in", destinazione.percorso, std::strerror(errno));
  }
  return modello;
}

// rename() replaces the name itself: a link standing there goes, its target stays.
void rinomina(const std::string& da, const std::string& a) {
  if (::rename(da.c_str(), a.c_str()) != 0) throw ErroreFile("replace", a, std::strerror(errno));
}

#endif

bool presente(const std::string& percorso) {
  std::error_code ignora;
  return fs::exists(fs::symlink_status(percorso, ignora));
}

bool e_cartella(const std::string& percorso) {
  std::error_code ignora;
  return fs::is_directory(fs::symlink_status(percorso, ignora));
}

}  // namespace

CartellaDiLavoro::CartellaDiLavoro(Cartella destinazione)
    : destinazione_(std::move(destinazione)),
      lavoro_{crea_cartella_unica(destinazione_), destinazione_.separatore} {}

CartellaDiLavoro::~CartellaDiLavoro() {
  std::error_code ignora;
  fs::remove_all(lavoro_.percorso, ignora);
}

void CartellaDiLavoro::posa(const std::vector<std::string>& da_posare,
                            const std::vector<std::string>& da_togliere) {
  for (const auto& nome : da_posare) {
    if (presente(lavoro_.file(nome)) && e_cartella(destinazione_.file(nome))) {
      throw ErroreFile("replace", destinazione_.file(nome), std::strerror(EISDIR));
    }
  }
  for (const auto& nome : da_togliere) {
    if (!presente(lavoro_.file(nome)) && e_cartella(destinazione_.file(nome))) {
      throw ErroreFile("delete", destinazione_.file(nome), std::strerror(EISDIR));
    }
  }
  for (const auto& nome : da_posare) {
    if (presente(lavoro_.file(nome))) rinomina(lavoro_.file(nome), destinazione_.file(nome));
  }
  for (const auto& nome : da_togliere) {
    if (presente(lavoro_.file(nome)) || !presente(destinazione_.file(nome))) continue;
    std::error_code errore;
    fs::remove(destinazione_.file(nome), errore);
    if (errore) throw ErroreFile("delete", destinazione_.file(nome), errore.message());
  }
}

std::string CartellaDiLavoro::percorso_finale(const std::string& percorso) const {
  const std::string radice = lavoro_.percorso + lavoro_.separatore;
  if (percorso.rfind(radice, 0) != 0) return percorso;
  return destinazione_.file(percorso.substr(radice.size()));
}

void scrivi_al_posto(const std::string& percorso, std::string_view byte) {
  const fs::path completo(percorso);
  const std::string nome = completo.filename().string();
  const fs::path cartella = completo.has_parent_path() ? completo.parent_path() : fs::path(".");
  CartellaDiLavoro lavoro(Cartella{cartella.string(), '/'});
  lavoro.in_lavoro([&](const Cartella& dove) {
    FileUscita file = sostituisci(dove.file(nome));
    file.scrivi(byte);
    file.chiudi();
  });
  lavoro.posa({nome});
}

}  // namespace gs
