#pragma once
// windows.h for the toolkit's backend. Its A/W macros would rename toolkit members that share a
// name with an API function (TApplication::MessageBox, TForm::PostMessage), so that the backend
// would call or override functions that do not exist; they are dropped here, and the backend
// calls the wide functions by their own names.
#include <windows.h>

#undef MessageBox
#undef PostMessage
