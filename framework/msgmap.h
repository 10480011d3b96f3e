// Message maps: per-class tables that bind window messages, commands and
// control notifications to member functions.
//   MessageMapEntry     one row: message, notification code, control id, handler
//   OnMessage<&C::F>    adapts a member function to a row's handler slot
//   WM_CTLCOLOR         one row for every control-colour message
#pragma once

#include <windows.h>

class CWnd;

// Win32 splits the colour request into one message per control kind; a map row
// for WM_CTLCOLOR stands for all of them.
#ifndef WM_CTLCOLOR
#define WM_CTLCOLOR 0x0019
#endif

typedef LRESULT (*MessageHandler)(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry
{
    UINT nMessage;  // WM_COMMAND rows also compare nCode and nID
    UINT nCode;     // notification code: BN_CLICKED, EN_CHANGE, ...
    UINT nID;       // control or command id
    MessageHandler pfnHandler;  // null ends the table
};

// Finds the row for a message; null when the class does not handle it.
const MessageMapEntry* FindMessageMapEntry(const MessageMapEntry* pMap, UINT nMsg, WPARAM wParam);

inline bool IsCtlColorMessage(UINT nMsg)
{
    return nMsg >= WM_CTLCOLORMSGBOX && nMsg <= WM_CTLCOLORSTATIC;
}

namespace msgmap_detail {

template <class F> struct Adapter;

template <class C> struct Adapter<void (C::*)()>
{
    template <void (C::*F)()> static LRESULT Call(CWnd* p, UINT, WPARAM, LPARAM)
    {
        (static_cast<C*>(p)->*F)();
        return 0;
    }
};

template <class C> struct Adapter<void (C::*)(UINT, LPARAM)>
{
    template <void (C::*F)(UINT, LPARAM)> static LRESULT Call(CWnd* p, UINT, WPARAM wParam, LPARAM lParam)
    {
        (static_cast<C*>(p)->*F)(static_cast<UINT>(wParam), lParam);
        return 0;
    }
};

template <class C> struct Adapter<HICON (C::*)()>
{
    template <HICON (C::*F)()> static LRESULT Call(CWnd* p, UINT, WPARAM, LPARAM)
    {
        return reinterpret_cast<LRESULT>((static_cast<C*>(p)->*F)());
    }
};

// OnCtlColor(device context, control window, CTLCOLOR_* kind)
template <class C> struct Adapter<HBRUSH (C::*)(HDC, HWND, UINT)>
{
    template <HBRUSH (C::*F)(HDC, HWND, UINT)> static LRESULT Call(CWnd* p, UINT nMsg, WPARAM wParam, LPARAM lParam)
    {
        HBRUSH hBrush = (static_cast<C*>(p)->*F)(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                                nMsg - WM_CTLCOLORMSGBOX);
        return reinterpret_cast<LRESULT>(hBrush);
    }
};

}  // namespace msgmap_detail

template <auto F> LRESULT OnMessage(CWnd* pWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    return msgmap_detail::Adapter<decltype(F)>::template Call<F>(pWnd, nMsg, wParam, lParam);
}
