#include "json_minimo.h"

#include <cstdlib>

namespace gs::test {
namespace {

class Analizzatore {
 public:
  explicit Analizzatore(const std::string& testo) : t_(testo) {}

  ValoreJson documento() {
    ValoreJson v = valore();
    spazi();
    if (p_ != t_.size()) fallisci("text after the value");
    return v;
  }

 private:
  [[noreturn]] void fallisci(const std::string& cosa) const {
    throw std::runtime_error("JSON: " + cosa + " at " + std::to_string(p_));
  }
  void spazi() {
    while (p_ < t_.size() && (t_[p_] == ' ' || t_[p_] == '\n' || t_[p_] == '\r' || t_[p_] == '\t')) ++p_;
  }
  char prossimo() {
    spazi();
    if (p_ >= t_.size()) fallisci("end of text");
    return t_[p_];
  }
  void atteso(char c) {
    if (prossimo() != c) fallisci(std::string("expected ") + c);
    ++p_;
  }
  bool parola(const std::string& w) {
    if (t_.compare(p_, w.size(), w) != 0) return false;
    p_ += w.size();
    return true;
  }
  ValoreJson valore() {
    const char c = prossimo();
    ValoreJson v;
    if (c == '{') {
      auto oggetto = std::make_shared<ValoreJson::Oggetto>();
      ++p_;
      if (prossimo() == '}') {
        ++p_;
      } else {
        while (true) {
          std::string chiave = stringa();
          atteso(':');
          (*oggetto)[chiave] = valore();
          if (prossimo() == ',') { ++p_; continue; }
          atteso('}');
          break;
        }
      }
      v.valore = oggetto;
    } else if (c == '[') {
      auto lista = std::make_shared<ValoreJson::Lista>();
      ++p_;
      if (prossimo() == ']') {
        ++p_;
      } else {
        while (true) {
          lista->push_back(valore());
          if (prossimo() == ',') { ++p_; continue; }
          atteso(']');
          break;
        }
      }
      v.valore = lista;
    } else if (c == '"') {
      v.valore = stringa();
    } else if (parola("null")) {
      v.valore = nullptr;
    } else if (parola("true")) {
      v.valore = true;
    } else if (parola("false")) {
      v.valore = false;
    } else {
      const char* inizio = t_.c_str() + p_;
      char* fine = nullptr;
      const double numero = std::strtod(inizio, &fine);
      if (fine == inizio) fallisci("not a value");
      p_ += static_cast<std::size_t>(fine - inizio);
      v.valore = numero;
    }
    return v;
  }
  std::string stringa() {
    atteso('"');
    std::string s;
    while (true) {
      if (p_ >= t_.size()) fallisci("unterminated string");
      const char c = t_[p_++];
      if (c == '"') return s;
      if (static_cast<unsigned char>(c) < 0x20) fallisci("control byte in a string");
      if (c != '\\') { s += c; continue; }
      if (p_ >= t_.size()) fallisci("unterminated escape");
      const char e = t_[p_++];
      switch (e) {
        case '"': s += '"'; break;
        case '\\': s += '\\'; break;
        case '/': s += '/'; break;
        case 'n': s += '\n'; break;
        case 'r': s += '\r'; break;
        case 't': s += '\t'; break;
        case 'b': s += '\b'; break;
        case 'f': s += '\f'; break;
        case 'u': {
          if (p_ + 4 > t_.size()) fallisci("short \\u escape");
          const unsigned codice = static_cast<unsigned>(std::stoul(t_.substr(p_, 4), nullptr, 16));
          p_ += 4;
          if (codice < 0x80) {
            s += static_cast<char>(codice);
          } else if (codice < 0x800) {
            s += static_cast<char>(0xC0 | (codice >> 6));
            s += static_cast<char>(0x80 | (codice & 0x3F));
          } else {
            s += static_cast<char>(0xE0 | (codice >> 12));
            s += static_cast<char>(0x80 | ((codice >> 6) & 0x3F));
            s += static_cast<char>(0x80 | (codice & 0x3F));
          }
          break;
        }
        default: fallisci("unknown escape");
      }
    }
  }

  const std::string& t_;
  std::size_t p_ = 0;
};

}  // namespace

ValoreJson analizza_json(const std::string& testo) { return Analizzatore(testo).documento(); }

}  // namespace gs::test
