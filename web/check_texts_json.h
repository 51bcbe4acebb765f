// The check page's inputs as the page sends them, a JSON object with the
// check window's boxes as they were typed, and the notes beside them as the
// page shows them.
#pragma once

#include "check/check_inputs.h"
#include "report/design_report.h"

namespace tarvix {

// Keys: "freq", "totalLength", "centreToCoil", "antennaWire" {"by": "swg",
// "awg" or "diameter", "text"}, "overGround", "height", "endHeight",
// "groundClass", "insulated", "insulation", "permittivity", "formerDia",
// "former" ("pvc", "air", "rod"), "coilWire", "closeWound", "pitch",
// "coilLength", "givenTurns", "qGiven", "q", "z0", "feedLineType",
// "feedLineLength", "power", "mode", "measured", "measuredSwr", "measuredR",
// "units" ("imperial", "metric") and "decimalSeparator". A key left out
// keeps the window's default; a value of the wrong kind is refused with
// nlohmann's type_error.
CheckTexts checkTextsFromJson(const Json& json);

// The page's names: "swg", "awg" or "diameter"; "imperial" or "metric";
// std::invalid_argument for another name.
WireBy wireByNamed(const std::string& name);
Units unitsNamed(const std::string& name);

// A box by the name the notes give it: "TotalLength".
std::string fieldName(CheckField field);

// {"notes": [{"field": "Freq", "text", "stops"}], "stop": a note or null}.
Json notesJson(const CheckRequest& request);

} // namespace tarvix
