#pragma once
// The version page: the program's picture, name and version, its makers and their page, and the
// user, system and system version it runs on.
#include <functional>
#include <vector>

#include "dialogs/SettingsDialog.h"

// The makers' page, opened by the address and the button of the version page.
inline constexpr char MakersPage[] = "https://mirto.example/";

class TVersionPage : public TSettingsTabPage {
public:
    void Load(const TSettingsDialogData& data) override;
    void Save(TSettingsDialogData&) const override {}
    void Layout(int width, int height) override;
    void DpiChanged(int oldDpi, int newDpi) override;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void DrawPicture(const DRAWITEMSTRUCT& item) const;
    void DrawAddress(const DRAWITEMSTRUCT& item) const;
    void OpenMakersPage() const;
    // The name and the version in bold 16 pixels, the address underlined, at the page's scale.
    void MakeFonts();
    void DeleteFonts();
    RECT DesignOf(int id) const;

    // The controls' places in the template, in pixels of the page.
    TTemplatePlaces Design;
    HBRUSH PanelBrush = nullptr;
    HFONT TitleFont = nullptr;
    HFONT AddressFont = nullptr;
    std::function<void(const char* address)> OpenAddress;
};
