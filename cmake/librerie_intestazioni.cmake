# The header-only libraries the build uses, each from its Debian package on
# the build machine, each behind the imported target its package defines.
#
# A native build finds them with find_package. A cross build (MinGW) must not
# search the build machine's /usr/include wholesale, which holds glibc's
# headers; it sees each library's own header directory alone, through a link
# in a directory of the build tree used as a system include directory, behind
# a target of the same name. Either way the code includes <CLI/CLI.hpp> and
# <nlohmann/json.hpp> and links the same targets.

# Where the build machine's packages put their headers.
set(GS_INTESTAZIONI_HOST /usr/include CACHE PATH
    "Where the header-only libraries' Debian packages put their headers")
set(GS_INTESTAZIONI_LINK ${CMAKE_BINARY_DIR}/intestazioni)

# gs_libreria_intestazioni(PACKAGE TARGET DIRECTORY DEBIAN_PACKAGE [VERSION])
# makes TARGET give the headers in GS_INTESTAZIONI_HOST/DIRECTORY.
function(gs_libreria_intestazioni pacchetto bersaglio cartella pacchetto_debian)
  if(NOT CMAKE_CROSSCOMPILING)
    find_package(${pacchetto} ${ARGN} CONFIG REQUIRED)
    return()
  endif()
  set(origine ${GS_INTESTAZIONI_HOST}/${cartella})
  if(NOT IS_DIRECTORY ${origine})
    message(FATAL_ERROR "${pacchetto}: no ${origine} on the build machine "
                        "(install the Debian package ${pacchetto_debian})")
  endif()
  file(MAKE_DIRECTORY ${GS_INTESTAZIONI_LINK})
  file(CREATE_LINK ${origine} ${GS_INTESTAZIONI_LINK}/${cartella} SYMBOLIC)
  add_library(${bersaglio} INTERFACE IMPORTED)
  set_target_properties(${bersaglio} PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${GS_INTESTAZIONI_LINK}
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${GS_INTESTAZIONI_LINK})
endfunction()

# One line a library.
gs_libreria_intestazioni(CLI11 CLI11::CLI11 CLI libcli11-dev 2.1)
gs_libreria_intestazioni(nlohmann_json nlohmann_json::nlohmann_json nlohmann nlohmann-json3-dev 3)
gs_libreria_intestazioni(Boost Boost::headers boost libboost-dev 1.74)
