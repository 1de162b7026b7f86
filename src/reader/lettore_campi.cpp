#include "reader/lettore_campi.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

#include "reader/errore_esecuzione.h"

namespace gs {
namespace {

bool spazio(char c) { return c == ' ' || c == '\t'; }
bool cifra(char c) { return c >= '0' && c <= '9'; }

char minuscola(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Past this the digits of a number no longer matter: it fits no field.
constexpr std::int64_t kOltreOgniCampo = std::int64_t{1} << 40;

// An optional "+" or "-" and one or more decimal digits; nothing else is a
// whole number. Values beyond every field's range stop growing.
std::optional<std::int64_t> valore_intero(std::string_view cifre) {
  std::size_t i = 0;
  const bool negativo = !cifre.empty() && cifre[0] == '-';
  if (!cifre.empty() && (cifre[0] == '-' || cifre[0] == '+')) ++i;
  if (i == cifre.size()) return std::nullopt;
  std::int64_t valore = 0;
  for (; i < cifre.size(); ++i) {
    if (!cifra(cifre[i])) return std::nullopt;
    valore = std::min(valore * 10 + (cifre[i] - '0'), kOltreOgniCampo);
  }
  return negativo ? -valore : valore;
}

}  // namespace

LettoreCampi::LettoreCampi(std::string nome_file, std::string testo)
    : nome_file_(std::move(nome_file)), testo_(std::move(testo)) {}

std::string LettoreCampi::leggi_campo() {
  richiedi_dati();
  salta_spazi();
  riga_campo_ = riga_corrente_;
  if (!fine() && testo_[posizione_] == '"') {
    std::string campo = leggi_tra_virgolette();
    salta_fino_al_delimitatore();
    consuma_delimitatore();
    return campo;
  }
  const std::size_t inizio = posizione_;
  salta_fino_al_delimitatore();
  std::string campo = testo_.substr(inizio, posizione_ - inizio);
  consuma_delimitatore();
  return campo;
}

std::int32_t LettoreCampi::leggi_intero() {
  return static_cast<std::int32_t>(leggi_numero(std::numeric_limits<std::int32_t>::min(),
                                                std::numeric_limits<std::int32_t>::max(),
                                                "a 32-bit whole number"));
}

std::int16_t LettoreCampi::leggi_intero16() {
  return static_cast<std::int16_t>(leggi_numero(std::numeric_limits<std::int16_t>::min(),
                                                std::numeric_limits<std::int16_t>::max(),
                                                "a 16-bit whole number"));
}

std::uint8_t LettoreCampi::leggi_intero8() {
  return static_cast<std::uint8_t>(leggi_numero(0, 255, "a whole number from 0 to 255"));
}

std::int64_t LettoreCampi::leggi_numero(std::int64_t minimo, std::int64_t massimo,
                                        std::string_view tipo) {
  const std::string_view cifre = leggi_cifre();
  const std::optional<std::int64_t> valore = valore_intero(cifre);
  if (!valore) {
    fallisci((cifre.empty() ? std::string("an empty field") : "'" + std::string(cifre) + "'") +
             " where " + std::string(tipo) + " is expected");
  }
  if (*valore < minimo || *valore > massimo) {
    fallisci("'" + std::string(cifre) + "' does not fit: " + std::string(tipo) + " is expected");
  }
  return *valore;
}

// The characters of the next number, after leading blanks and line ends; the
// blanks after it and one delimiter go with it.
std::string_view LettoreCampi::leggi_cifre() {
  while (!fine() && (spazio(testo_[posizione_]) || a_fine_riga())) {
    if (a_fine_riga()) {
      consuma_fine_riga();
    } else {
      ++posizione_;
    }
  }
  richiedi_dati();
  riga_campo_ = riga_corrente_;
  const std::size_t inizio = posizione_;
  while (!fine() && !spazio(testo_[posizione_]) && testo_[posizione_] != ',' && !a_fine_riga()) {
    ++posizione_;
  }
  const std::string_view cifre(testo_.data() + inizio, posizione_ - inizio);
  salta_spazi();
  consuma_delimitatore();
  return cifre;
}

void LettoreCampi::fallisci(const std::string& motivo) const {
  throw ErroreEsecuzione(nome_file_ + ":" + std::to_string(riga_campo_) + ": " + motivo);
}

void LettoreCampi::richiedi_dati() const {
  if (fine()) fallisci("read past the end of the file");
}

bool LettoreCampi::a_fine_riga() const {
  return !fine() && (testo_[posizione_] == '\r' || testo_[posizione_] == '\n');
}

// One line end: CR LF, LF alone or CR alone.
void LettoreCampi::consuma_fine_riga() {
  if (testo_[posizione_] == '\r' && posizione_ + 1 < testo_.size() &&
      testo_[posizione_ + 1] == '\n') {
    ++posizione_;
  }
  ++posizione_;
  ++riga_corrente_;
}

void LettoreCampi::salta_spazi() {
  while (!fine() && spazio(testo_[posizione_])) ++posizione_;
}

void LettoreCampi::salta_fino_al_delimitatore() {
  while (!fine() && testo_[posizione_] != ',' && !a_fine_riga()) ++posizione_;
}

// One comma or one line end, if it comes next.
void LettoreCampi::consuma_delimitatore() {
  if (fine()) return;
  if (testo_[posizione_] == ',') {
    ++posizione_;
  } else if (a_fine_riga()) {
    consuma_fine_riga();
  }
}

// From the opening quote to the closing one (or to the end of the data); the
// text between them may hold commas and line ends, which are counted.
std::string LettoreCampi::leggi_tra_virgolette() {
  ++posizione_;
  std::string campo;
  while (!fine() && testo_[posizione_] != '"') {
    if (a_fine_riga()) {
      const std::size_t inizio = posizione_;
      consuma_fine_riga();
      campo.append(testo_, inizio, posizione_ - inizio);
    } else {
      campo.push_back(testo_[posizione_++]);
    }
  }
  if (!fine()) ++posizione_;
  return campo;
}

bool contiene(std::string_view campo, std::string_view chiave) {
  return campo.find(chiave) != std::string_view::npos;
}

bool contiene_senza_caso(std::string_view campo, std::string_view chiave) {
  const auto trovato =
      std::search(campo.begin(), campo.end(), chiave.begin(), chiave.end(),
                  [](char a, char b) { return minuscola(a) == minuscola(b); });
  return trovato != campo.end() || chiave.empty();
}

}  // namespace gs
