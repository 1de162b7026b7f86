# Writes the source that tells the programs their version: the project's
# version and the commit of the source tree (short hash, "-dirty" when tracked
# files have uncommitted changes; empty when the tree is not a git checkout of
# its own). The build runs it every time, so the commit stays current; the
# file is rewritten only when its text changes, so nothing rebuilds otherwise.
#
#   cmake -DSORGENTE=DIR -DVERSIONE=X.Y -DGIT=PATH -DDESTINAZIONE=FILE.cpp -P versione.cmake
foreach(variabile SORGENTE VERSIONE DESTINAZIONE)
  if(NOT DEFINED ${variabile})
    message(FATAL_ERROR "versione.cmake: ${variabile} is not set")
  endif()
endforeach()

set(commit "")
if(GIT AND EXISTS "${GIT}")
  # Only the tree's own repository counts, not one it happens to sit inside.
  execute_process(COMMAND "${GIT}" rev-parse --show-toplevel
                  WORKING_DIRECTORY "${SORGENTE}"
                  RESULT_VARIABLE esito OUTPUT_VARIABLE radice
                  OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
  if(esito EQUAL 0)
    file(REAL_PATH "${radice}" radice)
    file(REAL_PATH "${SORGENTE}" sorgente)
  endif()
  if(esito EQUAL 0 AND radice STREQUAL sorgente)
    execute_process(COMMAND "${GIT}" rev-parse --short HEAD
                    WORKING_DIRECTORY "${SORGENTE}"
                    RESULT_VARIABLE esito OUTPUT_VARIABLE hash
                    OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
    if(esito EQUAL 0 AND hash MATCHES "^[0-9a-f]+$")
      set(commit "${hash}")
      # --no-optional-locks: reading the state must not take the index lock
      # from a git command running beside the build.
      execute_process(COMMAND "${GIT}" --no-optional-locks status --porcelain
                              --untracked-files=no
                      WORKING_DIRECTORY "${SORGENTE}"
                      RESULT_VARIABLE esito OUTPUT_VARIABLE modifiche ERROR_QUIET)
      if(NOT esito EQUAL 0 OR NOT modifiche STREQUAL "")
        string(APPEND commit "-dirty")
      endif()
    endif()
  endif()
endif()

set(testo "// Written by the build (cmake/versione.cmake); not kept in the repository.
#include \"base/versione.h\"

namespace gs {

const char* versione_progetto() { return \"${VERSIONE}\"; }
const char* commit_sorgente() { return \"${commit}\"; }

}  // namespace gs
")

set(attuale "")
if(EXISTS "${DESTINAZIONE}")
  file(READ "${DESTINAZIONE}" attuale)
endif()
if(NOT attuale STREQUAL testo)
  file(WRITE "${DESTINAZIONE}" "${testo}")
endif()
