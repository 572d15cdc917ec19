// The directory list of the directory browser: the path of the shown
// directory as a small tree of open folders, one component per entry, then
// the directory's subdirectories as closed folders, sorted by name. The user
// opens an entry with a double-click or Enter; the list then tells its
// parent with a posted DLN_DIRCHANGED notification.
#pragma once

#include "dirpick/OwnerDrawnList.h"
#include "fw/ListBox.h"

#include <memory>
#include <string>
#include <vector>

// WM_COMMAND notification code: the list shows another directory.
constexpr UINT DLN_DIRCHANGED = 101;

// A search key's level: it matches an entry by name alone.
constexpr signed char ANY_LEVEL = -1; // 0xFF

// The record behind every entry.
struct DirItem {
    // A path component with its trailing backslash (the drive root: letter,
    // colon, backslash), or a subdirectory's name without one.
    std::string name;
    unsigned char isPathItem = 0; // 1: path component, 0: subdirectory
    signed char level = 0;        // path components 0, 1, 2...; subdirectories: their count
};

class DirListBox : public OwnerDrawnList<CListBox> {
public:
    // Creates the list window and fills it with initialDir (the current
    // directory when empty); posts DLN_DIRCHANGED once.
    bool Create(DWORD style, const RECT& rect, HWND parent, UINT id, const std::string& initialDir);

    int CompareItem(COMPAREITEMSTRUCT* compare) override;
    bool OnNotify(UINT code) override;

    // Shows a directory; when it cannot be read, asks Retry/Cancel and on
    // Cancel falls back to the directory shown before. Posts nothing.
    void SetDirectory(std::string path, bool redraw);
    // The shown directory, always ending in a backslash.
    std::string GetDirectory() const;
    // The full path of the selected entry, ending in a backslash; empty
    // when nothing is selected.
    std::string GetSelectedPath() const;
    // Rebuilds the list for path without asking anybody. False when not
    // even the path's first component or the directory listing could be
    // read. Leaves drawing suspended.
    bool FillDirectory(const std::string& path);

    // The comparison of the list, for its order and for finding an entry
    // again: by level, then by name as Polish sorts names, case ignored, on
    // every system alike; a key of ANY_LEVEL compares by name alone.
    static int CompareDirItems(const DirItem& a, const DirItem& b);

    // The directory last asked for, as it was asked for.
    std::string m_strDirectory;

protected:
    bool Describe(const DRAWITEMSTRUCT& draw, ItemLook& look) const override;
    void ApplyItemHeight() override { SetItemHeight(0, m_nItemHeight); }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    const DirItem* ItemAt(int index) const;
    // Appends an entry for every leading component of path that exists and
    // cuts path down to them. Returns the number of entries.
    int InsertPathItems(std::string& path);
    // Adds an entry that the list shows and this object owns.
    void AddItem(std::unique_ptr<DirItem> item);
    // Posts DLN_DIRCHANGED to the parent.
    void NotifyParent();
    // Opens the selected entry (double-click or Enter).
    void OpenSelected();
    // Selects the first entry from the top that compares equal to key.
    void SelectEqual(const DirItem& key);
    void OnKeyDown(UINT key, WPARAM wParam, LPARAM lParam);

    // The records behind the entries; the list holds pointers to them.
    std::vector<std::unique_ptr<DirItem>> m_items;
};
