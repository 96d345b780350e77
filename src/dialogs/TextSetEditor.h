#pragma once
// The text-set editor ("クリップボード登録"): a title, a file name, 78 texts on three
// pages of 26 keys shown in a grid, and the history window with its two switches. The opener
// fills TTextSetEditorData; on OK the editor writes the file itself and hands the values back.
// For the blank entry it edits only the saved history's load switch.
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "dialogs/TextSetEdit.h"
#include "dialogs/DCGrid.h"
#include "frame/Dialog.h"

struct TTextSetEditorData {
    // Where the file is written, with its trailing "\".
    std::string Folder;
    std::string Title;
    // Without ".ini".
    std::string FileName;
    // An existing set keeps its file: the name is shown but cannot be edited.
    bool FixedFileName = false;
    // The blank entry: the file is "CHistory.ini" and only its load switch is edited and written.
    bool BlankEntry = false;
    TTextSetTexts Texts = TTextSetTexts(TextSetSize);
    bool History = false;
    TWindowFields Window;
    bool LoadHistory = false;
};

class TTextSetEditor : public TDialog {
public:
    explicit TTextSetEditor(TTextSetEditorData& data);
    ~TTextSetEditor() override;

    // IDOK when the file was written (the data then holds the values written), IDCANCEL when
    // nothing was.
    INT_PTR Execute(HWND owner);

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;
    void OnOK() override;
    void OnDpiChanged(int oldDpi, int newDpi) override;

private:
    int Page() const; // 0 .. 2
    int SelectedRow() const;
    int SelectedPosition() const { return SlotOfRow(Page(), SelectedRow()); }
    TWindowFields Fields() const;
    void SetFields(const TWindowFields& fields);

    void ShowPage();
    void ShowRow(int row);
    void SelectRow(int row);
    void LoadRow(int row);
    // Stores the text of Memo1 into the selected position when it was changed there.
    void CommitMemo();
    void EnableEntryButtons();
    void EnableWindowFields();
    void Redraw();

    void PopupEntryMenu(POINT screen, TLauncherEditMode mode);
    void EntryChosen(int target);
    void DeleteEntry();
    void PopupPageMenu(int button, TLauncherEditMode mode);
    void PageChosen(int page);
    void DeleteCurrentPage();

    bool CustomDraw(NMLVCUSTOMDRAW& draw, LRESULT& result);
    void Layout();
    void Refuse(const std::string& message, int focus);
    static LRESULT CALLBACK GridProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR self);

    TTextSetEditorData& Data;
    TTextSetTexts Texts;
    TDropCatchGrid Grid;
    int LoadedRow = 0;
    bool Loading = false;
    TLauncherEditMode EntryMode = TLauncherEditMode::Exchange;
    TLauncherEditMode PageMode = TLauncherEditMode::Exchange;
    HFONT ItalicFont = nullptr;
    HFONT StruckFont = nullptr;
};
