#include "shell_link_spy.h"

#include "tests/seam/seam.h"

namespace {

class CSpyBase
{
protected:
    explicit CSpyBase(ShellLinkSpyLog* pLog) : m_pLog(pLog), m_nRef(1) { ++pLog->nLiveReferences; }
    ULONG DoAddRef()
    {
        ++m_pLog->nLiveReferences;
        return ++m_nRef;
    }
    template <class T> ULONG DoRelease(T* pThis)
    {
        --m_pLog->nLiveReferences;
        ULONG nRef = --m_nRef;
        if (nRef == 0)
            delete pThis;
        return nRef;
    }
    ShellLinkSpyLog* m_pLog;
    ULONG m_nRef;
};

class CPersistFileSpy : public IPersistFile, private CSpyBase
{
public:
    CPersistFileSpy(ShellLinkSpyLog* pLog, IPersistFile* pReal) : CSpyBase(pLog), m_pReal(pReal) {}
    virtual ~CPersistFileSpy() { m_pReal->Release(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override { return m_pReal->QueryInterface(riid, ppv); }
    ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DoRelease(this); }
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* p) override { return m_pReal->GetClassID(p); }
    HRESULT STDMETHODCALLTYPE IsDirty() override { return m_pReal->IsDirty(); }
    HRESULT STDMETHODCALLTYPE Load(LPCOLESTR psz, DWORD dw) override { return m_pReal->Load(psz, dw); }
    HRESULT STDMETHODCALLTYPE Save(LPCOLESTR pszFile, BOOL bRemember) override
    {
        m_pLog->calls.push_back(std::string("Save:") + (bRemember ? "remember" : "forget"));
        return m_pLog->bFailSave ? E_ACCESSDENIED : m_pReal->Save(pszFile, bRemember);
    }
    HRESULT STDMETHODCALLTYPE SaveCompleted(LPCOLESTR psz) override { return m_pReal->SaveCompleted(psz); }
    HRESULT STDMETHODCALLTYPE GetCurFile(LPOLESTR* ppsz) override { return m_pReal->GetCurFile(ppsz); }

private:
    IPersistFile* m_pReal;
};

class CShellLinkSpy : public IShellLinkA, private CSpyBase
{
public:
    CShellLinkSpy(ShellLinkSpyLog* pLog, IShellLinkA* pReal) : CSpyBase(pLog), m_pReal(pReal) {}
    virtual ~CShellLinkSpy() { m_pReal->Release(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override
    {
        if (!IsEqualIID(riid, IID_IPersistFile))
            return m_pReal->QueryInterface(riid, ppv);
        m_pLog->calls.push_back("QueryInterface:IPersistFile");
        *ppv = NULL;
        IPersistFile* pFile = NULL;
        if (m_pLog->bFailQuery || FAILED(m_pReal->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&pFile))))
            return E_NOINTERFACE;
        *ppv = static_cast<IPersistFile*>(new CPersistFileSpy(m_pLog, pFile));
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return DoAddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return DoRelease(this); }

    HRESULT STDMETHODCALLTYPE SetDescription(LPCSTR psz) override { return Record("SetDescription", psz, m_pReal->SetDescription(psz)); }
    HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCSTR psz) override
    {
        return Record("SetWorkingDirectory", psz, m_pReal->SetWorkingDirectory(psz));
    }
    HRESULT STDMETHODCALLTYPE SetPath(LPCSTR psz) override { return Record("SetPath", psz, m_pReal->SetPath(psz)); }
    HRESULT STDMETHODCALLTYPE SetIconLocation(LPCSTR psz, int n) override
    {
        return Record("SetIconLocation", std::string(psz) + "," + std::to_string(n), m_pReal->SetIconLocation(psz, n));
    }
    HRESULT STDMETHODCALLTYPE SetShowCmd(int n) override { return Record("SetShowCmd", std::to_string(n), m_pReal->SetShowCmd(n)); }

    HRESULT STDMETHODCALLTYPE GetPath(LPSTR a, int b, WIN32_FIND_DATAA* c, DWORD d) override { return m_pReal->GetPath(a, b, c, d); }
    HRESULT STDMETHODCALLTYPE GetIDList(PIDLIST_ABSOLUTE* p) override { return m_pReal->GetIDList(p); }
    HRESULT STDMETHODCALLTYPE SetIDList(PCIDLIST_ABSOLUTE p) override { return Record("SetIDList", "", m_pReal->SetIDList(p)); }
    HRESULT STDMETHODCALLTYPE GetDescription(LPSTR a, int b) override { return m_pReal->GetDescription(a, b); }
    HRESULT STDMETHODCALLTYPE GetWorkingDirectory(LPSTR a, int b) override { return m_pReal->GetWorkingDirectory(a, b); }
    HRESULT STDMETHODCALLTYPE GetArguments(LPSTR a, int b) override { return m_pReal->GetArguments(a, b); }
    HRESULT STDMETHODCALLTYPE SetArguments(LPCSTR a) override { return Record("SetArguments", a, m_pReal->SetArguments(a)); }
    HRESULT STDMETHODCALLTYPE GetHotkey(WORD* p) override { return m_pReal->GetHotkey(p); }
    HRESULT STDMETHODCALLTYPE SetHotkey(WORD w) override { return Record("SetHotkey", "", m_pReal->SetHotkey(w)); }
    HRESULT STDMETHODCALLTYPE GetShowCmd(int* p) override { return m_pReal->GetShowCmd(p); }
    HRESULT STDMETHODCALLTYPE GetIconLocation(LPSTR a, int b, int* c) override { return m_pReal->GetIconLocation(a, b, c); }
    HRESULT STDMETHODCALLTYPE SetRelativePath(LPCSTR a, DWORD b) override
    {
        return Record("SetRelativePath", a, m_pReal->SetRelativePath(a, b));
    }
    HRESULT STDMETHODCALLTYPE Resolve(HWND a, DWORD b) override { return m_pReal->Resolve(a, b); }

private:
    HRESULT Record(const char* pszCall, const std::string& strArgument, HRESULT hr)
    {
        m_pLog->calls.push_back(std::string(pszCall) + ":" + strArgument);
        return hr;
    }
    IShellLinkA* m_pReal;
};

}  // namespace

HRESULT CreateShellLinkSpy(ShellLinkSpyLog* pLog, REFCLSID rclsid, REFIID riid, LPVOID* ppv)
{
    *ppv = NULL;
    if (!IsEqualCLSID(rclsid, CLSID_ShellLink) || !IsEqualIID(riid, IID_IShellLinkA))
        return REGDB_E_CLASSNOTREG;
    IShellLinkA* pReal = NULL;
    HRESULT hr = seam::RealCoCreateInstance(CLSID_ShellLink, NULL, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                            reinterpret_cast<void**>(&pReal));
    if (FAILED(hr))
        return hr;
    ++pLog->nCreated;
    *ppv = static_cast<IShellLinkA*>(new CShellLinkSpy(pLog, pReal));
    return S_OK;
}
