#include "app/ReplayAssociation.h"
#include "framework/CRegKey.h"
#include <windows.h>
#include <shlobj.h>
#include <iterator>

const wchar_t ReplayAssociation::kClassName[] = L"Kelvadi.Replay";

namespace {

const wchar_t* const kExtensions[] = {L".w3g", L".nwg"};
const wchar_t kDescription[] = L"魔兽争霸III录像";

// The value of the launcher's class that keeps the class an extension had before ("Previous.w3g").
CString PreviousValueName(const wchar_t* extension)
{
    return CString(L"Previous") + extension;
}

bool IsOurClass(const CString& name)
{
    return lstrcmpiW(name, ReplayAssociation::kClassName) == 0;
}

} // namespace

ReplayAssociation::ReplayAssociation(const CString& launcherPath, const CString& classesKey)
    : m_launcher(launcherPath), m_classes(classesKey)
{
}

CString ReplayAssociation::OpenCommand() const
{
    return L"\"" + m_launcher + L"\" \"%1\"";
}

bool ReplayAssociation::Associate()
{
    if (m_launcher.IsEmpty()) return false;
    CRegKey ourClass;
    if (ourClass.Create(HKEY_CURRENT_USER, m_classes + L"\\" + kClassName) != ERROR_SUCCESS) return false;
    bool ok = true;
    CRegKey extensionKeys[std::size(kExtensions)];
    for (size_t i = 0; i < std::size(kExtensions); ++i) {
        if (extensionKeys[i].Create(HKEY_CURRENT_USER, m_classes + L"\\" + kExtensions[i]) != ERROR_SUCCESS) {
            ok = false;
            continue;
        }
        CString current;
        if (extensionKeys[i].QueryStringValue(nullptr, &current) != ERROR_SUCCESS) current = CString();
        // Ours already: the class kept from the first time stays the one to give back.
        if (IsOurClass(current)) continue;
        CString previous = PreviousValueName(kExtensions[i]);
        LONG kept = current.IsEmpty() ? ourClass.DeleteValue(previous) : ourClass.SetStringValue(previous, current);
        ok = ok && (kept == ERROR_SUCCESS || kept == ERROR_FILE_NOT_FOUND);
    }
    // The class is complete before any extension names it.
    CRegKey icon;
    CRegKey command;
    ok = ok && ourClass.SetStringValue(nullptr, kDescription) == ERROR_SUCCESS &&
         icon.Create(ourClass, L"DefaultIcon") == ERROR_SUCCESS &&
         icon.SetStringValue(nullptr, L"\"" + m_launcher + L"\",0") == ERROR_SUCCESS &&
         command.Create(ourClass, L"shell\\open\\command") == ERROR_SUCCESS &&
         command.SetStringValue(nullptr, OpenCommand()) == ERROR_SUCCESS;
    if (!ok) return false;
    for (CRegKey& extension : extensionKeys) {
        if (extension.SetStringValue(nullptr, kClassName) != ERROR_SUCCESS) ok = false;
    }
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return ok;
}

bool ReplayAssociation::Unassociate()
{
    bool ok = true;
    CRegKey classes;
    LONG opened = classes.Open(HKEY_CURRENT_USER, m_classes);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    CRegKey ourClass;
    bool haveClass = ourClass.Open(classes, kClassName, KEY_READ) == ERROR_SUCCESS;
    for (const wchar_t* name : kExtensions) {
        CRegKey extension;
        LONG status = extension.Open(classes, name);
        if (status == ERROR_FILE_NOT_FOUND) continue;
        CString current;
        if (status != ERROR_SUCCESS || extension.QueryStringValue(nullptr, &current) != ERROR_SUCCESS) {
            ok = ok && status == ERROR_SUCCESS;
            continue;
        }
        // Another program took the extension since: it is theirs now.
        if (!IsOurClass(current)) continue;
        CString previous;
        if (haveClass && ourClass.QueryStringValue(PreviousValueName(name), &previous) == ERROR_SUCCESS &&
            !previous.IsEmpty()) {
            ok = extension.SetStringValue(nullptr, previous) == ERROR_SUCCESS && ok;
            continue;
        }
        ok = extension.DeleteValue(nullptr) == ERROR_SUCCESS && ok;
        // A key the launcher made holds nothing else; one that does belongs to others too.
        if (extension.IsEmpty()) {
            extension.Close();
            ok = RegDeleteKeyW(classes, name) == ERROR_SUCCESS && ok;
        }
    }
    ourClass.Close();
    ok = classes.RecurseDeleteKey(kClassName) == ERROR_SUCCESS && ok;
    SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
    return ok;
}

bool ReplayAssociation::IsAssociated() const
{
    for (const wchar_t* name : kExtensions) {
        CRegKey extension;
        CString current;
        if (extension.Open(HKEY_CURRENT_USER, m_classes + L"\\" + name, KEY_READ) != ERROR_SUCCESS ||
            extension.QueryStringValue(nullptr, &current) != ERROR_SUCCESS || !IsOurClass(current))
            return false;
    }
    CRegKey command;
    CString current;
    return command.Open(HKEY_CURRENT_USER, m_classes + L"\\" + kClassName + L"\\shell\\open\\command", KEY_READ) ==
               ERROR_SUCCESS &&
           command.QueryStringValue(nullptr, &current) == ERROR_SUCCESS && lstrcmpiW(current, OpenCommand()) == 0;
}
