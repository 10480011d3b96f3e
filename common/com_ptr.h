// Holding COM interfaces.
//   CComPtr<T>  releases the interface it holds when it goes out of scope
#pragma once

#include <objbase.h>

template <class T>
class CComPtr
{
public:
    CComPtr() : m_p(NULL) {}
    ~CComPtr()
    {
        if (m_p != NULL)
            m_p->Release();
    }

    T* operator->() const { return m_p; }
    // Where a creating call puts the interface.
    void** Receive() { return reinterpret_cast<void**>(&m_p); }
    // Where a call typed for this interface puts it.
    T** ReceiveTyped() { return &m_p; }

private:
    CComPtr(const CComPtr&);
    CComPtr& operator=(const CComPtr&);

    T* m_p;
};
