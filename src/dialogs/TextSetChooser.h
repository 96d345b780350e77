#pragma once
// The text-set chooser ("クリップボード履歴選択"): the text sets of the text-set folder
// with the blank entry first; OK hands back the chosen set's file name (empty for the blank one).
#include <string>

#include "frame/Dialog.h"
#include "frame/StringList.h"

// Refills a list box with the text sets of a folder (the blank set first) and their file names,
// and selects the line of the remembered file name (the blank set when it is not listed).
void FillTextSetList(HWND list, const std::string& folder, TStringList& fileNames,
                     const std::string& remembered);

class TTextSetChooser : public TDialog {
public:
    // The set selected when the list is first filled, and on OK the chosen one (empty: none).
    std::string FileName;
    // The program's folder (with its trailing "\") and the text-set folder below it.
    std::string ProgramFolder;
    std::string ListDir;

    // Shows the chooser modally with its top left corner at the point; IDOK or IDCANCEL.
    INT_PTR Execute(HWND owner, int left, int top);
    // Refills the list and selects the set it showed before (at first: FileName).
    void Refresh();

    // The chooser's fixed size in pixels at 96 dots per inch; it shows at the owner's scale.
    static constexpr int Width = 320, Height = 400;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;
    void OnDpiChanged(int oldDpi, int newDpi) override;

private:
    void Layout();
    int Selected() const;

    TStringList FileNames;
    POINT At{};
};
