#include "dirpick/DirListBox.h"

#include "fw/Afx.h"
#include "fw/Files.h"
#include "fw/Gdi.h"
#include "fw/Text.h"
#include "resource.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

constexpr int kIndentStep = 10;
constexpr int kIndentBase = 3;
constexpr int kTextGap = 20;

bool EndsWithBackslash(const std::string& text)
{
    return !text.empty() && text.back() == '\\';
}

} // namespace

bool DirListBox::Create(DWORD style, const RECT& rect, HWND parent, UINT id,
                        const std::string& initialDir)
{
    style |= WS_VSCROLL | LBS_DISABLENOSCROLL | LBS_OWNERDRAWFIXED | LBS_SORT | LBS_NOTIFY;
    if (!CreateEx(0, "LISTBOX", "", style, rect, parent, id))
        return false;
    if (initialDir.empty()) {
        // A current directory the program cannot name leaves only its drive.
        std::string current;
        CurrentDirectory(current);
        FillDirectory(current);
    } else {
        FillDirectory(initialDir);
    }
    SetRedraw(true);
    Invalidate();
    NotifyParent();
    return true;
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
        if (!MatchesAnything(candidate + "*"))
            break;
        accumulated = candidate;
        rest.erase(0, slash + 1);
        AddItem(std::make_unique<DirItem>(DirItem{component, 1, static_cast<signed char>(count)}));
        ++count;
    }
    path = accumulated;
    return count;
}

bool DirListBox::FillDirectory(const std::string& path)
{
    SetRedraw(false);
    m_strDirectory = path;
    ResetContent();
    m_items.clear();

    std::string q = path;
    if (!EndsWithBackslash(q))
        q += '\\';
    int n = InsertPathItems(q);
    if (n == 0)
        return false;

    std::vector<DirectoryEntry> entries;
    if (!ListDirectory(q + "*", entries))
        return false;
    std::vector<std::unique_ptr<DirItem>> subdirs;
    for (DirectoryEntry& entry : entries) {
        if (!(entry.attributes & FILE_ATTRIBUTE_DIRECTORY) || (entry.attributes & FILE_ATTRIBUTE_HIDDEN) ||
            entry.name[0] == '.')
            continue;
        // A name without a code page 1250 form (a folder named in Cyrillic,
        // say) is left out: the list could show it only with "?" in place of
        // its letters, and opening or choosing it would name another
        // directory, or none.
        if (!entry.held)
            continue;
        subdirs.push_back(std::make_unique<DirItem>(DirItem{std::move(entry.name), 0, static_cast<signed char>(n)}));
    }

    // The list would sort them itself, asking its parent for every single
    // comparison; in the same order here, with one message per entry.
    std::stable_sort(subdirs.begin(), subdirs.end(),
                     [](const std::unique_ptr<DirItem>& a, const std::unique_ptr<DirItem>& b) {
                         return CompareDirItems(*a, *b) < 0;
                     });
    Send(LB_INITSTORAGE, subdirs.size() + static_cast<size_t>(n),
                static_cast<LPARAM>(subdirs.size() * sizeof(DirItem)));
    for (auto& item : subdirs)
        AddItem(std::move(item));
    return true;
}

void DirListBox::AddItem(std::unique_ptr<DirItem> item)
{
    if (InsertString(-1, reinterpret_cast<LPARAM>(item.get())) >= 0)
        m_items.push_back(std::move(item));
}

int DirListBox::CompareDirItems(const DirItem& a, const DirItem& b)
{
    if (a.level == b.level || a.level == ANY_LEVEL || b.level == ANY_LEVEL)
        return ComparePolishNoCase(a.name, b.name);
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
    int id = static_cast<int>(GetWindowLongW(m_hWnd, GWL_ID));
    ::PostMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(id, DLN_DIRCHANGED), reinterpret_cast<LPARAM>(m_hWnd));
}

void DirListBox::SetDirectory(std::string path, bool redraw)
{
    const std::string previous = m_strDirectory;
    while (!FillDirectory(path)) {
        std::string text = LoadResourceText(IDS_CANNOT_READ_DIR);
        if (const size_t at = text.find("%s"); at != std::string::npos)
            text.replace(at, 2, path);
        int answer = AfxMessageBox(text, MB_RETRYCANCEL | MB_ICONHAND);
        if (answer == IDRETRY)
            continue;
        if (path == previous)
            break;
        path = previous;
    }
    if (redraw) {
        SetRedraw(true);
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
    SetDirectory(target, false);
    if (!EndsWithBackslash(key.name))
        key.name += '\\';
    SelectEqual(key);
    NotifyParent();
    SetRedraw(true);
    Invalidate();
}

bool DirListBox::OnNotify(UINT code)
{
    // A double-click opens the entry; the parent hears of it only through
    // DLN_DIRCHANGED.
    if (code == LBN_DBLCLK)
        OpenSelected();
    return false;
}

void DirListBox::OnKeyDown(UINT key, WPARAM wParam, LPARAM lParam)
{
    switch (key) {
    case VK_TAB:
        ::SendMessageW(GetParent(), WM_NEXTDLGCTL, 0, 0);
        break;
    case VK_RETURN:
        OpenSelected();
        break;
    case VK_ESCAPE:
        ::PostMessageW(GetParent(), WM_COMMAND, IDCANCEL, 0);
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
        return Default(msg, wParam, lParam) | DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), wParam, lParam);
        return 0;
    default:
        return OwnerDrawnList::WindowProc(msg, wParam, lParam);
    }
}

bool DirListBox::Describe(const DRAWITEMSTRUCT& draw, ItemLook& look) const
{
    const DirItem* item = ItemAt(static_cast<int>(draw.itemID));
    if (!item)
        return false;
    const ListImages& images = ListImages::Get();
    look.icon = item->isPathItem ? images.FolderOpen() : images.FolderClosed();
    look.iconLeft = kIndentStep * item->level + kIndentBase;
    look.textLeft = look.iconLeft + kTextGap;
    look.text = item->name;
    return true;
}
