// The directory list of the directory browser: the path of the shown
// directory as a small tree of open folders, one component per entry, then
// the directory's subdirectories as closed folders, sorted by name. The user
// opens an entry with a double-click or Enter; the list then tells its
// parent with a posted DLN_DIRCHANGED notification.
#pragma once

#include "fw/ListBox.h"

#include <string>

// WM_COMMAND notification code: the list shows another directory.
constexpr UINT DLN_DIRCHANGED = 101;

// A search key's level: it matches an entry by name alone.
constexpr signed char ANY_LEVEL = -1; // 0xFF

// The record behind every entry; the entry owns it.
struct DirItem {
    // A path component with its trailing backslash (the drive root: letter,
    // colon, backslash), or a subdirectory's name without one.
    std::string name;
    unsigned char isPathItem = 0; // 1: path component, 0: subdirectory
    signed char level = 0;        // path components 0, 1, 2...; subdirectories: their count
};

class DirListBox : public CListBox {
public:
    DirListBox();
    ~DirListBox() override;

    // Creates the list window and fills it with initialDir (the current
    // directory when empty); posts DLN_DIRCHANGED once.
    BOOL Create(DWORD style, const RECT& rect, HWND parent, UINT id, const std::string& initialDir);

    void DrawItem(DRAWITEMSTRUCT* draw) override;
    void MeasureItem(MEASUREITEMSTRUCT* measure) override;
    int CompareItem(COMPAREITEMSTRUCT* compare) override;
    void DeleteItem(DELETEITEMSTRUCT* del) override;
    bool OnNotify(UINT code) override;

    // Shows a directory; when it cannot be read, asks Retry/Cancel and on
    // Cancel falls back to the directory shown before. Posts nothing.
    virtual void SetDirectory(std::string path, int redraw);
    // The shown directory, always ending in a backslash.
    virtual std::string GetDirectory() const;
    // The full path of the selected entry, ending in a backslash; empty
    // when nothing is selected.
    virtual std::string GetSelectedPath() const;
    // Posts DLN_DIRCHANGED to the parent.
    virtual void NotifyParent();
    // Rebuilds the list for path without asking anybody. FALSE when not
    // even the path's first component or the directory listing could be
    // read. Leaves drawing suspended.
    virtual BOOL FillDirectory(const std::string& path);
    // Borrows the parent window's font.
    virtual void UseParentFont(HDC dc);
    // Appends an entry for every leading component of path that exists and
    // cuts path down to them. Returns the number of entries.
    virtual int InsertPathItems(std::string& path);
    // Loads the images shared by every directory list.
    virtual void LoadImages();

    // The comparison of the list, for its order and for finding an entry
    // again: by level, then by name in the user's locale without regard to
    // case; a key of ANY_LEVEL compares by name alone.
    static int CompareDirItems(const DirItem& a, const DirItem& b);

    int m_nTextHeight = 0;
    int m_nItemHeight = 0;
    std::string m_strDirectory;
    HFONT m_pFont = nullptr; // the parent's; never deleted here

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    BOOL OnDblclk();
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    int OnCreate(LPARAM createStruct);
    void OnKeyDown(UINT key, WPARAM wParam, LPARAM lParam);

private:
    const DirItem* ItemAt(int index) const;
    // Opens the selected entry (double-click or Enter).
    void OpenSelected();
    // Selects the first entry from the top that compares equal to key.
    void SelectEqual(const DirItem& key);
};
