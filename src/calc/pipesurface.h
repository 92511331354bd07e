#pragma once

#include "workingvars.h"

namespace zorva {

// Temperature of the pipe's outer surface (℃) when the floor gives off the
// trial output q (W/m²): the mean water temperature less the drop across
// the water-side film and the drop across the pipe wall. Reads the working
// variables, changes none.
float PipeSurfaceTemp(const WorkingVars& vars, float q);

} // namespace zorva
