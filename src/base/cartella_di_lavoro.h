// A set of files replaced together: written first into a private working
// directory inside the destination, then moved into place one rename each.
// A failure before the renames leaves the destination as it was, byte for
// byte; a link standing at a destination name is replaced, never followed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/cartella.h"
#include "base/errore_file.h"

namespace gs {

class CartellaDiLavoro {
 public:
  // Makes a new directory, readable by its owner only, inside `destinazione`.
  // Throws ErroreFile naming `destinazione`.
  explicit CartellaDiLavoro(Cartella destinazione);
  // Removes the working directory and whatever is still in it.
  ~CartellaDiLavoro();
  CartellaDiLavoro(const CartellaDiLavoro&) = delete;
  CartellaDiLavoro& operator=(const CartellaDiLavoro&) = delete;

  // Where the files of the set are written.
  const Cartella& cartella() const { return lavoro_; }
  const Cartella& destinazione() const { return destinazione_; }

  // Moves each of `da_posare` that the working directory holds into the
  // destination, in order, replacing what stands at its name; then removes
  // from the destination each of `da_togliere` that the working directory
  // does not hold. Every destination name is checked before the first rename
  // (a directory there stops the set whole, and is never removed). Throws
  // ErroreFile naming the destination path.
  void posa(const std::vector<std::string>& da_posare,
            const std::vector<std::string>& da_togliere = {});

  // `percorso` with the working directory in it replaced by the destination,
  // for messages about files of the set; any other path as it is.
  std::string percorso_finale(const std::string& percorso) const;

  // Runs `scrivi` on the working directory and returns what it returns; an
  // ErroreFile it throws comes out naming the file's destination path.
  template <typename Scrivi>
  auto in_lavoro(Scrivi&& scrivi) const {
    try {
      return scrivi(lavoro_);
    } catch (const ErroreFile& guasto) {
      throw ErroreFile(guasto.operazione(), percorso_finale(guasto.percorso()), guasto.motivo());
    }
  }

 private:
  Cartella destinazione_;
  Cartella lavoro_;
};

// One file replaced the same way: `byte` written apart in the directory of
// `percorso`, then renamed over it. Throws ErroreFile naming `percorso`.
void scrivi_al_posto(const std::string& percorso, std::string_view byte);

}  // namespace gs
