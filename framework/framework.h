// The dialog-based application framework that the installer is written against.
#pragma once

#include "ddx.h"
#include "dialog.h"
#include "font.h"
#include "msgmap.h"
#include "winapp.h"
#include "wnd.h"
