// Data exchange between dialog members and controls.
//   DDX_Text  a string member and the text of a control, in the exchange's direction
#pragma once

#include <string>

#include "wnd.h"

void DDX_Text(CDataExchange* pDX, int nIDC, std::string& value);
