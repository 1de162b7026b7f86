# Writes a C++ source holding the viewer page's three files as they are, each
# a raw string literal. Called with
# -DHTML= -DCSS= -DJS= -DDESTINAZIONE=; the build runs it when one of them changes.
set(delimitatore "gs_vista")
set(sorgente "// Generated from src/tool/vista at build time: edit those files, not this one.\n")
string(APPEND sorgente "#include \"tool/vista_risorse.h\"\n\nnamespace gs::risorse_vista {\n\n")
foreach(coppia "kHtml;${HTML}" "kCss;${CSS}" "kJs;${JS}")
  list(GET coppia 0 nome)
  list(GET coppia 1 file)
  file(READ "${file}" testo)
  string(FIND "${testo}" ")${delimitatore}\"" trovato)
  if(NOT trovato EQUAL -1)
    message(FATAL_ERROR "${file} holds the text )${delimitatore}\" that ends the literal")
  endif()
  string(APPEND sorgente "extern const std::string_view ${nome};\n")
  string(APPEND sorgente "const std::string_view ${nome} = R\"${delimitatore}(${testo})${delimitatore}\";\n\n")
endforeach()
string(APPEND sorgente "}  // namespace gs::risorse_vista\n")
file(WRITE "${DESTINAZIONE}" "${sorgente}")
