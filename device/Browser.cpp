#include "Browser.h"

#include "ProgramPath.h"
#include "SystemLibrary.h"


namespace
{

// The shell drops the anchor from a file's address, and so does Wine's
// bridge to the host's browser. So the browser is given a page of the
// program's own that sends it on to the document at the anchor.
const WCHAR FORWARDING_PAGE[] = L"marlin-help.htm";

ByteString Utf8(const WCHAR *psz)
{
    int cb = WideCharToMultiByte(CP_UTF8, 0, psz, -1, nullptr, 0, nullptr, nullptr);
    ByteString str(cb > 0 ? cb - 1 : 0, '\0');
    if (cb > 1)
        WideCharToMultiByte(CP_UTF8, 0, psz, -1, &str[0], cb, nullptr, nullptr);
    return str;
}

// The document's path as the browser knows it. Under Wine the browser is a
// program of the host, which knows the file by the host's path.
ByteString BrowserPath(const CString &strPath)
{
    auto pfnUnixFileName = SystemFunction<char *CDECL(const WCHAR *)>(L"kernel32.dll", "wine_get_unix_file_name");
    if (char *pszUnix = pfnUnixFileName ? pfnUnixFileName(strPath) : nullptr)
    {
        ByteString strUnix = pszUnix;
        HeapFree(GetProcessHeap(), 0, pszUnix);
        return strUnix;
    }
    ByteString str = "/" + Utf8(strPath);
    for (char &ch : str)
        if (ch == '\\')
            ch = '/';
    return str;
}

// A file: URL, with every byte outside the plainest characters escaped,
// so that it also stands unquoted in the page's markup.
ByteString FileUrl(const ByteString &strPath, const ByteString &strAnchor)
{
    static const char szHex[] = "0123456789ABCDEF";
    ByteString strUrl = "file://";
    for (unsigned char ch : strPath)
    {
        if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') ||
            ByteString("/-_.~:").find(static_cast<char>(ch)) != ByteString::npos)
            strUrl += static_cast<char>(ch);
        else
            strUrl += ByteString("%") + szHex[ch >> 4] + szHex[ch & 0xF];
    }
    return strUrl + strAnchor;
}

// Writes the forwarding page into the user's temporary folder; its path, or
// "" when it could not be written.
CString WriteForwardingPage(const ByteString &strUrl)
{
    CString strPage;
    WCHAR *pszBuffer = strPage.GetBuffer(MAX_PATH);
    DWORD cchTemp = GetTempPathW(MAX_PATH, pszBuffer);
    strPage.ReleaseBuffer(cchTemp < MAX_PATH ? static_cast<int>(cchTemp) : 0);
    if (strPage.IsEmpty())
        return strPage;
    strPage += FORWARDING_PAGE;

    ByteString strHtml = "<!DOCTYPE html>\r\n<meta charset=\"utf-8\">\r\n"
                          "<meta http-equiv=\"refresh\" content=\"0; url=" + strUrl + "\">\r\n"
                          "<a href=\"" + strUrl + "\">" + strUrl + "</a>\r\n";
    HANDLE hFile = CreateFileW(strPage, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return CString();
    DWORD cbWritten = 0;
    BOOL bWritten = WriteFile(hFile, strHtml.data(), static_cast<DWORD>(strHtml.size()), &cbWritten, nullptr) &&
                    cbWritten == strHtml.size();
    CloseHandle(hFile);
    return bWritten ? strPage : CString();
}

// The shell's own messages would stand in the way of the program's.
bool OpenPage(HWND hOwner, const CString &strPage, const WCHAR *pszClass)
{
    SHELLEXECUTEINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI | (pszClass ? SEE_MASK_CLASSNAME : 0);
    info.hwnd = hOwner;
    info.lpFile = strPage;
    info.lpClass = pszClass;
    info.nShow = SW_SHOWNORMAL;
    return OpenWithShellExecute(&info);
}

} // namespace

bool OpenInBrowser(HWND hOwner, const CString &strDocument, const WCHAR *pszAnchor)
{
    if (GetFileAttributesW(strDocument) == INVALID_FILE_ATTRIBUTES)
        return false;
    CString strPage = WriteForwardingPage(FileUrl(BrowserPath(strDocument), Utf8(pszAnchor)));
    if (strPage.IsEmpty())
        return false;
    // Where nothing is registered for web pages (a Wine prefix without its
    // HTML engine, say), the program registered for web addresses is the
    // browser.
    return OpenPage(hOwner, strPage, nullptr) || OpenPage(hOwner, strPage, L"http");
}

bool OpenWithShellExecute(SHELLEXECUTEINFOW *pInfo)
{
    auto pfnShellExecuteEx = SystemFunction<decltype(ShellExecuteExW)>(L"shell32.dll", "ShellExecuteExW");
    if (!pfnShellExecuteEx)
        return false;
    return pfnShellExecuteEx(pInfo) != FALSE;
}
