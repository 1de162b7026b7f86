#include "tool/sorveglianza.h"

#include <system_error>
#include <utility>

namespace gs {

namespace fs = std::filesystem;

StatoFile stato_file(const std::string& percorso) {
  std::error_code errore;
  StatoFile stato;
  stato.dimensione = fs::file_size(percorso, errore);
  if (errore) return {};
  stato.modifica = fs::last_write_time(percorso, errore);
  if (errore) return {};
  stato.presente = true;
  return stato;
}

Sorveglianza::Sorveglianza(std::vector<std::string> percorsi)
    : percorsi_(std::move(percorsi)), stati_(guarda()) {}

std::vector<StatoFile> Sorveglianza::guarda() const {
  std::vector<StatoFile> stati;
  stati.reserve(percorsi_.size());
  for (const std::string& percorso : percorsi_) stati.push_back(stato_file(percorso));
  return stati;
}

bool Sorveglianza::cambiata() {
  std::vector<StatoFile> adesso = guarda();
  if (adesso == stati_) return false;
  stati_ = std::move(adesso);
  return true;
}

SorveglianzaPeriodica::SorveglianzaPeriodica(Sorveglianza sorveglianza,
                                             std::chrono::milliseconds intervallo,
                                             std::function<void()> su_cambio)
    : sorveglianza_(std::move(sorveglianza)),
      intervallo_(intervallo),
      su_cambio_(std::move(su_cambio)),
      filo_([this] { ciclo(); }) {}

SorveglianzaPeriodica::~SorveglianzaPeriodica() { ferma(); }

void SorveglianzaPeriodica::ferma() {
  {
    const std::lock_guard<std::mutex> blocco(guardia_);
    fermata_ = true;
  }
  sveglia_.notify_all();
  if (filo_.joinable()) filo_.join();
}

bool SorveglianzaPeriodica::attendi() {
  std::unique_lock<std::mutex> blocco(guardia_);
  return !sveglia_.wait_for(blocco, intervallo_, [this] { return fermata_; });
}

void SorveglianzaPeriodica::ciclo() {
  bool da_rifare = false;
  while (attendi()) {
    if (!sorveglianza_.cambiata() && !da_rifare) continue;
    try {
      su_cambio_();
      da_rifare = false;
    } catch (...) {
      // Out of memory while the model was built, say: the next look tries again.
      da_rifare = true;
    }
  }
}

}  // namespace gs
