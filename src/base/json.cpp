#include "base/json.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "base/testo_utf8.h"

namespace gs {
namespace {

void aggiungi_stringa(std::string& testo, std::string_view utf8) {
  testo += '"';
  for (const char carattere : utf8) {
    const auto c = static_cast<unsigned char>(carattere);
    switch (c) {
      case '"': testo += "\\\""; break;
      case '\\': testo += "\\\\"; break;
      case '\n': testo += "\\n"; break;
      case '\r': testo += "\\r"; break;
      case '\t': testo += "\\t"; break;
      default:
        if (c < 0x20) {
          char codice[7];
          std::snprintf(codice, sizeof codice, "\\u%04x", static_cast<unsigned>(c));
          testo += codice;
        } else {
          testo += carattere;
        }
    }
  }
  testo += '"';
}

constexpr std::size_t kBloccoUscita = 1 << 16;

}  // namespace

void ScrittoreJson::scarica_se_pieno() {
  if (destinazione_ == nullptr || testo_.size() < kBloccoUscita) return;
  destinazione_->write(testo_.data(), static_cast<std::streamsize>(testo_.size()));
  testo_.clear();
}

void ScrittoreJson::fine() {
  testo_ += '\n';
  if (destinazione_ == nullptr) return;
  destinazione_->write(testo_.data(), static_cast<std::streamsize>(testo_.size()));
  testo_.clear();
}

void ScrittoreJson::prima_del_valore() {
  scarica_se_pieno();
  if (dopo_chiave_) {
    dopo_chiave_ = false;
    return;
  }
  if (!vuoto_.empty()) {
    if (!vuoto_.back()) testo_ += ',';
    vuoto_.back() = false;
  }
}

void ScrittoreJson::apri(char parentesi) {
  prima_del_valore();
  testo_ += parentesi;
  vuoto_.push_back(true);
}

void ScrittoreJson::chiudi(char parentesi) {
  testo_ += parentesi;
  if (!vuoto_.empty()) vuoto_.pop_back();
}

ScrittoreJson& ScrittoreJson::apri_oggetto() {
  apri('{');
  return *this;
}
ScrittoreJson& ScrittoreJson::chiude_oggetto() {
  chiudi('}');
  return *this;
}
ScrittoreJson& ScrittoreJson::apri_lista() {
  apri('[');
  return *this;
}
ScrittoreJson& ScrittoreJson::chiude_lista() {
  chiudi(']');
  return *this;
}

ScrittoreJson& ScrittoreJson::chiave(std::string_view nome) {
  prima_del_valore();
  aggiungi_stringa(testo_, testo_utf8(nome));
  testo_ += ':';
  dopo_chiave_ = true;
  return *this;
}

ScrittoreJson& ScrittoreJson::stringa(std::string_view testo_1252) {
  prima_del_valore();
  aggiungi_stringa(testo_, testo_utf8(testo_1252));
  return *this;
}

ScrittoreJson& ScrittoreJson::stringa_sistema(std::string_view testo) {
  prima_del_valore();
  aggiungi_stringa(testo_, utf8_o_windows1252(testo));
  return *this;
}

ScrittoreJson& ScrittoreJson::intero(std::int64_t valore) {
  prima_del_valore();
  testo_ += std::to_string(valore);
  return *this;
}

ScrittoreJson& ScrittoreJson::reale(double valore) {
  if (!std::isfinite(valore)) return nullo();
  prima_del_valore();
  char cifre[32];
  const auto fine = std::to_chars(cifre, cifre + sizeof cifre, valore);
  testo_.append(cifre, fine.ptr);
  return *this;
}

ScrittoreJson& ScrittoreJson::booleano(bool valore) {
  prima_del_valore();
  testo_ += valore ? "true" : "false";
  return *this;
}

ScrittoreJson& ScrittoreJson::nullo() {
  prima_del_valore();
  testo_ += "null";
  return *this;
}

}  // namespace gs
