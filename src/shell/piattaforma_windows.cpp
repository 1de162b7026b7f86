#include "shell/piattaforma_windows.h"

#include <cstddef>
#include <memory>

#include "base/errore_file.h"

namespace gs {
namespace {

constexpr const char* kClasseFinestra = "GeneraScenarioAttendere";
constexpr const char* kTitolo = "genera_scenario";
constexpr int kTwipPerPollice = 1440;
constexpr int kPuntiTipograficiPerPollice = 72;
constexpr int kRisoluzioneStandard = 96;
// A fixed window with a caption and no close box: the program answers no
// message while it works, so a close box would do nothing.
constexpr DWORD kStileFinestra = WS_OVERLAPPED | WS_CAPTION;
// Longer than any path Windows gives for a module.
constexpr std::size_t kPercorsoMassimo = 1 << 16;

struct Risoluzione {
  int x = kRisoluzioneStandard;
  int y = kRisoluzioneStandard;
};

Risoluzione risoluzione_schermo() {
  Risoluzione risoluzione;
  const HDC schermo = GetDC(nullptr);
  if (schermo == nullptr) return risoluzione;
  risoluzione.x = GetDeviceCaps(schermo, LOGPIXELSX);
  risoluzione.y = GetDeviceCaps(schermo, LOGPIXELSY);
  ReleaseDC(nullptr, schermo);
  return risoluzione;
}

// Windows' own wording of a system error code, without the line end it carries.
std::string testo_errore_windows(DWORD codice) {
  char spazio[512] = {};
  const DWORD lunghezza = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                         nullptr, codice, 0, spazio, sizeof spazio, nullptr);
  std::string testo(spazio, lunghezza);
  testo.erase(testo.find_last_not_of("\r\n ") + 1);
  if (testo.empty()) return "Windows error " + std::to_string(codice);
  return testo;
}

// The full path of the running module, however long.
std::string percorso_modulo() {
  for (std::size_t spazio = MAX_PATH; spazio <= kPercorsoMassimo; spazio *= 2) {
    std::string percorso(spazio, '\0');
    const DWORD lunghezza =
        GetModuleFileNameA(nullptr, percorso.data(), static_cast<DWORD>(percorso.size()));
    if (lunghezza == 0) {
      throw ErroreFile("find the program directory from", "the program's module path",
                       testo_errore_windows(GetLastError()));
    }
    if (lunghezza < percorso.size()) {
      percorso.resize(lunghezza);
      return percorso;
    }
  }
  throw ErroreFile("find the program directory from", "the program's module path",
                   "the path is too long");
}

bool radice_di_unita(const std::string& cartella) {
  return cartella.size() == 2 && cartella[1] == ':';
}

bool registra_classe(HINSTANCE istanza) {
  WNDCLASSEXA classe{};
  classe.cbSize = sizeof classe;
  // The window answers nothing itself: the default handling paints it.
  classe.lpfnWndProc = DefWindowProcA;
  classe.hInstance = istanza;
  classe.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  classe.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
  classe.lpszClassName = kClasseFinestra;
  return RegisterClassExA(&classe) != 0;
}

// The outer size of a window whose client area is the given one.
SIZE dimensioni_esterne(const Finestra& finestra, Risoluzione risoluzione) {
  RECT area{0, 0, pixel_da_twip(finestra.larghezza_twip, risoluzione.x),
            pixel_da_twip(finestra.altezza_twip, risoluzione.y)};
  AdjustWindowRectEx(&area, kStileFinestra, FALSE, 0);
  return SIZE{area.right - area.left, area.bottom - area.top};
}

HFONT crea_carattere(const Carattere& carattere, Risoluzione risoluzione) {
  // A negative height asks for the character height, as point sizes mean.
  const int altezza = -MulDiv(carattere.punti, risoluzione.y, kPuntiTipograficiPerPollice);
  return CreateFontA(altezza, 0, 0, 0, carattere.peso, carattere.corsivo, carattere.sottolineato,
                     carattere.barrato, static_cast<DWORD>(carattere.set_caratteri),
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_DONTCARE, carattere.nome.c_str());
}

HWND crea_etichetta(HWND finestra, HINSTANCE istanza, const Etichetta& etichetta,
                    Risoluzione risoluzione) {
  return CreateWindowExA(0, "STATIC", etichetta.testo.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT,
                         pixel_da_twip(etichetta.sinistra_twip, risoluzione.x),
                         pixel_da_twip(etichetta.alto_twip, risoluzione.y),
                         pixel_da_twip(etichetta.larghezza_twip, risoluzione.x),
                         pixel_da_twip(etichetta.altezza_twip, risoluzione.y), finestra, nullptr,
                         istanza, nullptr);
}

#ifdef GS_TRATTIENI_FINESTRA_MS
// Screenshot builds only (scripts/windows --screenshot): keeps the painted
// window up, answering its messages, for GS_TRATTIENI_FINESTRA_MS milliseconds.
void trattieni_finestra() {
  const ULONGLONG fine = GetTickCount64() + GS_TRATTIENI_FINESTRA_MS;
  for (ULONGLONG adesso = GetTickCount64(); adesso < fine; adesso = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(fine - adesso), QS_ALLINPUT);
    MSG messaggio;
    while (PeekMessageA(&messaggio, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&messaggio);
      DispatchMessageA(&messaggio);
    }
  }
}
#endif

}  // namespace

int pixel_da_twip(int twip, int punti_per_pollice) {
  return MulDiv(twip, punti_per_pollice, kTwipPerPollice);
}

Cartella cartella_del_modulo(const std::string& percorso_modulo) {
  const std::size_t separatore = percorso_modulo.find_last_of("\\/");
  if (separatore == std::string::npos) return Cartella{".", '\\'};
  std::string cartella = percorso_modulo.substr(0, separatore);
  if (radice_di_unita(cartella)) cartella += '\\';
  return Cartella{cartella, '\\'};
}

std::unique_ptr<Piattaforma> piattaforma_del_sistema(std::ostream& /*uscita*/,
                                                     std::ostream& /*errori*/) {
  return std::make_unique<PiattaformaWindows>();
}

PiattaformaWindows::~PiattaformaWindows() {
  if (finestra_ != nullptr) DestroyWindow(finestra_);
  if (carattere_ != nullptr) DeleteObject(carattere_);
  if (classe_registrata_) UnregisterClassA(kClasseFinestra, GetModuleHandleA(nullptr));
}

Cartella PiattaformaWindows::cartella_programma() const {
  return cartella_del_modulo(percorso_modulo());
}

void PiattaformaWindows::mostra_finestra(const Finestra& finestra) {
  const HINSTANCE istanza = GetModuleHandleA(nullptr);
  classe_registrata_ = registra_classe(istanza);
  if (!classe_registrata_) return;
  const Risoluzione risoluzione = risoluzione_schermo();
  const SIZE esterne = dimensioni_esterne(finestra, risoluzione);
  finestra_ =
      CreateWindowExA(0, kClasseFinestra, kTitolo, kStileFinestra, CW_USEDEFAULT, CW_USEDEFAULT,
                      esterne.cx, esterne.cy, nullptr, nullptr, istanza, nullptr);
  if (finestra_ == nullptr) return;
  const HWND etichetta = crea_etichetta(finestra_, istanza, finestra.etichetta, risoluzione);
  carattere_ = crea_carattere(finestra.carattere, risoluzione);
  if (etichetta != nullptr && carattere_ != nullptr) {
    SendMessageA(etichetta, WM_SETFONT, reinterpret_cast<WPARAM>(carattere_), FALSE);
  }
  ShowWindow(finestra_, SW_SHOWDEFAULT);
}

void PiattaformaWindows::ridisegna_finestra() {
  if (finestra_ == nullptr) return;
  RedrawWindow(finestra_, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
#ifdef GS_TRATTIENI_FINESTRA_MS
  trattieni_finestra();
#endif
}

void PiattaformaWindows::messaggio(const std::string& testo) { mostra_box(testo, MB_OK); }

void PiattaformaWindows::segnala_guasto(const std::string& descrizione) {
  mostra_box("Run stopped: " + descrizione, MB_OK | MB_ICONERROR);
}

void PiattaformaWindows::segnala_errore_scenario(const std::string& testo) {
  mostra_box(testo, MB_OK | MB_ICONWARNING);
}

void PiattaformaWindows::mostra_box(const std::string& testo, UINT stile) const {
  MessageBoxA(finestra_, testo.c_str(), kTitolo, stile);
}

}  // namespace gs
