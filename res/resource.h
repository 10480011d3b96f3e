// Resource and control ids of InstallLV.
#pragma once

#define IDD_ABOUTBOX            100
#define IDS_ABOUTBOX            101
#define IDD_INSTALL             102
#define IDR_MAINFRAME           128
#define IDI_ABOUT               130
#define IDD_LICENCE             131
#define IDD_WELCOME             132
#define IDD_BACKDROP            133
#define IDR_LICENCE             134
#define IDR_PAYLOAD_EXE         135
#define IDR_PAYLOAD_HELP        136
#define IDR_PAYLOAD_UNINSTALL   137
#define IDR_PAYLOAD_README      138

#ifndef IDC_STATIC
#define IDC_STATIC              (-1)
#endif
#define IDC_STATUS              1001
#define IDC_TARGET_DIR          1002
#define IDC_BROWSE              1003
#define IDC_MAKER               1006
#define IDC_TAGLINE             1007
#define IDC_LICENCE_TEXT        1008

// System menu command of the About entry.
#define IDM_ABOUTBOX            0x0010
