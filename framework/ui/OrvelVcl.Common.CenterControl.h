#pragma once
// Window placement: a control centred in its parent, a form centred on the main form's monitor,
// a form pulled inside the virtual desktop. Integer pixels; halves truncate toward zero.
#include "toolkit/Toolkit.Control.h"
#include "toolkit/Toolkit.Form.h"

namespace orvel {

// Centres Ctrl in Parent's client area, never left of or above its origin.
void CenterChild(toolkit::TControl* Ctrl, toolkit::TControl* Parent);
// Centres Form on the work area of the main form's monitor (the primary one while there is no
// main form). A form larger than the work area sticks out on both sides.
void CenterFormOnMainFormMonitor(toolkit::TForm* Form);
// Shrinks Form to the virtual desktop where it is larger, then moves it inside.
void CorrectFormPositionDesktop(toolkit::TForm* Form);

} // namespace orvel
