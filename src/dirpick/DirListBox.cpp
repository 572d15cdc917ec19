#include "dirpick/DirListBox.h"

#include "dirpick/OwnerDrawnItem.h"
#include "fw/Afx.h"
#include "fw/Gdi.h"
#include "resource.h"

#include <cstdio>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

// Shared by every directory list of the process; loaded once, never freed.
HICON g_hFolderClosed = nullptr;
HICON g_hFolderOpen = nullptr;
HBITMAP g_hFocusPattern = nullptr;

constexpr int kIconSize = 16;
constexpr int kIndentStep = 10;
constexpr int kIndentBase = 3;
constexpr int kTextGap = 20;

// Names in the order the user's language sorts them, case ignored, as the
// system's own directory windows list them: Polish initials among the plain
// letters of their kind, not after "z".
int CompareNoCase(const std::string& a, const std::string& b)
{
    return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()),
                          b.c_str(), static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

bool EndsWithBackslash(const std::string& text)
{
    return !text.empty() && text.back() == '\\';
}

// Whether a directory listing of pattern finds anything at all.
bool Probe(const std::string& pattern)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return false;
    FindClose(search);
    return true;
}

} // namespace

DirListBox::DirListBox()
{
    LoadImages();
}

DirListBox::~DirListBox()
{
    // Destroyed here, while the entries can still be freed by this class.
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

void DirListBox::LoadImages()
{
    HINSTANCE instance = AfxGetInstanceHandle();
    if (!g_hFolderClosed)
        g_hFolderClosed = LoadIconA(instance, MAKEINTRESOURCEA(IDI_FOLDER_CLOSED));
    if (!g_hFolderOpen)
        g_hFolderOpen = LoadIconA(instance, MAKEINTRESOURCEA(IDI_FOLDER_OPEN));
    if (!g_hFocusPattern)
        g_hFocusPattern = LoadBitmapA(instance, MAKEINTRESOURCEA(IDB_FOCUS_PATTERN));
}

BOOL DirListBox::Create(DWORD style, const RECT& rect, HWND parent, UINT id,
                        const std::string& initialDir)
{
    style |= WS_VSCROLL | LBS_DISABLENOSCROLL | LBS_OWNERDRAWFIXED | LBS_SORT | LBS_NOTIFY;
    if (!CreateEx(0, "LISTBOX", "", style, rect, parent, id))
        return FALSE;
    if (initialDir.empty()) {
        char current[260] = "";
        GetCurrentDirectoryA(sizeof current, current);
        FillDirectory(current);
    } else {
        FillDirectory(initialDir);
    }
    SetRedraw(TRUE);
    Invalidate();
    NotifyParent();
    return TRUE;
}

const DirItem* DirListBox::ItemAt(int index) const
{
    LPARAM data = GetItemData(index);
    if (data == LB_ERR || data == 0)
        return nullptr;
    return reinterpret_cast<const DirItem*>(data);
}

int DirListBox::InsertPathItems(std::string& path)
{
    std::string rest = path;
    std::string accumulated;
    int count = 0;
    for (;;) {
        size_t slash = rest.find('\\');
        if (slash == std::string::npos)
            break;
        std::string component = rest.substr(0, slash + 1);
        std::string candidate = accumulated + component;
        if (!Probe(candidate + "*"))
            break;
        accumulated = candidate;
        rest.erase(0, slash + 1);
        auto* item = new DirItem{component, 1, static_cast<signed char>(count)};
        if (InsertString(-1, reinterpret_cast<LPARAM>(item)) < 0)
            delete item;
        ++count;
    }
    path = accumulated;
    return count;
}

BOOL DirListBox::FillDirectory(const std::string& path)
{
    SetRedraw(FALSE);
    m_strDirectory = path;
    ResetContent();

    std::string q = path;
    if (!EndsWithBackslash(q))
        q += '\\';
    int n = InsertPathItems(q);
    if (n == 0)
        return FALSE;

    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((q + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return FALSE;
    std::vector<std::unique_ptr<DirItem>> subdirs;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN)
            continue;
        if (found.cFileName[0] == '.')
            continue;
        subdirs.push_back(
            std::make_unique<DirItem>(DirItem{found.cFileName, 0, static_cast<signed char>(n)}));
    } while (FindNextFileA(search, &found));
    FindClose(search);

    // The list would sort them itself, asking its parent for every single
    // comparison; in the same order here, with one message per entry.
    std::stable_sort(subdirs.begin(), subdirs.end(),
                     [](const std::unique_ptr<DirItem>& a, const std::unique_ptr<DirItem>& b) {
                         return CompareDirItems(*a, *b) < 0;
                     });
    SendMessage(LB_INITSTORAGE, subdirs.size() + static_cast<size_t>(n),
                static_cast<LPARAM>(subdirs.size() * sizeof(DirItem)));
    for (auto& item : subdirs) {
        if (InsertString(-1, reinterpret_cast<LPARAM>(item.get())) >= 0)
            item.release(); // the entry owns it now
    }
    return TRUE;
}

int DirListBox::CompareDirItems(const DirItem& a, const DirItem& b)
{
    if (a.level == b.level || a.level == ANY_LEVEL || b.level == ANY_LEVEL)
        return CompareNoCase(a.name, b.name);
    return a.level < b.level ? -1 : 1;
}

int DirListBox::CompareItem(COMPAREITEMSTRUCT* compare)
{
    const auto* a = reinterpret_cast<const DirItem*>(compare->itemData1);
    const auto* b = reinterpret_cast<const DirItem*>(compare->itemData2);
    if (!a || !b)
        return 0;
    return CompareDirItems(*a, *b);
}

void DirListBox::DeleteItem(DELETEITEMSTRUCT* del)
{
    delete reinterpret_cast<DirItem*>(del->itemData);
    del->itemData = 0;
    CListBox::DeleteItem(del);
}

void DirListBox::MeasureItem(MEASUREITEMSTRUCT* measure)
{
    measure->itemHeight = static_cast<UINT>(m_nItemHeight);
}

std::string DirListBox::GetDirectory() const
{
    std::string result;
    int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const DirItem* item = ItemAt(i);
        if (!item || !item->isPathItem)
            break;
        result += item->name;
    }
    if (!EndsWithBackslash(result))
        result += '\\';
    return result;
}

std::string DirListBox::GetSelectedPath() const
{
    int sel = GetCurSel();
    if (sel < 0)
        return std::string();
    std::string result;
    for (int i = 0; i <= sel; ++i) {
        const DirItem* item = ItemAt(i);
        if (!item)
            break;
        if (!item->isPathItem) {
            if (const DirItem* selected = ItemAt(sel))
                result += selected->name;
            break;
        }
        result += item->name;
    }
    if (!EndsWithBackslash(result))
        result += '\\';
    return result;
}

void DirListBox::NotifyParent()
{
    int id = static_cast<int>(GetWindowLongA(m_hWnd, GWL_ID));
    ::PostMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(id, DLN_DIRCHANGED),
                   reinterpret_cast<LPARAM>(m_hWnd));
}

void DirListBox::SetDirectory(std::string path, int redraw)
{
    const std::string previous = m_strDirectory;
    while (!FillDirectory(path)) {
        char format[256] = "";
        LoadStringA(AfxGetInstanceHandle(), IDS_CANNOT_READ_DIR, format, sizeof format);
        std::vector<char> text(std::strlen(format) + path.size() + 1);
        std::snprintf(text.data(), text.size(), format, path.c_str());
        int answer = AfxMessageBox(text.data(), MB_RETRYCANCEL | MB_ICONHAND);
        if (answer == IDRETRY)
            continue;
        if (path == previous)
            break;
        path = previous;
    }
    if (redraw) {
        SendMessage(WM_SETREDRAW, static_cast<WPARAM>(redraw));
        Invalidate();
    }
}

void DirListBox::SelectEqual(const DirItem& key)
{
    // The list's own search does not reach lists without strings on every
    // system, so walk the entries with the list's comparison.
    int count = GetCount();
    for (int i = 0; i < count; ++i) {
        const DirItem* item = ItemAt(i);
        if (item && CompareDirItems(key, *item) == 0) {
            SetCurSel(i);
            return;
        }
    }
}

void DirListBox::OpenSelected()
{
    std::string target = GetSelectedPath();
    const DirItem* selected = ItemAt(GetCurSel());
    if (target.empty() || !selected)
        return;
    DirItem key{selected->name, 0, ANY_LEVEL};
    SetDirectory(target, 0);
    if (!EndsWithBackslash(key.name))
        key.name += '\\';
    SelectEqual(key);
    NotifyParent();
    SetRedraw(TRUE);
    Invalidate();
}

BOOL DirListBox::OnDblclk()
{
    OpenSelected();
    return FALSE;
}

bool DirListBox::OnNotify(UINT code)
{
    if (code == LBN_DBLCLK)
        return OnDblclk() != FALSE;
    return false;
}

LRESULT DirListBox::OnGetDlgCode(WPARAM wParam, LPARAM lParam)
{
    return Default(WM_GETDLGCODE, wParam, lParam) | DLGC_WANTALLKEYS;
}

void DirListBox::UseParentFont(HDC)
{
    m_pFont = reinterpret_cast<HFONT>(::SendMessageA(GetParent(), WM_GETFONT, 0, 0));
}

int DirListBox::OnCreate(LPARAM createStruct)
{
    if (Default(WM_CREATE, 0, createStruct) == -1)
        return -1;
    UseParentFont(nullptr);
    m_nTextHeight = MeasureTextHeight(m_hWnd, m_pFont);
    m_nItemHeight = m_nTextHeight > kIconSize ? m_nTextHeight : kIconSize;
    // The list asked its parent for the height before this point, when the
    // parent could not yet tell it from other windows: set it now.
    SetItemHeight(0, m_nItemHeight);
    return 0;
}

void DirListBox::OnKeyDown(UINT key, WPARAM wParam, LPARAM lParam)
{
    switch (key) {
    case VK_TAB:
        ::SendMessageA(GetParent(), WM_NEXTDLGCTL, 0, 0);
        break;
    case VK_RETURN:
        OpenSelected();
        break;
    case VK_ESCAPE:
        ::PostMessageA(GetParent(), WM_COMMAND, IDCANCEL, 0);
        break;
    default:
        Default(WM_KEYDOWN, wParam, lParam);
        break;
    }
}

LRESULT DirListBox::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_GETDLGCODE:
        return OnGetDlgCode(wParam, lParam);
    case WM_CREATE:
        return OnCreate(lParam);
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), wParam, lParam);
        return 0;
    default:
        return CListBox::WindowProc(msg, wParam, lParam);
    }
}

void DirListBox::DrawItem(DRAWITEMSTRUCT* draw)
{
    if (!m_pFont)
        UseParentFont(draw->hDC);
    if (static_cast<int>(draw->itemID) == -1)
        return;
    const DirItem* item = ItemAt(static_cast<int>(draw->itemID));
    if (!item)
        return;
    HICON icon = item->isPathItem ? g_hFolderOpen : g_hFolderClosed;

    OwnerDrawnItem painter(*draw, m_pFont);
    const int indent = draw->rcItem.left + kIndentStep * item->level + kIndentBase;
    painter.DrawIcon(icon, indent, m_nItemHeight);
    painter.DrawText(item->name, indent + kTextGap, m_nItemHeight, m_nTextHeight);
    painter.DrawFocusFrame(g_hFocusPattern);
}
