// The viewer page's sources (tool/vista/pagina.html, vista.css, vista.js),
// taken in whole at build time into a source file of the build directory.
#pragma once

#include <string_view>

namespace gs::risorse_vista {

extern const std::string_view kHtml;  // holds the place holders of the other two
extern const std::string_view kCss;
extern const std::string_view kJs;

}  // namespace gs::risorse_vista
