// The About box, opened from the install dialog's system menu.
//   CAboutDialog  template IDD_ABOUTBOX; its OK button ends it
#pragma once

#include "framework/framework.h"
#include "res/resource.h"

class CAboutDialog : public CDialog
{
public:
    CAboutDialog() : CDialog(IDD_ABOUTBOX) {}
};
