#pragma once
// The settings dialog's appearance pages: "フォント" (the menu font with a preview, above the
// input-method switches), "背景" (the skin, the skin's own settings window and the window's
// transparency, above the screen-saver key) and "表示位置" (where the menu shows).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "dialogs/AppearanceRules.h"
#include "dialogs/TabKeys.h"

class TFontPage : public TKeyPage {
public:
    ~TFontPage() override;
    void Load(const TSettingsDialogData& data) override;
    void Save(TSettingsDialogData& data) const override;
    void Layout(int width, int height) override;
    void DpiChanged(int oldDpi, int newDpi) override;
    void Shown() override;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void FillFontList();
    // Selects the loaded font's line (or its stand-in) in the listed families.
    void SelectFont();
    // Gives both labels the chosen font and centres them in the panel.
    void UpdatePreview();
    void CentrePreview() const;
    std::string SelectedFontName() const;

    HFONT ShiftJisFont = nullptr; // Label26's
    HFONT AnsiFont = nullptr;     // Label27's
    HBRUSH PanelBrush = nullptr;
    bool FontsListed = false;
    std::string LoadedFont;
};

class TBackgroundPage : public TKeyPage {
public:
    void Load(const TSettingsDialogData& data) override;
    void Save(TSettingsDialogData& data) const override;
    void Layout(int width, int height) override;

protected:
    bool OnInit() override;
    bool OnCommand(int id, int code, HWND control) override;

private:
    void FillSkinList(const std::string& currentSkin);
    // "詳細(&V)..." follows the selected line.
    void ApplySkinSelection() const;
    void OpenSkinSettings();
    void ApplyTransparencyEnabling() const;
    int TransparencyLevel() const;

    TSkinList Skins;
    std::string ProgramFolder;
    std::string SkinFolder;
    std::string SettingsPath;
    bool LayeredWindows = false;
    std::function<void(int level)> PreviewTransparency;
};

class TPositionPage : public TSettingsTabPage {
public:
    void Load(const TSettingsDialogData& data) override;
    void Save(TSettingsDialogData& data) const override;
    void Layout(int width, int height) override;
    void DpiChanged(int oldDpi, int newDpi) override;

protected:
    bool OnInit() override;

private:
    TTemplatePlaces Design;
};
