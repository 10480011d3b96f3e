// Resources that only the test program carries.
#pragma once

#define IDD_TEST_MODAL      900
#define IDD_TEST_MODELESS   910
#define IDC_TEST_EDIT       901
#define IDC_TEST_EDIT2      902
#define IDC_TEST_LABEL      903
#define IDC_TEST_OTHER      904
#define IDR_TEST_EMPTY_TEXT     920
#define IDR_TEST_NUL_TEXT       921
#define IDR_TEST_EMPTY_MSZ  930
