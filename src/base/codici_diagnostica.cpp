#include "base/codici_diagnostica.h"

#include <algorithm>
#include <array>

namespace gs {
namespace {

constexpr std::array<VoceDiagnostica, 20> kVoci{{
    {"beyond-route", "a position lies past the end of the route, on the 7000 m of track after it",
     "\"segnale, 83000, ...\" on a route of 82000 m",
     "Check the position, or lengthen the route."},
    {"beyond-track", "a position lies past the end of the track: the compile fails (error 15)",
     "\"stazione, 338000, ...\" on a route of 82000 m",
     "Check the position for a digit too many, or lengthen the route."},
    {"ends-before-start", "a stretch (mountain, curve, slowdown, signal repetition) ends before it starts",
     "\"montagna, 29200, 29100, 2\"", "Swap the two positions, or fix the length."},
    {"extra-value", "a line holds more numbers than its entry takes; the reader reads the rest as fields of their own",
     "\"pendenza, 300, 4, 5\"", "Remove the number too many, or split the line."},
    {"missing-end", "the file ends without its closing [fine]: it may have been cut short",
     "a train file that stops after its stations", "Restore the end of the file, with [fine] last."},
    {"missing-entry", "an entry whose absence silently gives a default (route length, clock, speed limit or adhesion from 0 m, any station)",
     "no \"orologio\" line: the run begins at 00:00:00", "Add the entry."},
    {"missing-section", "no [generale] line: the reader skips the whole file (the line file fails with error 102)",
     "\"[genrale]\"", "Spell the section header \"[generale]\"."},
    {"missing-value", "a line holds fewer numbers than its entry takes; the reader would take the rest from the next line",
     "\"pendenza, 300\"", "Add the missing numbers."},
    {"no-track", "the compile found no route length to lay a track", "no \"lunghezza percorso\"",
     "Add \"lunghezza percorso, METRES\" to the general section."},
    {"not-a-number", "a value that must be a whole number is not one: the compile fails (error 25)",
     "\"lunghezza percorso, dieci\"", "Write the value as a whole number, digits only."},
    {"not-multiple", "a value that must be a multiple of 50, 100 or 5 is not one",
     "\"stazione, 125, ...\"", "Round the value to the multiple the entry needs."},
    {"not-windows-1252", "bytes that are not Windows-1252 text, usually UTF-8: the simulator shows them garbled",
     "a station name \"CITTÀ\" saved as UTF-8",
     "Save the file as Windows-1252 (\"Western European\" in most editors)."},
    {"out-of-order", "a position comes before the previous one of the same kind",
     "\"velocita' limite, 7380, 130\" after \"velocita' limite, 15000, 115\"",
     "Put the entries of each kind in order of position."},
    {"out-of-range", "a value outside what its field can hold or mean",
     "\"pendenza, 14000, 250\" (gradients run from -100 to 155)", "Correct the value."},
    {"scenario-error", "the exact compile's scenario error, at the entry it concerns; see the error's own name",
     "two signals on one 50 m cell", "See explain for the scenario error's code."},
    {"text-cut-by-comma", "a comma inside a station name or sign text: the reader keeps only the part before it",
     "\"stazione, ..., FIRENZE, S.M.N.\"", "Remove the comma from the name."},
    {"time-backwards", "a stop's timetable time comes before the previous stop's",
     "18:25 after 18:29", "Correct the times."},
    {"unclosed-quote", "a field opens with a double quote that the line does not close: the reader swallows the following lines",
     "\"stazione, ..., \\\"FIRENZE CASCINE\"", "Close the quote, or remove it."},
    {"unknown-keyword", "a line whose keyword the reader does not know: it skips the line",
     "\"stazone, 2750, ...\"", "Spell the keyword as the hint says."},
    {"unknown-section", "a section header the file does not have; the reader passes over headers, so only the name is suspect",
     "\"[stazoni]\"", "Spell the header as the hint says."},
}};

}  // namespace

std::span<const VoceDiagnostica> voci_diagnostica() { return kVoci; }

const VoceDiagnostica* voce_diagnostica(std::string_view sigla) {
  const auto trovata = std::find_if(kVoci.begin(), kVoci.end(),
                                    [sigla](const VoceDiagnostica& v) { return v.sigla == sigla; });
  return trovata == kVoci.end() ? nullptr : &*trovata;
}

}  // namespace gs
